#pragma once
// The SEQUENCE and SIMULATE data shared by the whole engine: step records and tables, the run block, the
// register images of a step's flags, the memory names and the SEQ/SIM mode word. Process-wide static data,
// read directly by the front panel and the remote handlers.
//
// Units: voltages 0.01 V (DCV signed), frequency 0.01 Hz, angles 0.1 degree (0-3599), time 0.1 ms, duty
// 0.1 %. Waveform codes in steps are one-based (kWaveCodeSin ..., platform/stage/wave_numbers.h); the
// parameter store takes code - 1.
#include <atomic>
#include <cstdint>
#include <mutex>

#include "platform/stage/wave_numbers.h"

inline constexpr int kSeqSteps = 1000;
inline constexpr int kSeqTables = 6;  // AC+DC 200V, AC+DC 100V, AC 200V, AC 100V, DC 200V, DC 100V
inline constexpr int kSeqSlices = 4;  // L1, L2, L3 and a slice for phase index 3 that files do not keep
inline constexpr int kSimSets = 2;    // 0 the 200V set, 1 the 100V set
inline constexpr int kSimSlots = 7;   // states 0-5 and the record that stands for index 6 (no state)
inline constexpr int kSimNoState = 6;
inline constexpr int kSeqSimNameLen = 20;

enum SimStateIndex : uint32_t { kSimInitial, kSimNormal1, kSimTrans1, kSimAbnormal, kSimTrans2, kSimNormal2 };
enum SeqTypeCode : uint32_t { kTypeCT, kTypeKP, kTypeSP };
enum SeqTermCode : uint32_t { kTermConti, kTermEnd, kTermHold };

// Bits of word 0 of a SEQ step.
enum SeqFlagBits : uint32_t {
    kSeqAcvTypeShift = 0,
    kSeqDcvTypeShift = 3,
    kSeqFsetTypeShift = 6,
    kSeqEnOnPhase = 1u << 9,
    kSeqEnOffPhase = 1u << 10,
    kSeqEnJumpto = 1u << 11,
    kSeqEnBranch1 = 1u << 12,
    kSeqEnBranch2 = 1u << 13,
    kSeqTermShift = 14,
};

// One SEQUENCE step of one phase. Step-global words (termination, jump and branch bits of flags, time,
// Jump To to L3 angle) are kept in the L1 record only.
struct SeqStepRecord {
    uint32_t flags;
    uint32_t acv;  // Vrms
    int32_t dcv;
    uint32_t fset;
    uint32_t wave;  // 1..256
    uint32_t duty;
    uint32_t time;  // 1..99999999
    uint32_t onPhase;
    uint32_t offPhase;
    uint32_t jumpTo;   // 0..999
    uint32_t jumpCnt;  // 0..9999, 0 without end
    uint32_t syncCode;
    uint32_t branch1;
    uint32_t branch2;
    uint32_t angleL2;
    uint32_t angleL3;
    uint32_t acvVpp;  // used instead of acv when the step's ACV is held in Vpp
};
static_assert(sizeof(SeqStepRecord) == 17 * 4);

// Bits of word 0 of a SIM state.
enum SimFlagBits : uint32_t {
    kSimEnOnPhase = 1u << 0,
    kSimEnOffPhase = 1u << 1,
    kSimEnRepeat = 1u << 2,  // "Normal 2" only
    kSimSkip = 1u << 5,      // "Normal 1", "Abnormal": the following transition has time 0
};

// One SIMULATE state of one phase.
struct SimStepRecord {
    uint32_t flags;
    uint32_t acv;
    uint32_t freq;
    uint32_t wave;  // 17 in valid data
    uint32_t time;
    uint32_t onPhase;
    uint32_t offPhase;
    uint32_t repeat;  // "Normal 2" only
    uint32_t syncCode;
    uint32_t angleL2;  // as entered; the download sends the wiring's fixed angle
    uint32_t angleL3;
    uint32_t acvVpp;
    uint32_t reserved;
};
static_assert(sizeof(SimStepRecord) == 13 * 4);

using SeqSlice = SeqStepRecord[kSeqSteps];
using SimSlice = SimStepRecord[kSimSlots];
extern SeqStepRecord g_SeqStepTable[kSeqTables][kSeqSlices][kSeqSteps];
extern SimStepRecord g_SimStepTable[kSimSets][kSeqSlices][kSimSlots];

// Run word: bits 1-8 engine kind, bits 9-24 run state.
enum SeqSimEngineKind : uint32_t { kEngineSeq = 1, kEngineSim = 2 };
enum SeqSimRunState : uint32_t {
    kRunPrepare = 1,
    kRunReady = 4,
    kRunStop = 8,
    kRunPause = 16,
    kRunReset = 128
};
// Bits of the run block's flags byte.
enum SeqSimRunFlag : uint8_t {
    kRunFlagRunning = 1u << 1,
    kRunFlagPaused = 1u << 2,
    kRunFlagBranch1 = 1u << 5,
    kRunFlagBranch2 = 1u << 6
};
// Bits of the live enables.
enum SeqSimLiveEnable : uint8_t {
    kLiveEnOn = 1u << 1,
    kLiveEnOff = 1u << 2,
    kLiveEnJumpto = 1u << 3,
    kLiveEnBranch1 = 1u << 4,
    kLiveEnBranch2 = 1u << 5
};
inline constexpr uint8_t kSimOptRepeat = 1u << 3;  // SIM options: repeat enable; bits 1-2 the range

