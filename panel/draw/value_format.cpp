#include "panel/draw/value_format.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "core/system/state/edit_state.h"
#include "core/system/util/format_number.h"

namespace {

void CopyCut(char* out, size_t size, const char* text) {
    const size_t n = std::min(std::strlen(text), size - 1);
    std::memcpy(out, text, n);
    out[n] = '\0';
}

}  // namespace

int FormatScaledValue(int mode, int32_t value, char* out, size_t size, int decimals, float scale,
                      const char* unit) {
    if (out == nullptr || size == 0) return 1;
    const int64_t magnitude = value < 0 ? -int64_t{value} : int64_t{value};
    int fewer = 0;
    if (magnitude >= 1000000) {
        value = value / 100 * 100;
        fewer = 2;
    } else if (magnitude >= 100000) {
        value = value / 10 * 10;
        fewer = 1;
    }
    // A count taken below 0 would print five decimals (FormatNumber's "other" count).
    if (decimals >= 0) decimals = std::max(0, decimals - fewer);
    char text[kNumberTextSize];
    const int plus = (mode == 1 || mode == 3) ? 1 : 0;
    const char* shownUnit = (mode == 2 || mode == 3) ? unit : nullptr;
    FormatNumber(plus, text, decimals, shownUnit, static_cast<float>(value) * scale);
    CopyCut(out, size, text);
    return 0;
}

int StrCopyUpper(char* out, const char* text, int n) {
    int i = 0;
    for (; i < n && text[i] != '\0'; ++i)
        out[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
    out[i] = '\0';
    return n;
}

void CopyEntryText(char* out, size_t size) {
    if (out == nullptr || size == 0) return;
    char text[sizeof g_EditBuf.entryText + 1];
    const size_t length = std::min<size_t>(g_EditShown.buf.entryLength, sizeof g_EditBuf.entryText);
    std::memcpy(text, g_EditShown.buf.entryText, length);
    text[length] = '\0';
    CopyCut(out, size, text);
}

bool EntryInProgress() {
    return g_EditShown.buf.entryState != 0;
}
