#include "core/system/state/edit_state.h"

std::atomic<uint32_t> g_MenuState{1};  // the panel starts on the home screen
std::atomic<uint32_t> g_MenuPrevState{0};
panel::EditBuf g_EditBuf{0, 1.0f, 0.0, 0, {}, 0, 0, 0, 0};
panel::EditParam g_EditParam;
std::atomic<uint32_t> g_MenuResetWords[2]{};
std::atomic<uint32_t> g_DispResetWords[2]{};
HomePageWords g_HomePage{};
