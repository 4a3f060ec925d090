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

// The cells from left to right.
enum Cell : int {
    kCellOutput,  // output state, or the recalled preset
    kCellLevel,
    kCellRange,
    kCellUsbDev,
    kCellAlarm,
    kCellShift,  // SHIFT or RMT
    kCellSense,
    kCellUsbMem,
    kCellIrms,
    kCellIpk,
    kCellMaster,
    kCellWiring,
    kCellNet,
    kCellLock,
    kCells,
};
// A cell's place on the bar and its painter.
struct CellDef {
    int16_t x, width;
    WM_CALLBACK* paint;
};
inline constexpr CellDef kCellDefs[kCells] = {
    {0, 46, StatusOutput_Paint},   {46, 45, StatusLevel_Paint},   {91, 35, StatusRange_Paint},
    {126, 62, StatusUsbDev_Paint}, {188, 62, StatusAlarm_Paint},  {250, 50, StatusShift_Paint},
    {300, 35, StatusSense_Paint},  {335, 60, StatusUsbMem_Paint}, {395, 50, StatusIrms_Paint},
    {445, 50, StatusIpk_Paint},    {538, 55, StatusMaster_Paint}, {598, 40, StatusWiring_Paint},
    {638, 62, StatusNet_Paint},    {700, 30, StatusLock_Paint},
};

inline constexpr int kBarWidth = 720;
inline constexpr int kBarHeight = 28;
inline constexpr int kCellHeight = 24;

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
uint32_t CellKey(Cell cell, const Inputs& in);

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
// The first cell of the bar whose picture changed since it was last recorded (at the creation or here):
// records what it shows now and returns it, or -1 when none changed. The page repaints it its own way.
int StatusBar_NextChange(statusbar::View* view, const statusbar::Inputs& in);