struct SeqSavedConfig {
    uint32_t kind;         // output kind 0 AC+DC, 1 AC, 2 DC
    uint32_t range;        // 0 100V, 1 200V
    uint32_t acvUnit;      // 0 Vrms, 1 Vpp
    uint32_t wiring;       // 0 3P4W, 1 1P2W, 2 1P3W
    uint32_t factors[16];  // per phase slice: factor x 1000 of ARB1-ARB16
};
struct SimSavedConfig {
    uint32_t range;
    uint32_t acvUnit;
    uint32_t wiring;
};

// The engine run block, one copy per phase slice. Engine-wide fields live in the L1 copy. The words that
// the runner thread and the bus's step source read while the menu/control thread changes them are atomic.
struct SeqSimBlock {
    std::atomic<uint32_t> runWord{0};
    std::atomic<uint8_t> flags{0};
    std::atomic<uint8_t> dirty{0};
    // The front panel's words (SeqPanelFlagBits, SeqPrepBits, SeqNoticeBits), read by the SEQ/SIM
    // screen on the GUI thread.
    std::atomic<uint8_t> panelFlags{0};
    std::atomic<uint8_t> prepFlags{0};
    std::atomic<uint8_t> notices{0};
    std::atomic<uint32_t> previewTraceMask{0};  // bits 0-2: the L1-L3 traces a preview draws
    std::atomic<const SeqStepRecord*> runStep{nullptr};  // L1 record of the step being run (SEQ)
    // Live values: the last value sent to the power stage.
    uint32_t liveTime = 0, liveJumpto = 0, liveJumpCnt = 0, liveBranch1 = 0, liveBranch2 = 0, liveSync = 0;
    uint32_t liveOnPhase = 0, liveOffPhase = 0, liveFset = 0, liveAcv = 0, liveWave = 0, liveDuty = 0;
    int32_t liveDcv = 0;
    uint32_t liveAngleL2 = 0, liveAngleL3 = 0;
    uint32_t liveModes = 0;  // bits 0-2 ACV type, 3-5 DCV type, 6-8 Fset type, 14-16 termination
    uint8_t liveEnables = 0;
    uint8_t simOptions = 0;
    std::atomic<uint32_t> curStep{0};  // SEQ 0..999, SIM 0..6
    uint32_t seqSaveSlot = 0, seqRecallSlot = 0, simSaveSlot = 0, simRecallSlot = 0;
    std::atomic<uint32_t> jumpCounter{0};
    std::atomic<uint32_t> runHours{0}, runMinutes{0}, runSeconds{0};
    uint32_t stepBeforeRun = 0;
    std::atomic<uint32_t> panelState{0};  // a menu-state number stored for the SIM front panel
    std::atomic<uint32_t> kindChanged{0};
    SeqStepRecord* seqTable[3] = {};  // this slice of the active table of kinds AC+DC, AC, DC
    SimStepRecord* simSet = nullptr;  // this slice of the active SIM set
    SeqSavedConfig seqSaved{};
    SimSavedConfig simSaved{};
    std::atomic<uint32_t> stepBase{0};  // nonzero only while the SEQ download runs
    uint32_t invalid = 0;               // a SEQ file failed its step validation
};
extern SeqSimBlock g_SeqSimBlock[kSeqSlices];
// Guards the saved configurations (seqSaved, simSaved) and the invalid marker of every slice: a remote
// PRESent query captures and saves them on its channel thread while the menu/control thread reads and
// writes them. Held (storage::ImageHold, bounded) by every capture, save, load, import and sync, and taken
// before a file image lock; recursive, because a recall holds it around a load that holds it again.
extern std::recursive_mutex g_SeqSimSavedLock;
// Guards the step tables (g_SeqStepTable, g_SimStepTable) and every slice's table pointers (seqTable,
// simSet): the runner thread selects, validates (limiting a parallel frequency in place) and points at them
// in SeqSimRunControl while the menu/control thread edits and selects them for set commands and panel keys.
// Held (storage::ImageHold, bounded) by the runner for each SeqSimRunControl pass and by the menu/control
// thread around each set command and key dispatch; taken before g_SeqSimSavedLock and the file image locks,
// and never held while waiting for the other thread. Recursive, so that a holder may step the run control.
extern std::recursive_mutex g_SeqSimTableLock;
// The runner skips a pass it could not lock within this and tries on its next tick; the menu/control thread
// waits up to storage::kImageWaitMs (a runner pass may wait that long for g_SeqSimSavedLock).
inline constexpr int kSeqSimRunnerTableWaitMs = 10;
// The saved configurations copied under that lock (all zero when the wait ran out).
SeqSavedConfig SeqSavedConfigCopy();
SimSavedConfig SimSavedConfigCopy();

