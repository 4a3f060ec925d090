#pragma once
// The shared edit words as the SIMULATE field editors use them: the working value being edited, the
// saved (reference) value the state entry loaded with it, the previous value the digit cursor was last
// placed for (the edit copy's start value, which the digit-band rules compare with), the digit cursor
// and the keypad entry.
#include <cstdint>

#include "core/system/state/edit_state.h"

namespace simedit {

inline int32_t Work() {
    return g_EditParam.workValue.load(std::memory_order_relaxed);
}
inline void SetWork(int32_t v) {
    g_EditParam.workValue.store(v, std::memory_order_relaxed);
}
inline int32_t Saved() {
    return static_cast<int32_t>(g_EditBuf.startChoiceValue);
}
inline void SetSaved(int32_t v) {
    g_EditBuf.startChoiceValue = static_cast<uint32_t>(v);
}
inline int32_t Previous() {
    return g_EditParam.startValue;
}
inline void SetPrevious(int32_t v) {
    g_EditParam.startValue = v;
}
inline uint32_t Cursor() {
    return g_EditParam.cursor;
}
inline void SetCursor(uint32_t c) {
    g_EditParam.cursor = c;
}
inline bool EntryPending() {
    return g_EditBuf.entryState != 0;
}
inline double TypedNumber() {
    return g_EditBuf.entryValue;
}

}  // namespace simedit
