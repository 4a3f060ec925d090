#pragma once
// The home screen's setting fields, one row per edit state (8-89, the setting's parameter id): where the
// overlay shows the field, the hint line over it, the soft keys beside it, the settings-panel row it
// selects, how its digit cursor keeps its place and how it takes its keys. The overlay, the digit cursor,
// the panel-row follow and the home key handlers read it; a new home field is its row here.
#include <array>
#include <cstdint>

#include "core/params/param_store.h"
#include "panel/dialogs/limit_popups.h"

namespace panel::home {

inline constexpr uint32_t kHomeFieldFirst = kParamVoltLimit;  // 8
inline constexpr uint32_t kHomeFieldLast = kParamSyncPhase;   // 89
inline constexpr uint32_t kHomeFieldCount = kHomeFieldLast - kHomeFieldFirst + 1;

inline constexpr int8_t kNoCell = -1;
inline constexpr int8_t kNoPanelRow = -1;
inline constexpr LimitPopupId kNoPopup = kLimitPopupCount;

// The overlay's settings-panel cell that shows the field being edited, by wiring; kNoCell for none.
struct HomeCells {
    int8_t threeWire = kNoCell;  // 3P4W and 1P3W
    int8_t onePhase = kNoCell;   // 1P2W
};

// How a hint line fills its limits in: "%s ~ %s %s" takes the unit once at the end, "%s%s ~ %s%s" after
// each limit. An angle's whole-degree maximum shows as 359.0; the duty's band narrows with the frequency.
enum class HintLimits : uint8_t { kUnitOnce, kUnitEach, kAngle, kDuty };
struct HomeHint {
    const char* text = nullptr;   // a printf format when record is set; null: the state draws no hint
    ParamId record = kParamNone;  // whose minimum and maximum fill the text; kParamNone: a fixed text
    HintLimits limits = HintLimits::kUnitOnce;
};

// The soft-key column's faces (keys 1, 2, 3, 4; keys 5-7 are always blank, key 8 is blank but in kExit).
enum class SoftKeys : uint8_t {
    kNone,       // all blank
    kDefaults,   // DEF1, DEF2 (of the row's defaults record), MAX, MIN
    kLimits,     // -, -, MAX, MIN
    kRange,      // AUTO, -, 200V, 100V
    kIpkLimit,   // IPK limit on/off, -, MAX, MIN; key 8 repainted on every pass
    kIrmsLimit,  // IRMS limit on/off, IPK CLR, MAX, MIN
    kFixedFree,  // FIXED/FREE of the angle, -, MAX, MIN greyed while FREE
    kBalance,    // all blank; repainted with the angle's cell when the balance mode or the relock changes
    kExit,       // key 8 EXIT
};

// How the field takes its keys (the home key handlers, screens/output/keys).
enum class Field : uint8_t {
    kNone,     // a handler of its own (the measurement items), or no edit state
    kNumeric,  // the generic field operations with the state as the setting's id
    kKind,     // a kind selector: the enter key opens the limit of the kind chosen
    kRange,    // the range soft keys
    kChoice,   // a working value applied on the enter key
    kDuty,     // the duty: the generic knob, its own enter key
};
// The message of a value held at a limit.
enum class Limited : uint8_t { kNone, kVoltage, kFrequency };
// Angles that take their keys only while switched on (the on/off word of the ON angle's, the OFF angle's
// or the L1 angle's record); the L1 angle takes no knob at all.
enum class Gate : uint8_t { kNone, kOnAngle, kOffAngle, kBalance };
enum class Choice : uint8_t { kNone, kWave, kLineView, kMode, kSig, kSrc };

struct HomeFieldKeys {
    Field field = Field::kNone;
    Limited limited = Limited::kNone;
    Gate gate = Gate::kNone;
    Choice choice = Choice::kNone;
    int8_t knobSign = 1;     // the knob turned up raises (+1) or lowers (-1) a choice
    bool freqFirst = false;  // the frequencies are held within their limits before every key
};

struct HomeFieldRow {
    uint32_t state;
    HomeCells cells{};
    LimitPopupId popup = kNoPopup;  // the limit popup shown instead of a cell
    HomeHint hint{};                // with no cell and no popup, a hint alone shows the hint line
    SoftKeys softKeys = SoftKeys::kNone;
    ParamId defaults = kParamNone;  // the record whose DEF1/DEF2 the kDefaults keys show
    int8_t panelRow = kNoPanelRow;  // the settings-panel row the field selects
    // Five-digit values keep full resolution: the digit cursor stays when the value crosses 10000.
    bool keepsFiveDigits = false;
    HomeFieldKeys keys{};
};

namespace rows {
using enum SoftKeys;
using enum HintLimits;
inline constexpr const char* kQuickFreq = "Quick Freq (%s ~ %s %s): ";
inline constexpr const char* kWaveShape = "Wave Shape (ARB1-16|SIN|SQU|TRI|ARB17-ARB253): ";
inline constexpr const char* kQuickAcv = "Quick ACV (%s ~ %s %s): ";
inline constexpr const char* kQuickDcv = "Quick DCV (%s ~ %s %s): ";
inline constexpr const char* kQuickIrms = "Quick Irms (%s ~ %s %s): ";
inline constexpr const char* kQuickOn = "Quick ON Phase (%s%s ~ %s%s): ";
inline constexpr const char* kQuickOff = "Quick OFF Phase (%s%s ~ %s%s): ";
inline constexpr const char* kQuickGain = "Quick Gain (%s ~ %s): ";
inline constexpr const char* kExtSource = "External Source(L1 - L3 External)";

constexpr HomeFieldKeys kFreqKeys{
    .field = Field::kNumeric, .limited = Limited::kFrequency, .freqFirst = true};
constexpr HomeFieldKeys kNumber{.field = Field::kNumeric};
constexpr HomeFieldKeys kWave{.field = Field::kChoice, .choice = Choice::kWave};
constexpr HomeFieldKeys kDutyKeys{.field = Field::kDuty};
constexpr HomeFieldKeys kVoltKeys{.field = Field::kNumeric, .limited = Limited::kVoltage};
constexpr HomeFieldKeys kOnAngle{.field = Field::kNumeric, .gate = Gate::kOnAngle};
constexpr HomeFieldKeys kOffAngle{.field = Field::kNumeric, .gate = Gate::kOffAngle};
constexpr HomeFieldKeys kSig{.field = Field::kChoice, .choice = Choice::kSig};
constexpr HomeFieldKeys kSrc{.field = Field::kChoice, .choice = Choice::kSrc};

inline constexpr HomeFieldRow kHomeFieldRows[kHomeFieldCount] = {
    {.state = kParamVoltLimit,
     .popup = kPopVoltLimit,
     .softKeys = kLimits,
     .keepsFiveDigits = true,
     .keys = {.field = Field::kNumeric}},
    {.state = kParamVpkKind, .popup = kPopVpkKind, .softKeys = kExit, .keys = {.field = Field::kKind}},
    {.state = kParamVpkMax,
     .popup = kPopVpkHi,
     .softKeys = kLimits,
     .keepsFiveDigits = true,
     .keys = {.field = Field::kNumeric}},
    {.state = kParamVpkMin,
     .popup = kPopVpkLo,
     .softKeys = kLimits,
     .keepsFiveDigits = true,
     .keys = {.field = Field::kNumeric}},
    {.state = kParamFreq,
     .cells = {4, 4},
     .hint = {kQuickFreq, kParamFreq},
     .softKeys = kDefaults,
     .defaults = kParamFreq,
     .panelRow = 4,
     .keepsFiveDigits = true,
     .keys = kFreqKeys},
    {.state = kParamFreq + 1, .keys = kFreqKeys},
    {.state = kParamFreq + 2, .keys = kFreqKeys},
    {.state = kParamFreqLimitKind, .popup = kPopFreqKind, .softKeys = kExit, .keys = {.field = Field::kKind}},
    {.state = kParamFreqLimitHi,
     .popup = kPopFreqHi,
     .softKeys = kLimits,
     .keepsFiveDigits = true,
     .keys = kNumber},
    {.state = kParamFreqLimitHi + 1, .keys = kNumber},
    {.state = kParamFreqLimitHi + 2, .keys = kNumber},
    {.state = kParamFreqLimitLo,
     .popup = kPopFreqLo,
     .softKeys = kLimits,
     .keepsFiveDigits = true,
     .keys = kNumber},
    {.state = kParamFreqLimitLo + 1, .keys = kNumber},
    {.state = kParamFreqLimitLo + 2, .keys = kNumber},
    {.state = kParamVoltRange,
     .hint = {"Voltage Range : %s ~ %s %s", kParamVoltLimit},
     .softKeys = kRange,
     .keys = {.field = Field::kRange}},
    {.state = kParamIpkKind, .popup = kPopIpkKind, .softKeys = kExit, .keys = {.field = Field::kKind}},
    {.state = kParamIpkMax,
     .popup = kPopIpkHi,
     .softKeys = kIpkLimit,
     .keepsFiveDigits = true,
     .keys = kNumber},
    {.state = kParamIpkMax + 1, .keys = kNumber},
    {.state = kParamIpkMax + 2, .keys = kNumber},
    {.state = kParamIpkMin,
     .popup = kPopIpkLo,
     .softKeys = kIpkLimit,
     .keepsFiveDigits = true,
     .keys = kNumber},
    {.state = kParamIpkMin + 1, .keys = kNumber},
    {.state = kParamIpkMin + 2, .keys = kNumber},
    {.state = kParamWaveShape, .cells = {2, 8}, .hint = {kWaveShape}, .panelRow = 8, .keys = kWave},
    {.state = kParamWaveShape + 1, .keys = kWave},
    {.state = kParamWaveShape + 2, .keys = kWave},
    {.state = kParamWaveShape2, .cells = {3, 9}, .hint = {kWaveShape}, .panelRow = 9, .keys = kWave},
    {.state = kParamWaveDuty,
     .cells = {2, 8},
     .hint = {"Duty(%s ~ %s)", kParamWaveDuty, kDuty},
     .panelRow = 9,
     .keys = kDutyKeys},
    {.state = kParamWaveDuty + 1, .keys = kDutyKeys},
    {.state = kParamWaveDuty + 2, .keys = kDutyKeys},
    {.state = kParamWaveDutyAll, .cells = {3, 9}, .panelRow = 10, .keys = kDutyKeys},
    // The measurement items take their keys from handlers of their own.
    {.state = kParamMeasItem1},
    {.state = kParamMeasItem1 + 1},
    {.state = kParamMeasItem1 + 2},
    {.state = kParamMeasItem1 + 3},
    {.state = kParamMeasItem1 + 4},
    {.state = kParamMeasItem1 + 5},
    {.state = kParamMeasItem7},
    {.state = kParamPhaseMode,
     .cells = {0, 0},
     .hint = {"PHASE: "},
     .panelRow = 0,
     .keys = {.field = Field::kChoice, .choice = Choice::kLineView, .knobSign = -1}},
    {.state = kParamMainMode,
     .cells = {1, 1},
     .hint = {"Output Mode: "},
     .panelRow = 1,
     .keys = {.field = Field::kChoice, .choice = Choice::kMode, .knobSign = -1}},
    {.state = kParamAcv,
     .cells = {2, 2},
     .hint = {kQuickAcv, kParamAcv},
     .softKeys = kDefaults,
     .defaults = kParamAcv,
     .panelRow = 2,
     .keys = kVoltKeys},
    {.state = kParamAcv + 1, .keys = kVoltKeys},
    {.state = kParamAcv + 2, .keys = kVoltKeys},
    // One phase has no line values: the line voltages have no cell there.
    {.state = kParamAcvLine,
     .cells = {2, kNoCell},
     .softKeys = kDefaults,
     .defaults = kParamAcv,
     .keys = kVoltKeys},
    {.state = kParamDcv,
     .cells = {2, 2},
     .hint = {kQuickDcv, kParamDcv},
     .softKeys = kDefaults,
     .defaults = kParamDcv2,
     .panelRow = 2,
     .keys = kVoltKeys},
    {.state = kParamDcv + 1, .keys = kVoltKeys},
    {.state = kParamDcv + 2, .keys = kVoltKeys},
    {.state = kParamDcv2,
     .cells = {3, 3},
     .hint = {kQuickDcv, kParamDcv2},
     .softKeys = kDefaults,
     .defaults = kParamDcv2,
     .panelRow = 3,
     .keys = kVoltKeys},
    {.state = kParamDcv2 + 1, .keys = kVoltKeys},
    {.state = kParamDcv2 + 2, .keys = kVoltKeys},
    {.state = kParamDcvLine,
     .cells = {3, kNoCell},
     .softKeys = kDefaults,
     .defaults = kParamDcv2,
     .panelRow = 3,
     .keys = kVoltKeys},
    {.state = kParamCurrLimit,
     .cells = {3, 3},
     .hint = {kQuickIrms, kParamCurrLimit},
     .softKeys = kIrmsLimit,
     .panelRow = 3,
     .keys = kNumber},
    {.state = kParamCurrLimit + 1, .keys = kNumber},
    {.state = kParamCurrLimit + 2, .keys = kNumber},
    {.state = kParamCurrLimit2,
     .cells = {5, 5},
     .hint = {kQuickIrms, kParamCurrLimit2},
     .softKeys = kIrmsLimit,
     .panelRow = 5,
     .keys = kNumber},
    {.state = kParamCurrLimit2 + 1, .keys = kNumber},
    {.state = kParamCurrLimit2 + 2, .keys = kNumber},
    {.state = kParamOnPhase,
     .cells = {0, 6},
     .hint = {kQuickOn, kParamOnPhase, kAngle},
     .softKeys = kFixedFree,
     .panelRow = 6,
     .keys = kOnAngle},
    {.state = kParamOnPhase + 1, .keys = kOnAngle},
    {.state = kParamOnPhase + 2, .keys = kOnAngle},
    {.state = kParamOnPhaseAll,
     .cells = {1, 7},
     .hint = {kQuickOn, kParamOnPhaseAll, kAngle},
     .softKeys = kFixedFree,
     .panelRow = 7,
     .keys = kOnAngle},
    {.state = kParamOffPhase,
     .cells = {1, 7},
     .hint = {kQuickOff, kParamOffPhase, kAngle},
     .softKeys = kFixedFree,
     .panelRow = 7,
     .keys = kOffAngle},
    {.state = kParamOffPhase + 1, .keys = kOffAngle},
    {.state = kParamOffPhase + 2, .keys = kOffAngle},
    {.state = kParamOffPhaseAll,
     .cells = {2, 8},
     .hint = {kQuickOff, kParamOffPhaseAll, kAngle},
     .softKeys = kFixedFree,
     .panelRow = 8,
     .keys = kOffAngle},
    {.state = kParamBalance, .keys = {.field = Field::kNumeric, .gate = Gate::kBalance}},
    {.state = kParamBalance2,
     .cells = {4, 10},
     .hint = {"L1 - L2 (%s%s ~ %s%s):", kParamBalance2, kUnitEach},
     .softKeys = kBalance,
     .panelRow = 11,
     .keys = kNumber},
    {.state = kParamBalance3,
     .cells = {5, 11},
     .hint = {"L1 - L3 (%s%s ~ %s%s):", kParamBalance3, kUnitEach},
     .softKeys = kBalance,
     .panelRow = 12,
     .keys = kNumber},
    {.state = kParamGain,
     .cells = {2, 2},
     .hint = {kQuickGain, kParamGain},
     .softKeys = kDefaults,
     .defaults = kParamGain,
     .panelRow = 2,
     .keys = kNumber},
    {.state = kParamGain + 1, .keys = kNumber},
    {.state = kParamGain + 2, .keys = kNumber},
    {.state = kParamGain2,
     .cells = {0, 6},
     .hint = {kQuickGain, kParamGain2},
     .softKeys = kDefaults,
     .defaults = kParamGain2,
     .panelRow = 6,
     .keys = kNumber},
    {.state = kParamGain2 + 1, .keys = kNumber},
    {.state = kParamGain2 + 2, .keys = kNumber},
    {.state = kParamMainSig,
     .cells = {4, 4},
     .hint = {"SIG Mode (L1 LINE ~ EXT): "},
     .panelRow = 4,
     .keys = kSig},
    {.state = kParamMainSig + 1, .keys = kSig},
    {.state = kParamMainSig + 2, .keys = kSig},
    {.state = kParamMainSrc, .cells = {4, 4}, .hint = {kExtSource}, .panelRow = 4, .keys = kSrc},
    {.state = kParamMainSrc + 1, .keys = kSrc},
    {.state = kParamMainSrc + 2, .keys = kSrc},
    {.state = kParamMainSrc + 3, .cells = {4, 10}, .hint = {kExtSource}, .panelRow = 11, .keys = kSrc},
    {.state = kParamMainSrc + 4, .cells = {3, 9}, .hint = {kExtSource}, .panelRow = 10, .keys = kSrc},
    {.state = kParamSyncPhase,
     .cells = {3, 9},
     .hint = {"Sync Phase (%s%s ~ %s%s): ", kParamSyncPhase, kAngle},
     .softKeys = kLimits,
     .panelRow = 10,
     .keys = kNumber},
};
}  // namespace rows

using rows::kHomeFieldRows;

constexpr bool RowsInStateOrder() {
    for (uint32_t i = 0; i < kHomeFieldCount; ++i)
        if (kHomeFieldRows[i].state != kHomeFieldFirst + i) return false;
    return true;
}
static_assert(RowsInStateOrder(), "one row per home state, in state order");

// The row of a home state; null outside 8-89.
constexpr const HomeFieldRow* HomeFieldOf(uint32_t state) {
    if (state < kHomeFieldFirst || state > kHomeFieldLast) return nullptr;
    return &kHomeFieldRows[state - kHomeFieldFirst];
}

}  // namespace panel::home
