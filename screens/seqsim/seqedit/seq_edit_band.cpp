#include "screens/seqsim/seqedit/seq_edit_band.h"

#include "core/system/state/edit_state.h"

int32_t g_SeqEditPrevValue = 0;

namespace {

constexpr int32_t kTwoDecimalsTop = 9999, kOneDecimalTop = 99999;

bool Within(int32_t v, int32_t low, int32_t high) {
    return v >= low && v <= high;
}

// Integer division truncates towards 0, as the shown digits do.
int32_t Tens(int32_t v) {
    return v / 10 * 10;
}

SeqEditBand Up(int32_t value, uint32_t cursor, int32_t top) {
    const uint32_t next = static_cast<int64_t>(cursor) < top ? cursor + 1 : cursor;
    return {Tens(value), next};
}

SeqEditBand Down(int32_t value, uint32_t cursor) {
    return {Tens(value), cursor > 0 ? cursor - 1 : 0};
}

void Apply(SeqEditBand b) {
    g_EditParam.workValue.store(b.value, std::memory_order_relaxed);
    g_EditParam.cursor = b.cursor;
}

}  // namespace

SeqEditBand SeqEditVoltBand(int32_t previous, int32_t value, uint32_t cursor, int32_t top) {
    const bool prevOneDecimal = Within(previous, kTwoDecimalsTop + 1, kOneDecimalTop);
    const bool prevTwoDecimals = Within(previous, -kTwoDecimalsTop, kTwoDecimalsTop);
    if (prevOneDecimal && Within(value, 0, kTwoDecimalsTop)) return Up(value, cursor, top);
    if (prevOneDecimal && value > kOneDecimalTop) return Down(value, cursor);
    if (prevTwoDecimals && !Within(value, -kTwoDecimalsTop, kTwoDecimalsTop)) return Down(value, cursor);
    if (previous < -kTwoDecimalsTop && Within(value, -kTwoDecimalsTop, 0)) return Up(value, cursor, top);
    if (previous > kOneDecimalTop && value <= kOneDecimalTop) return Up(value, cursor, top);
    return {value, cursor};
}

SeqEditBand SeqEditFsetBand(int32_t previous, int32_t value, uint32_t cursor, int32_t digits) {
    if (Within(previous, -kTwoDecimalsTop, kOneDecimalTop) && value > kOneDecimalTop)
        return Down(value, cursor);
    if (previous > kOneDecimalTop && value <= kOneDecimalTop) return Up(value, cursor, digits);
    return {value, cursor};
}

void SeqEdit_AdjustDigitBand(int32_t top) {
    Apply(SeqEditVoltBand(g_SeqEditPrevValue, g_EditParam.workValue.load(std::memory_order_relaxed),
                          g_EditParam.cursor, top));
}

void SeqEdit_AdjustFsetDigitBand(int32_t digits) {
    Apply(SeqEditFsetBand(g_SeqEditPrevValue, g_EditParam.workValue.load(std::memory_order_relaxed),
                          g_EditParam.cursor, digits));
}
