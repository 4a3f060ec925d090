#pragma once
// The front panel's state word and the shared edit words of the value being edited.
#include <atomic>
#include <cstdint>

namespace panel {

// The numeric keypad entry and the choice fields; one instance shared by all editors.
struct EditBuf {
    uint32_t entryState;  // bits 0-9 flags (0 entry disabled, 1 point typed), bits 10-31 keystroke count
    float entryScale;     // 1.0 at rest, x10 per digit after the point
    double entryValue;    // the entry text converted after every accepted character
    int32_t enteredInt;   // set when the entry is confirmed
    char entryText[9];
    uint8_t entryLength;   // 0..9
    uint32_t choiceValue;  // value of the choice or octet field being edited
    uint32_t startChoiceValue;
    uint32_t choiceCursor;  // digit 0 = rightmost
};

// The edit copy of the numeric parameter being edited.
struct EditParam {
    int32_t startValue;
    // The waveform builder's preview (timer thread) reads the value while the menu/control thread edits it.
    std::atomic<int32_t> workValue;
    int32_t max;
    int32_t min;
    int32_t decimals;
    int32_t digits;
    float scale;      // displayed value = stored value x scale
    uint32_t cursor;  // digit cursor, 0 = rightmost
};

}  // namespace panel

extern std::atomic<uint32_t> g_MenuState;      // current menu state 0..544
extern std::atomic<uint32_t> g_MenuPrevState;  // the state current before the last parameter entry
extern panel::EditBuf g_EditBuf;
extern panel::EditParam g_EditParam;

namespace panel {
// The edit words the GUI thread paints, as one step of the menu/control thread left them.
struct EditView {
    EditBuf buf;        // g_EditBuf
    int32_t workValue;  // g_EditParam.workValue
    uint32_t cursor;    // g_EditParam.cursor
};
// Writer side, after each step that may change the edit words (the menu/control thread's pass, a set
// command it runs between passes): copies them for the GUI thread.
void EditPublish();
// GUI thread, at the start of its paint pass: takes the last published copy into g_EditShown.
void EditSnapshotTake();
}  // namespace panel

// GUI thread only: everything it paints of the edit words is read from here, never from g_EditBuf or
// g_EditParam, which the menu/control thread writes without a lock.
extern panel::EditView g_EditShown;

// Words of the menus and the display that a reset puts back: a factory default sets the first menu word
// to 1 and clears the second; every reset clears both display words. The screens read them.
extern std::atomic<uint32_t> g_MenuResetWords[2];
extern std::atomic<uint32_t> g_DispResetWords[2];

// The home screen's words that remote commands and the panel keys below the screens write: the preset
// indices the recall and save messages show, the preset page's selected preset, the Each/All soft-key flag
// (cleared when the panel starts), the home view (0 normal, 1 total view), the settings-panel row and the
// panel page flag (1: the second page of the settings panel is shown). The
// settings-refresh flag *RCL raises is g_OutputRefresh of the parameter store.
struct HomePageWords {
    std::atomic<uint32_t> recallIndex;
    std::atomic<uint32_t> saveIndex;
    std::atomic<uint32_t> presetSel;
    std::atomic<uint32_t> eachAll;
    std::atomic<uint32_t> viewSel;
    std::atomic<uint32_t> panelRow;
    std::atomic<uint32_t> acvField;  // 1 once the panel's ACV field was opened; the home screen reads it
    std::atomic<uint32_t> panelPage;  // 1 while the settings panel shows its second page
    // The preset keys: the preset shown before the last recall (put back when a recall with another
    // wiring is declined), and 1 while a recall waits for that confirmation (the wiring prompts are open).
    std::atomic<uint32_t> presetPrev;
    std::atomic<uint32_t> presetPending;
    // Panel rows the painter has shown as they are now (bit r = row r); the knob leaves a row only when
    // its bit is set. All set until a painter keeps the mask.
    std::atomic<uint32_t> rowMask{0x3FFF};
    std::atomic<uint32_t> allPhasesLock;  // 1: the settings panel holds 1P3W editing to all phases
    // The simple screen: 0 the meter table, 1 the harmonic view; its page 0-4; the table's meter set
    // (0 RMS, 1 AVG, 2 PEAK) and the harmonic quantity (0 voltage, 1 current).
    std::atomic<uint32_t> harmonicView;
    std::atomic<uint32_t> harmonicPage;
    std::atomic<uint32_t> meterSet;
    std::atomic<uint32_t> harmonicQuantity;
    // 1 asks the home screen to repaint its phase header once (the screen clears it).
    std::atomic<uint32_t> headerRefresh;
};
extern HomePageWords g_HomePage;
