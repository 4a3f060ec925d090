#pragma once
// What the settings panel writes beside and into its rows: the label of each item code and the names of
// the choice settings it shows. The waveform, SIG and SRC names are the overlay's (panel/overlay), which
// shows the same settings while they are edited; the hint formats live with the overlay's hint line, their
// one reader.
#include <array>
#include <cstdint>

#include "panel/menu/panel_items.h"

namespace home {

// Labels by item (the empty rows kItemFiller and kItemEnd have none); 0xF2 is the font's angle sign.
inline constexpr std::array<const char*, kLabelledItems> SettingsLabelTable = {
    "PHASE", "MODE", "ACV",  "DCV",  "FREQ", "IRMS",    "I",          "ON Phs",     "OFF Phs", "GAIN",
    "SIG",   "TEST", "TEST", "Wave", "duty", "Balance", "L1 \xF2 L2", "L1 \xF2 L3", "SRC",     "Syc Phs",
};

inline constexpr std::array<const char*, 10> kOutputModeNames = {
    "AC+DC-INT", "AC-INT", "DC-INT",     "AC+DC-EXT", "AC-EXT",
    "AC+DC-ADD", "AC-ADD", "AC+DC-Sync", "AC-Sync",   "AC-VCA",
};
inline constexpr std::array<const char*, 3> kLineNames = {"L1", "L2", "L3"};
inline constexpr std::array<const char*, 2> kViewNames = {"Phase", "Line"};

// The entry of a name table, or "" for a number outside it.
template <size_t N>
constexpr const char* NameOf(const std::array<const char*, N>& table, int32_t n) {
    return n >= 0 && static_cast<size_t>(n) < N ? table[static_cast<size_t>(n)] : "";
}

constexpr const char* SettingsLabelOf(PanelItem code) {
    return NameOf(SettingsLabelTable, code);
}

}  // namespace home
