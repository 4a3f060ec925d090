// The ranges a received preset record must keep: fixed for the 8-bit fields and the phase angles, from
// the present model's default tables for the voltages, frequencies, currents and gains.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "core/params/defaults/param_defaults.h"
#include "core/params/presets/preset_store.h"
#include "core/params/settings/angle_bounds.h"
#include "core/system/config/model_table.h"
#include "storage/files/preset_file.h"

namespace {

using core::ParamTableId;

struct Range {
    int32_t def, min, max;
};

constexpr uint32_t kAcModeCount = 6;
constexpr uint32_t kDcModeCount = 4;

// Bytes 0-59 except the measurement items (37-43), whose ranges follow the record's output mode.
struct ByteRange {
    uint8_t first, last;
    Range range;
};
constexpr ByteRange kByteRanges[] = {
    {0, 0, {0, 0, 9}},   {1, 1, {16, 0, 255}}, {2, 3, {1, 0, 1}},   {4, 12, {0, 0, 7}},  {13, 16, {0, 0, 3}},
    {17, 28, {1, 0, 1}}, {29, 29, {0, 0, 1}},  {30, 30, {0, 0, 3}}, {31, 31, {1, 0, 1}}, {32, 32, {0, 0, 1}},
    {33, 33, {1, 0, 2}}, {34, 34, {1, 0, 1}},  {35, 36, {0, 0, 1}}, {44, 44, {0, 0, 4}}, {45, 46, {1, 0, 1}},
    {47, 47, {0, 0, 2}}, {48, 59, {1, 0, 1}},
};

Range Row(const ParamDefaultRow& r, int64_t factor = 1) {
    auto scale = [factor](int32_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v * factor, INT32_MIN, INT32_MAX));
    };
    return {scale(r.value), scale(r.min), scale(r.max)};
}
Range Table(ParamTableId t, uint32_t row, int64_t factor = 1) {
    return Row(core::kParamDefaultTables[t].rows[row], factor);
}

// The word ranges, words 21-114 in order.
struct WordRanges {
    Range at[115];
};

WordRanges BuildWordRanges(const uint8_t* record) {
    WordRanges w{};
    const uint32_t modelClass = g_ModelClass.load() < core::kCurrModelClasses ? g_ModelClass.load() : 0;
    const ParamDefaultRow* freq =
        IsParallelSystem(g_ModelId.load()) ? core::kFreqRowsParallel : core::kFreqRowsSingle;
    const uint8_t code = record[kPresetParallelCode];
    const int64_t factor = code > 10 ? code - 10 : 1;
    const bool oneWire = record[kPresetPhaseMode] == 1;
    for (uint32_t a = 0; a < 2; ++a) {
        for (uint32_t i = 0; i < kAcModeCount; ++i) {
            w.at[21 + 2 * i + a] = Table(core::kTabAcv, core::VoltRow(0, a));
            w.at[89 + 2 * i + a] = Table(core::kTabAcv, core::VoltRow(1, a));
        }
        for (uint32_t i = 0; i < kDcModeCount; ++i) {
            w.at[33 + 2 * i + a] = Table(core::kTabDcv, a);
            w.at[101 + 2 * i + a] = Table(core::kTabDcv, a);
        }
        w.at[41 + a] = Table(core::kTabVoltLimit, core::VoltRow(0, a));
        w.at[87 + a] = Table(core::kTabVoltLimit, core::VoltRow(1, a));
        w.at[43 + a] = Table(core::kTabVpkMax, a);
        w.at[45 + a] = Table(core::kTabVpkMin, a);
        for (uint32_t i = 0; i < 4; ++i)
            w.at[79 + 2 * i + a] = Table(core::kTabGain, a);
        w.at[110 + a] = Table(core::kTabGain, a);
        w.at[51 + a] = Row(freq[core::kFreqHi + a]);
        w.at[53 + a] = Row(freq[core::kFreqLo + a]);
    }
    // Frequencies of output modes 0, 1, 5, 6: classes 0, 1, 0, 1.
    for (uint32_t i = 0; i < 4; ++i)
        w.at[47 + i] = Row(freq[core::kFreqValue + i % 2]);
    for (uint32_t v = 0; v < 4; ++v) {
        const uint32_t irmsVariant = (oneWire ? 2 : 0) + v % 2;
        w.at[55 + v] = Table(core::kTabIrms, core::CurrRow(modelClass, irmsVariant), factor);
        w.at[59 + v] = Table(core::kTabIpkMax, core::CurrRow(modelClass, v), factor);
        w.at[63 + v] = Table(core::kTabIpkMin, core::CurrRow(modelClass, v), factor);
    }
    for (uint32_t k = 67; k <= 78; ++k)
        w.at[k] = {0, 0, settings::kAngleMax};
    w.at[109] = {1, 1, 60000};
    w.at[112] = {5000, 1500, 200000};
    w.at[113] = w.at[114] = {0, 0, settings::kAngleMax};
    return w;
}

bool Outside(int32_t v, const Range& r) {
    return v < r.min || v > r.max;
}

}  // namespace

int32_t PresetRecordCheck(uint8_t* record, int32_t repair) {
    if (record == nullptr) return 1;
    auto checkByte = [&](uint32_t at, const Range& r) {
        // Bytes count as signed, except the waveform number, whose range needs all eight bits.
        const int32_t v = r.max > INT8_MAX ? record[at] : static_cast<int8_t>(record[at]);
        if (!Outside(v, r)) return true;
        if (repair == 0) return false;
        record[at] = static_cast<uint8_t>(r.def);
        return true;
    };
    for (const ByteRange& b : kByteRanges) {
        for (uint32_t at = b.first; at <= b.last; ++at)
            if (!checkByte(at, b.range)) return 1;
        if (b.last == 36) {
            // The measurement items of the record's output mode (byte 0, already held in range).
            const uint32_t first = core::MeasGroupOfMode(record[kPresetOutputMode]) * 7;
            for (uint32_t i = 0; i < 7; ++i)
                if (!checkByte(37 + i, Row(core::kMeasRows[first + i]))) return 1;
        }
    }
    const WordRanges w = BuildWordRanges(record);
    for (uint32_t k = 21; k <= 114; ++k) {
        const int32_t v = PresetWordGet(record, k);
        if (!Outside(v, w.at[k])) continue;
        if (repair == 0) return 1;
        PresetWordPut(record, k, w.at[k].def);
    }
    return 0;
}
