#include "core/system/util/format_number.h"

#include <cstdio>

namespace {
constexpr const char* kPlain[] = {"%1.0f", "%1.1f", "%1.2f", "%1.3f", "%1.4f", "%1.5f"};
constexpr const char* kPlus[] = {"+%1.0f", "+%1.1f", "+%1.2f", "+%1.3f", "+%1.4f", "+%1.5f"};
constexpr int kOtherDecimals = 5;
}  // namespace

int FormatNumber(int plus, char* out, int decimals, const char* unit, float value) {
    if (out == nullptr) return 1;
    if (decimals < 0 || decimals > 4) decimals = kOtherDecimals;
    const char* format = kPlain[decimals];
    if (plus == 1 && static_cast<double>(value) > -0.005) {
        // A small negative that would print as -0.00 shows as +0.00.
        if (value < 0.0f) value = 0.0f;
        format = kPlus[decimals];
    }
    const int n = std::snprintf(out, kNumberTextSize, format, static_cast<double>(value));
    if (unit != nullptr && n >= 0 && static_cast<size_t>(n) < kNumberTextSize - 1)
        std::snprintf(out + n, kNumberTextSize - static_cast<size_t>(n), " %s", unit);
    return 0;
}
