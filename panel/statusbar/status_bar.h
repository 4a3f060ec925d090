#pragma once
// The status bar across the top of the home and simple output screens: fourteen cells (preset or output
// state, load level, range, instrument-wide indicators, wiring, network, key lock) that draw themselves
// from the instrument state when the window manager paints them. GUI thread only.
#include <cstdint>

#include "GUI/wm/wm.h"

// Paint callbacks of the bar and its cells: they draw on WM_MSG_PAINT and leave every other message to
// WM_DefaultHandler.
void StatusBar_Paint(WM_MSG_RECORD* msg);
void StatusOutput_Paint(WM_MSG_RECORD* msg);
void StatusLevel_Paint(WM_MSG_RECORD* msg);
void StatusRange_Paint(WM_MSG_RECORD* msg);
void StatusUsbDev_Paint(WM_MSG_RECORD* msg);
void StatusAlarm_Paint(WM_MSG_RECORD* msg);
void StatusShift_Paint(WM_MSG_RECORD* msg);
void StatusSense_Paint(WM_MSG_RECORD* msg);
void StatusUsbMem_Paint(WM_MSG_RECORD* msg);
void StatusIrms_Paint(WM_MSG_RECORD* msg);
void StatusIpk_Paint(WM_MSG_RECORD* msg);
void StatusMaster_Paint(WM_MSG_RECORD* msg);
void StatusWiring_Paint(WM_MSG_RECORD* msg);
void StatusNet_Paint(WM_MSG_RECORD* msg);
void StatusLock_Paint(WM_MSG_RECORD* msg);

// The level bars in the selected window (the level cell), percents 0-100 of the load against the rating.
void LevelBar3_Draw(int l1, int l2, int l3);
void LevelBar2_Draw(int l1, int l2);
void LevelBar1_Draw(int l1);

namespace statusbar {

inline constexpr int kCells = 14;
inline constexpr int kBarWidth = 720;
inline constexpr int kBarHeight = 28;
inline constexpr int kCellHeight = 24;

// Flags of g_ParamFlags that only the status bar reads.
inline constexpr uint32_t kFlagShiftActive = 1u << 6;
inline constexpr uint32_t kFlagPresetRecalled = 1u << 9;  // bit 1 of the second byte

// What the cells show, read from the instrument state in one go.
struct Inputs {
    bool outputOn, remote, shift, presetRecalled, keysLocked;
    int32_t presetIndex;  // the preset shown while presetRecalled
    uint32_t rangeCode;
    uint32_t phaseMode;  // 0 3P4W, 1 1P2W, 2 1P3W
    int levelPercent[3];
    bool usbDevConfigured, usbDevCdc;
    bool alarm;
    bool senseOn, irmsOn, ipkOn;
    bool usbMemMounted, usbMemError;
    bool parallel;
    bool network;
};
void ReadInputs(Inputs* in);

// Percent 0-100 of |s| against the rating; 0 for a rating of 0 or a value that is not finite.
int LevelPercent(float s, float rating);
// Segments a level bar shows for a percent (0-8; 100 also turns the last one red).
int LevelSegments(int percent);
// The wiring's name, or nullptr for an index outside the table.
const char* WiringName(uint32_t phaseMode);

// A word per cell that changes exactly when the cell's picture changes.
uint32_t CellKey(int cell, const Inputs& in);

// The preset the output cell names while a preset is marked recalled: the current preset (the one last
// saved or recalled), or while a recall waits for its wiring confirmation the one before it.
uint32_t ShownPreset();

// The bar of one screen: its windows and what each cell showed when last brought up to date.
struct View {
    WM_HWINDOW bar;
    WM_HWINDOW cell[kCells];
    uint32_t shown[kCells];
};

}  // namespace statusbar

// Builds the bar as a visible 720x28 child at (0, 0) of parent, with its fourteen cells, and records the
// inputs it will first show: 0, or -1 when the graphics memory has no room (view->bar then 0).
int StatusBar_Create(WM_HWINDOW parent, statusbar::View* view);
// Invalidates each cell of the bar whose shown inputs changed since the last call (or the creation);
// returns the number of cells invalidated.
// Tests run the status bar's change check at once through it.
int StatusBar_Refresh(statusbar::View* view);
