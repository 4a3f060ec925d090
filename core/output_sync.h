#pragma once
// The comparison of the output settings with the values last applied per phase, and the words it shares
// with the control task.
#include <atomic>
#include <cstdint>

// Set at the end of every synchronisation pass; cleared by the control task while SEQ/SIM is active.
extern std::atomic<uint32_t> g_SyncFirstPassDone;
// 1: recompute the slew value (set on a phase-mode change and when parallel operation is switched off).
extern std::atomic<uint32_t> g_SlewRecheckReq;

// One synchronisation pass; called only by the control task's periodic pass outside SEQ/SIM.
void SyncOutputSettings();
