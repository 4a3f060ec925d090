#pragma once
// The SEQUENCE screen's own words, shared by its keys (menu/control thread) and its page (GUI thread).
#include <atomic>
#include <cstdint>

// Preparation stage of the SEQUENCE screen: 0 asked for, 1-4 counted by the page once per tick, 5 download
// now, 6 prepared (idle).
inline constexpr uint32_t kSeqPrepRequested = 0;
inline constexpr uint32_t kSeqPrepDownload = 5;
inline constexpr uint32_t kSeqPrepIdle = 6;
extern std::atomic<uint32_t> SeqPrepStage;
// 0 from the SEQUENCE screen's entry until its page reached the download stage, then 1: the soft keys of
// the step index and the balance fields are taken only at 1.
extern std::atomic<uint32_t> SeqScreenReady;
