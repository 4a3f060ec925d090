#pragma once
// The SEQUENCE screen's own words, shared by its keys (menu/control thread) and its page (GUI thread).
// The preparation stage itself (SeqPrepStage) is the engine's, so that the remote handlers see it.
#include <atomic>
#include <cstdint>

#include "engine/seqsim/seqsim_data.h"

// 0 from the SEQUENCE screen's entry until its page reached the download stage, then 1: the soft keys of
// the step index and the balance fields are taken only at 1.
extern std::atomic<uint32_t> SeqScreenReady;
