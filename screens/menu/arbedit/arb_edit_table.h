#pragma once
// The waveform builder editor's parameters: one row per edit/view state pair (edit state E, view state
// E + 1) with the builder's getter and setter, the knob range, the digit count, how a typed number
// becomes the stored integer and what Enter marks; and the rows each waveform type shows, top to bottom.
#include <cstdint>

#include "core/system/state/menu_state_ids.h"

namespace arbedit {

inline constexpr uint32_t kFirstEdit = kMenuArbTriangleEdit, kLastView = kMenuArbType;
inline constexpr uint32_t kTypeEdit = kMenuArbTypeEdit, kTypeView = kMenuArbType,
                          kArbNoEdit = kMenuArbArbNoEdit, kArbNoView = kMenuArbArbNo;
inline constexpr uint32_t kKeepRmsEdit = kMenuArbClipKeepRmsEdit, kKeepRmsView = kMenuArbClipKeepRms,
                          kClipView = kMenuArbClip;
inline constexpr int32_t kTypeCount = 31;
inline constexpr int kMaxRows = 10;  // the type row, eight LF-ring rows and ARB NO.

// How the knob range is found.
enum class Range : uint8_t {
    kFixed,      // lo..hi of the row
    kDipStart,   // 1 .. DIP sweep - 1
    kDipSweep,   // DIP start + 1 .. DIP end - 1
    kDipEnd,     // DIP sweep + 1 .. 3599
    kRingStart,  // 1 .. LF-ring end - 1
    kRingEnd,    // LF-ring start + 1 .. 3599
    kAcvRecord,  // the L1 AC-voltage record's default limits, which the builder's setter checks
};

// How a typed number x becomes the stored integer (truncated toward zero).
enum class Keypad : uint8_t {
    kNone,         // the row takes no typed number
    kUnits,        // x
    kTenths,       // (x + 0.05) x 10
    kHundredths,   // (x + 0.005) x 100
    kThousandths,  // (x +/- 0.0005) x 1000, the offset taking the sign of x
};

// The handler variant of the edit state.
enum class Variant : uint8_t {
    kNumeric,
    kRippleLevel,  // soft keys 1-4 load presets; soft key 8 stays
    kArbNo,        // no build mark, no preview
    kLfRingAcv,    // cursor keys and knob by class 4 only, exit and enter by class 1 only
    kType,
    kSdMode,
    kKeepRms,
    kRippleTimes,
};

// How the value is shown.
enum class Format : uint8_t {
    kPercent,      // "%d%%"
    kInteger,      // "%d"
    kHundredths,   // "%.2f" of v / 100
    kTenths,       // "%.1f" of v / 10
    kThousandths,  // "%.3f" of v / 1000
    kTypeName,
    kSdModeName,
    kRippleTimesName,
};

inline constexpr uint8_t kBuild = 1, kPreview = 2;

struct ParamRow {
    uint16_t edit;
    const char* label;
    int32_t (*get)();
    int32_t (*set)(int32_t);
    Range range;
    int32_t lo, hi;  // with Range::kFixed
    int8_t digits;   // 0: a choice (the knob steps by one)
    Keypad keypad;
    uint8_t accept;  // kBuild | kPreview
    Variant variant;
    Format format;
};

// The row of an edit or view state 495..544, null for any other state.
const ParamRow* RowOf(uint32_t state);
// The knob range of a row now (neighbour values are read at each call).
void KnobRange(const ParamRow& row, int32_t* lo, int32_t* hi);
// The digit count of a row (the AC-voltage record's for the LF-ring ACV).
int32_t DigitsOf(const ParamRow& row);
// A typed number converted as the row says; false when the result does not fit in 32 bits.
bool TypedValue(const ParamRow& row, double typed, int32_t* out);

// The view states of a type's rows, top to bottom (row 0 the type, the last ARB NO.); the count, or 0
// for a type outside 0..30.
int RowsOfType(int32_t type, const uint16_t** views);

// Type names (31) and the choice names.
const char* TypeName(int32_t type);
const char* SdModeName(int32_t mode);
const char* RippleTimesName(int32_t code);

}  // namespace arbedit
