#pragma once
// The parameter store: every output setting of the instrument as a ParamRec, per unit (L1, L2, L3 and the
// LINE unit), output mode, range area and, for the voltages, waveform. It is one process-wide block, built
// from the default tables (SetDefaultAll, ParamTableInit) and reached through paramAccess / paramGetRecord /
// paramPutRecord by parameter id, the menu-state number of the setting's edit state.
#include <atomic>
#include <cstdint>
#include <mutex>

#include "core/params/param_ranges.h"
#include "core/params/param_rec.h"
#include "core/system/state/menu_state_ids.h"

// Parameter ids: a setting's id is the number of the front-panel state in which it is edited. A per-phase
// setting has three ids in a row, L1, L2, L3 (kParamAcv + phase), and some have a second triple, the edit
// states of the panel's other view, which address the same records. A setting of a MENU list page has two
// ids, its list row and its edit state (the row's id + 1), which also address one record: they are the
// states' names (enum MenuState), so a row's state and its setting's id cannot part.
enum ParamId : int32_t {
    kParamNone = 0,  // no setting
    kParamVoltLimit = 8,
    kParamVpkKind = 9,
    kParamVpkMax = 10,
    kParamVpkMin = 11,
    kParamFreq = 12,  // 12-14
    kParamFreqLimitKind = 15,
    kParamFreqLimitHi = 16,  // 16-18
    kParamFreqLimitLo = 19,  // 19-21
    kParamVoltRange = 22,
    kParamIpkKind = 23,
    kParamIpkMax = 24,     // 24-26
    kParamIpkMin = 27,     // 27-29
    kParamWaveShape = 30,  // 30-32
    kParamWaveShape2 = 33,
    kParamWaveDuty = 34,  // 34-36
    kParamWaveDutyAll = 37,
    kParamMeasItem1 = 38,  // the measurement view's items 1-7: 38-44
    kParamMeasItem7 = 44,  // its record also holds the voltage view: 0 PHASE, 1 LINE
    kParamPhaseMode = 45,
    kParamMainMode = 46,
    kParamAcv = 47,  // 47-49
    kParamAcvLine = 50,
    kParamDcv = 51,   // 51-53
    kParamDcv2 = 54,  // 54-56
    kParamDcvLine = 57,
    kParamCurrLimit = 58,   // rms current limit, 58-60
    kParamCurrLimit2 = 61,  // 61-63
    kParamOnPhase = 64,     // 64-66
    kParamOnPhaseAll = 67,
    kParamOffPhase = 68,  // 68-70
    kParamOffPhaseAll = 71,
    kParamBalance = 72,  // phase angle of L1
    kParamBalance2 = 73,
    kParamBalance3 = 74,
    kParamGain = 75,     // 75-77
    kParamGain2 = 78,    // 78-80
    kParamMainSig = 81,  // 81-83
    kParamMainSrc = 84,  // 84-88
    kParamSyncPhase = 89,
    kParamIrmsLimitMode = 90,
    kParamIpkLimitMode = 91,  // 91-93
    kParamPeakHoldTimeRow = kMenuIpkHold,
    kParamPeakHoldTime = kMenuIpkHoldEdit,
    kParamBalanceModeRow = kMenuPhaseMode,
    kParamBalanceMode = kMenuPhaseModeEdit,
    kParamPeakClearItemRow = kMenuIpkhClr,
    kParamPeakClearItem = kMenuIpkhClrEdit,
    kParamPowerOnStateRow = kMenuPowerOn,
    kParamPowerOnState = kMenuPowerOnEdit,
    kParamBuzzerRow = kMenuBuzzer,
    kParamBuzzer = kMenuBuzzerEdit,
    kParamRemoteSenseRow = kMenuRemoteSense,
    kParamRemoteSense = kMenuRemoteSenseEdit,
    kParamSlewRateRow = kMenuSlewRate,
    kParamSlewRate = kMenuSlewRateEdit,
    kParamOutputRelayRow = kMenuOutputRelay,
    kParamOutputRelay = kMenuOutputRelayEdit,
    kParamHarmModeRow = kMenuHarmMode,
    kParamHarmMode = kMenuHarmModeEdit,
    kParamExtControlRow = kMenuExtControl,
    kParamExtControl = kMenuExtControlEdit,
    kParamAcvUnitRow = kMenuAcvUnit,
    kParamAcvUnit = kMenuAcvUnitEdit,
    kParamPhaseSetChangeRow = kMenuSetChangePhase,
    kParamPhaseSetChange = kMenuSetChangePhaseEdit,
    kParamMonitorSource1Row = kMenuMonitorSource1,
    kParamMonitorSource1 = kMenuMonitorSource1Edit,
    kParamMonitorSource2Row = kMenuMonitorSource2,
    kParamMonitorSource2 = kMenuMonitorSource2Edit,
    kParamMonitorAmpRow = kMenuMonitorAmp,
    kParamMonitorAmp = kMenuMonitorAmpEdit,
    kParamTrigWidthRow = kMenuTriggerWidth,
    kParamTrigWidth = kMenuTriggerWidthEdit,
    kParamTrigSourceRow = kMenuTriggerSource,
    kParamTrigSource = kMenuTriggerSourceEdit,
    kParamRelockRow = kMenuRelock,
    kParamRelock = kMenuRelockEdit,
    kParamAvgCountRow = kMenuAvgCount,
    kParamAvgCount = kMenuAvgCountEdit,
    kParamUpdateRateRow = kMenuUpdateRate,
    kParamUpdateRate = kMenuUpdateRateEdit,
    kParamOutputImpedanceRow = kMenuImpedanceOn,
    kParamOutputImpedance = kMenuImpedanceOnEdit,
    kParamInductanceL1Row = kMenuL1Inductance,
    kParamInductanceL1 = kMenuL1InductanceEdit,
    kParamInductanceL2Row = kMenuL2Inductance,
    kParamInductanceL2 = kMenuL2InductanceEdit,
    kParamInductanceL3Row = kMenuL3Inductance,
    kParamInductanceL3 = kMenuL3InductanceEdit,
    kParamResistanceL1Row = kMenuL1Resistance,
    kParamResistanceL1 = kMenuL1ResistanceEdit,
    kParamResistanceL2Row = kMenuL2Resistance,
    kParamResistanceL2 = kMenuL2ResistanceEdit,
    kParamResistanceL3Row = kMenuL3Resistance,
    kParamResistanceL3 = kMenuL3ResistanceEdit,
    kParamParallelPositionRow = kMenuParallelPosition,
    kParamParallelPosition = kMenuParallelPositionEdit,
    kParamParallelNumberRow = kMenuParallelNumber,
    kParamParallelNumber = kMenuParallelNumberEdit,
    kParamParallelEnableRow = kMenuParallelEnable,
    kParamParallelEnable = kMenuParallelEnableEdit,
};