// Per phase L1-L3: the control word of step register 769 + phase (types one-hot, waveform, ON/OFF fixed).
enum SeqSimCtrlBits : uint32_t {
    kCtrlDcvShift = 0,
    kCtrlAcvShift = 3,
    kCtrlWaveShift = 6,
    kCtrlWaveMask = 0x1FFu << 6,
    kCtrlFsetShift = 15,
    kCtrlOnFixed = 1u << 18,
    kCtrlOffFixed = 1u << 19,
};
extern uint32_t g_SeqSimOutCtrl[3];
// Image of step register 768.
enum SeqSimStatusBits : uint16_t {
    kStatSyncMask = 3,
    kStatJump = 1u << 2,
    kStatConti = 1u << 3,
    kStatHold = 1u << 4,
    kStatEnd = 1u << 5,
    kStatTermMask = 7u << 3,
    kStatBranch1 = 1u << 6,
    kStatBranch2 = 1u << 7,
};
extern uint16_t g_SeqSimStatusShadow;

extern char g_SeqMemName[10][kSeqSimNameLen];
extern char g_SimMemName[10][kSeqSimNameLen];

// The SEQ/SIM mode word, enum SeqSimModeWord (engine/seqsim/seqsim_mode_word.h).
extern std::atomic<uint32_t> g_SeqSimMode;

// Read-back bookkeeping and data-invalid indicators (0 valid, 1 recalled data out of range, 2 the tables
// failed validation on entry).
struct SeqSimErrors {
    std::atomic<int32_t> seqCount{0}, seqStep{0}, simCount{0}, simStep{0};
    std::atomic<uint32_t> seqInvalid{0}, simInvalid{0};
};
extern SeqSimErrors g_SeqSimErrors;

// The SEQ/SIM screen words the engine relies on: the remote step-0 permission word (1 while a run is in
// progress and the remote step selection chose step 0).
struct SeqSimScreen {
    std::atomic<uint32_t> remoteStep0{0};
    std::atomic<uint32_t> redraw{0};  // SeqSimRedraw bits raised by a restored output configuration
    // Field-value repaint requests raised by the panel's state entries and field handlers; the screen
    // repaints the field values when either is set and clears them.
    std::atomic<uint32_t> fieldRedraw[2]{};
    // Raised when the step shown changes between an ACV held in Vpp and one in Vrms; the screen repaints
    // the voltage fields and clears it.
    std::atomic<uint32_t> acvUnitRedraw{0};
};
enum SeqSimRedraw : uint32_t { kRedrawWiring = 1, kRedrawMode = 2, kRedrawRange = 4, kRedrawUnit = 8 };
extern SeqSimScreen g_SeqSimScreen;
// Non-zero: a SIM preparation (download) is asked for; set by the SIM page's entry and by a SIM recall
// (panel or remote) and by the entry itself, so that a remote client sees it pending from the entry on and
// the states are downloaded even when the page takes its time; cleared when the page is hidden and by the
// preparation step.
extern std::atomic<uint32_t> SimPrepRequest;
// Preparation stage of the SEQUENCE screen: 0 asked for (by a recall or the page), 1-4 counted by the
// page once per tick, 5 download now, 6 prepared (idle). kSeqPrepEntered: the entry has asked for it and the
// page, once it shows, turns it into 0; until then no "Sequence preparation..." is held, since a held popup
// would keep the page from showing.
inline constexpr uint32_t kSeqPrepRequested = 0;
inline constexpr uint32_t kSeqPrepDownload = 5;
inline constexpr uint32_t kSeqPrepIdle = 6;
inline constexpr uint32_t kSeqPrepEntered = 7;
extern std::atomic<uint32_t> SeqPrepStage;

// Bits of the panel flags: the SEQ/SIM memory pages open, an ACV field selected.
enum SeqPanelFlagBits : uint8_t {
    kSeqPanelRecallOpen = 1u << 1,
    kSeqPanelSaveOpen = 1u << 2,
    kSeqPanelAcvSelected = 1u << 3
};
// Bits of the preparation flags: a SEQ/SIM change is pending (the system is busy), switch the output on
// when the preparation ends.
enum SeqPrepBits : uint8_t { kSeqPrepChangePending = 1u << 1, kSeqPrepOutputOn = 1u << 2 };
// Bits of the notices: a recall or a save was done (the screen repaints its memory list).
enum SeqNoticeBits : uint8_t { kSeqNoticeRecalled = 1u << 1, kSeqNoticeSaved = 1u << 2 };

// The phase selected for remote SEQ editing and for remote SIM editing (0 L1, 1 L2, 2 L3).
extern std::atomic<uint32_t> g_SeqSimRemoteSel[2];

// The six SEQ tables in order: kind (0 AC+DC, 1 AC, 2 DC) x 2 + (0 for 200V, 1 for 100V).
inline int SeqTableIndex(uint32_t kind, uint32_t range) {
    return static_cast<int>(kind) * 2 + (range == 0 ? 1 : 0);
}

namespace engine {
// Everything back to its start-up state: tables, run block, images, names, mode, errors (tests).
// Tests start each case from a clean state through it.
void SeqSimDataReset();
}  // namespace engine
