#include "core/params/access/key_entry.h"

#include <cstring>

#include "core/system/state/edit_state.h"

uint32_t menuResetEdit() {
    g_EditBuf.enteredInt = 0;
    g_EditBuf.entryValue = 0.0;
    g_EditBuf.entryScale = 1.0f;
    g_EditBuf.entryState = 0;
    std::memset(g_EditBuf.entryText, 0, sizeof g_EditBuf.entryText);
    g_EditBuf.entryLength = 0;
    return 0;
}