namespace core {

inline constexpr uint32_t kUnits = 4;  // 0..2 phases L1..L3, 3 the LINE unit (ids 50 and 57 only)
inline constexpr uint32_t kLineUnit = 3;
inline constexpr uint32_t kPhases = 3;
inline constexpr uint32_t kMeasItems = 7;  // ids 38..44

// The voltage-class settings of one range area.
struct ParamVoltArea {
    ParamRec acv[2][kWaveforms];  // [record set: 0 rms, 1 Vpp][waveform]
    ParamRec dcv[2][kWaveforms];
    ParamRec voltLimit[2];  // [record set]
    ParamRec vpkMax;
    ParamRec vpkMin;
    ParamRec gain;
    ParamRec sig;
    ParamRec src;
};

// The current limits of one range variant.
struct ParamCurrArea {
    ParamRec irms;
    ParamRec ipkMax;
    ParamRec ipkMin;
};

struct ParamModeBlock {
    ParamVoltArea volt[kVoltAreas];
    ParamCurrArea curr[kRangeVariants];
    ParamRec freq;
    ParamRec freqHi;
    ParamRec freqLo;
    ParamRec onPhase;
    ParamRec offPhase;
    ParamRec phaseAngle[3];     // L1, L2, L3 (unit 0 only)
    ParamRec syncPhase;         // unit 0 only
    ParamRec meas[kMeasItems];  // unit 0 only
};

struct ParamUnit {
    ParamModeBlock mode[kModes];
    ParamRec waveform;      // ids 30-33
    ParamRec ipkLimitMode;  // ids 91-93
    ParamRec duty;          // ids 34-37
    uint32_t moduleClass;   // power-module class read back by the last default setting
    uint32_t fwVersion;     // power-module firmware version read back by the last default setting
};

// Records of which the instrument has one, in the order of their ids.
enum ParamGlobal : uint32_t {
    kGlbIrmsLimitMode,     // 90
    kGlbPeakHoldTime,      // 96/97
    kGlbBalanceMode,       // 100/101
    kGlbPeakClearItem,     // 102/103
    kGlbPowerOnState,      // 104/105
    kGlbBuzzer,            // 106/107
    kGlbRemoteSense,       // 108/109
    kGlbSlewRate,          // 110/111
    kGlbOutputRelay,       // 112/113
    kGlbHarmMode,          // 114/115
    kGlbExtControl,        // 116/117
    kGlbAcvUnit,           // 118/119
    kGlbPhaseSetChange,    // 120/121
    kGlbMonitorSrc1,       // 122/123
    kGlbMonitorSrc2,       // 124/125
    kGlbMonitorAmp,        // 126/127
    kGlbTrigWidth,         // 128/129
    kGlbTrigSource,        // 130/131
    kGlbRelock,            // 132/133
    kGlbAvgCount,          // 134/135
    kGlbUpdateRate,        // 136/137
    kGlbOutputImpedance,   // 193/194
    kGlbInductanceL1,      // 195/196
    kGlbInductanceL2,      // 197/198
    kGlbInductanceL3,      // 199/200
    kGlbResistanceL1,      // 201/202
    kGlbResistanceL2,      // 203/204
    kGlbResistanceL3,      // 205/206
    kGlbParallelPosition,  // 208/209
    kGlbParallelNumber,    // 210/211
    kGlbParallelEnable,    // 212/213
    kGlbCount
};

inline constexpr uint32_t kCaliPoints = 6;

struct ParamStore {
    ParamUnit unit[kUnits];
    std::atomic<uint32_t> rangeCode[kModes];  // voltage range code of each output mode
    float waveFactor[kWaveforms];             // peak factor of each waveform number
    ParamRec global[kGlbCount];
    ParamRec caliVolt[kCaliPoints];  // voltage calibration points
    ParamRec caliCurr[kCaliPoints];  // current calibration points
    ParamRec spare;                  // shared by every id without a record of its own
};

// Guards the record copies of the accessors and the builders, so that a reader on another thread never
// gets a record that is half old and half new.
extern std::mutex g_ParamLock;

// The global record of an id (also the second id of a pair), or -1.
int GlobalIndexOfId(uint32_t id);

// Bits of g_ParamFlags.
enum ParamFlagBit : uint32_t {
    kFlagVpkKind = 1u << 0,         // id 9
    kFlagIpkKind = 1u << 1,         // id 23
    kFlagSyncMissing = 1u << 2,     // synchronisation source missing
    kFlagMeterHold = 1u << 3,       // measurement readings frozen
    kFlagPresetMode = 1u << 4,      // the PRESET key's mode
    kFlagKeysLocked = 1u << 5,      // front-panel keys locked
    kFlagShiftLatched = 1u << 6,    // SHIFT pressed, waiting for the key it shifts
    kFlagFactoryAccess = 1u << 7,   // the factory password was given (ZCALib); nothing clears it
    kFlagFreqLimitKind = 1u << 8,   // id 15
    kFlagPresetRecalled = 1u << 9,  // a preset was recalled or saved since the last setting key
    kFlagHarmActive = 1u << 10,     // the harmonic task captures: AC-INT outside SEQ/SIM with the output on
};

// The id's record for an explicit place, or nullptr for a unit above 3 or a range variant above 7 where the
// id uses it. Caller holds g_ParamLock. No record-set switch and no side effects. paramAccessByUnit names
// its voltage records by such a place too.
struct ParamPlace {
    uint32_t mode = 0;      // 0..9
    uint32_t area = 0;      // voltage area 0..1
    uint32_t variant = 0;   // range variant (any value; checked where used)
    uint32_t waveform = 0;  // 0..255
    uint32_t set = 0;       // 0 rms, 1 Vpp (the voltage records and the voltage limit)
    uint32_t unit = 0;      // any value; checked
};
ParamRec* ParamLocate(uint32_t id, const ParamPlace& place);

// A place as paramAccess takes it, named as the settings name it: the range code gives the area of the
// voltage settings, the variant the area of the current settings, and the unit's waveform with the AC
// voltage unit the record set.
struct RangePlace {
    uint32_t mode = 0;      // above 9 taken as 9
    uint32_t rangeCode = 0;
    uint32_t waveform = 0;  // low 16 bits; above 255 taken as 255, 0 in DC-INT
    uint32_t variant = 0;   // low 16 bits; 0..7 where the id uses it
    uint32_t unit = 0;      // checked
};

// Mirror of the power-stage output status word (register 2085), kept by the control task: bit 0 output on,
// bit 1 the AUTO range is in its high variant.
extern std::atomic<uint32_t> g_OutputStatusMirror;

// The range code of the current output mode.
uint32_t CurrentRangeCode();

// The flag word, the output mode, the range codes and the status mirror back to their start values; the
// records stay as the last build left them (tests).
// Tests start each case from a clean state through it.
void ParamStoreReset();

}  // namespace core

