#pragma once
// The comparison of the output settings with the values last applied per phase (the output shadow), and
// the words it shares with the control task, the panel and the preset recall.
//
// Wholesale changes (wiring, output mode, range, a recalled preset) rewrite every output register; after
// them a settling pass brings every phase into agreement. Otherwise one change of a fixed priority chain is
// written per pass, plus the frequency. A second settled pass that finds nothing to write reports the
// system ready.
#include <atomic>
#include <cstdint>

// 1: rewrite every output register on the next pass (panel preset recall); cleared by the rewrite.
extern std::atomic<uint32_t> g_FullRewriteReq;
// 1: re-evaluate the balance mode (preset recalls); cleared at the end of every pass.
extern std::atomic<uint32_t> g_BalanceRecheckReq;
// 1 while a remote preset recall runs: every pass then begins with a 200 ms pause.
extern std::atomic<uint32_t> g_RemoteRecallBusy;
// Set at the end of every synchronisation pass; cleared by the control task while SEQ/SIM is active.
extern std::atomic<uint32_t> g_SyncFirstPassDone;
// 1 once the settling pass after a rewrite has written its values; while 1 a settling pass only takes
// the values into the shadow.
extern std::atomic<uint32_t> g_SettleWritesDone;
// 1: recompute the slew value (set on a phase-mode change and when parallel operation is switched off).
extern std::atomic<uint32_t> g_SlewRecheckReq;
// Set to 1 when a new phase mode has been written (read by the output screens).
extern std::atomic<uint32_t> g_PhaseModeChanged;

// One synchronisation pass; called only by the control task's periodic pass outside SEQ/SIM. True when
// the pass found every setting taken up and wrote nothing.
bool SyncOutputSettings();
// After a synchronisation pass, its parts that find everything taken up, as core::NotePartsTakenUp counts
// them: bit i for link i of the change chain, bit kSyncRestPart for the rest (a settled output of the
// unit, wiring, mode, range and balance applied, no rewrite asked, the frequency taken). Off the settled
// state none is; the bits above kSyncRestPart are not the synchronisation's and are set.
uint64_t SyncPartsTakenUp();
inline constexpr unsigned kSyncRestPart = 62;

namespace core {

// The voltage slew value last sent to the power stage (register 2343); 0 at start, also set by the service
// tuning page.
extern std::atomic<uint32_t> g_VoltSlewWord;

// The request and progress words back to their start values: the next pass rewrites everything (tests).
// Tests start each case from a clean state through it.
void OutputSyncReset();

// The slew value of a slew selection (parameter 111) for the hardware revision, model type, wiring and
// parallel operation; a selection or model the table does not know keeps `previous`.
uint32_t SlewValueFor(int32_t selection, uint32_t revision, uint32_t modelType, uint32_t phaseMode,
                      bool parallelActive, uint32_t previous);

}  // namespace core
