#include "screens/menu/editors/lan_octet.h"

#include <cstring>

#include "core/system/state/edit_state.h"
#include "drivers/panel_link.h"
#include "screens/menu/editors/typed_number.h"

OctetEdit g_OctetEdit;

namespace {
constexpr int32_t kOctetMax = 255;
constexpr uint32_t kPointTyped = 1u << 1;
constexpr uint32_t kKeyCountShift = 10;  // the entry's key count lives in bits 10-31

bool PointAlone() {
    return (g_EditBuf.entryState >> kKeyCountShift) == 1 && g_EditBuf.entryLength == 2 &&
           std::memcmp(g_EditBuf.entryText, "0.", 2) == 0;
}
}  // namespace

int NumInputToOctet(uint8_t code, uint8_t* octet) {
    if (code == kKeyPoint && PointAlone()) return 0;
    if (g_EditBuf.entryLength > 0 && (g_EditBuf.entryText[0] == '-' || g_EditBuf.entryText[0] == '+'))
        return 0;
    int32_t value = 0;
    if (!TypedWholeWithin(0, kOctetMax, &value)) return 0;
    *octet = static_cast<uint8_t>(value);
    g_OctetEdit.changed = 1;
    return 1;
}

void OctetEntryLimit() {
    if (g_EditBuf.entryValue < kOctetMax + 1) return;
    // The entry reads "255" from now on, as if typed so: a point typed before is gone with the digits.
    std::memset(g_EditBuf.entryText, 0, sizeof g_EditBuf.entryText);
    std::memcpy(g_EditBuf.entryText, "255", 3);
    g_EditBuf.entryLength = 3;
    g_EditBuf.entryValue = kOctetMax;
    g_EditBuf.entryScale = 1.0f;
    g_EditBuf.entryState &= ~kPointTyped;
}