extern core::ParamStore g_ParamStore;
// The flag word of the store (bits: core::ParamFlagBit) and the current output mode.
extern std::atomic<uint32_t> g_ParamFlags;
extern std::atomic<uint32_t> g_OutputModeIdx;

// What an access at an explicit place does with the caller's record: fills it from the store, or stores it.
enum class Access : uint32_t { kRead, kWrite };

// Accessors. They return 0, or -1 when the unit is above 3 or a range variant above 7 is needed: then
// nothing is written and a read gives an all-zero record.
int paramAccess(Access op, uint32_t id, ParamRec* record, const core::RangePlace& place);
// The id's record at the current place of the unit (the current mode, its range code and the unit's
// waveform): copied out, or in whole.
int paramGetRecord(uint32_t id, ParamRec* record, uint32_t unit);
int paramPutRecord(uint32_t id, const ParamRec* record, uint32_t unit);
// The record's value (0 when there is no record).
int32_t paramGetValue(uint32_t id, uint32_t unit);
// Replace one word of the record under one hold of the lock, so that the others, written meanwhile by
// another thread, are kept. 0, or -1 when refused. The state word takes only 0 or 1 (another state replaces
// nothing).
int paramPutValue(uint32_t id, int32_t value, uint32_t unit);
int paramPutState(uint32_t id, int32_t state, uint32_t unit);
int paramPutMax(uint32_t id, int32_t max, uint32_t unit);
int paramPutMin(uint32_t id, int32_t min, uint32_t unit);
// Clamps the record's value into [min, max] under one hold of the lock and returns the value kept (0 when
// there is no record): a value written meanwhile by another thread within the bounds is left as it is.
int32_t paramClampValue(uint32_t id, int32_t max, int32_t min, uint32_t unit);
// A voltage record (ids 47-49, 51-56), the voltage limit or a peak limit at a place named by its area and
// record set, without the automatic set switch: any area other than 0 is area 1, set 1 is the Vpp set (the
// DC voltages of DC-INT have the rms set only), the variant is not used. Other ids reach the spare record.
int paramAccessByUnit(Access op, uint32_t id, ParamRec* record, const core::ParamPlace& place);
