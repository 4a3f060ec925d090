// PLACEHOLDER: replaced by the MENU-page keys and the home field matrix.
#include "panel/menu/home_fields.h"

namespace {
void NoOpener() {}
}  // namespace

const MenuEntryFn g_HomeFieldEnterMatrix[kHomePanelRows][kOutputModes] = {
    {NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener},
    {NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener},
    {NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener},
    {NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener},
    {NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener},
    {NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener},
    {NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener},
    {NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener},
    {NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener},
    {NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener},
    {NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener},
    {NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener},
    {NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener},
    {NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener, NoOpener},
};

void KeyProcess_MenuPageKeys(uint32_t*) {}
