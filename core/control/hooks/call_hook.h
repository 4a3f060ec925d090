#pragma once
// A function pointer handed over by the composition root runs when it is set; one not set does nothing.

namespace core {
template <typename Fn, typename... Args>
void CallHook(Fn fn, Args... args) {
    if (fn != nullptr) fn(args...);
}
}  // namespace core
