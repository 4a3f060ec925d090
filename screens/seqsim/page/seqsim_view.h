#pragma once
// What the SEQUENCE/SIMULATE page shows, gathered in one pass on the GUI thread from the engine, the menu
// state and the edit words; the page compares it with what it shows and repaints the parts that differ.
// Plain data, so that two views compare byte by byte.
#include <cstdint>

#include "engine/seqsim/seqsim_data.h"

namespace seqsim {

inline constexpr int kMaxRows = 51;  // 3 columns of 17
inline constexpr int kRowsPerColumn = 17;
inline constexpr int kSoftKeys = 8;
inline constexpr int kGraphColumns = 640;  // the RUN preview's samples, one per pixel column

enum RowMark : uint8_t { kRowPlain, kRowSelected, kRowEditing };
struct Row {
    char label[16];
    char value[16];  // while digits are typed, the typed text
    char unit[4];
    uint8_t mark;
    uint8_t numeric;  // the value's digits can carry the edit cursor
    uint32_t cursor;  // digit cursor of an edited number, 0 = last digit
};

struct TitleView {
    uint8_t sim;      // 0 SEQUENCE, 1 SIMULATE
    char header[24];  // "Step 012" or the SIM state's name
    char run[32];     // run state, or the RUN preview's position
};

enum BodyKind : uint8_t { kBodyFields, kBodyList, kBodyDialog, kBodyStepPreview, kBodyRunPreview };
struct Trace {  // one phase of the current step, for the step preview
    int32_t acv, dcv, fset, wave, angle;
};
struct BodyView {
    uint8_t kind;
    uint8_t rowCount;
    Row rows[kMaxRows];
    // Memory list: 0 recall, 1 save; the slot chosen, the memory in use (last recalled or stored); names.
    uint8_t listSave;
    uint8_t listMark;
    uint8_t listInUse;
    char names[10][kSeqSimNameLen + 1];
    // Dialog: its two lines, buttons 0 ENTER/CANCEL or 1 YES/NO, and the focus on the second button.
    char line1[32];
    char line2[32];
    uint8_t yesNo;
    uint8_t focusSecond;
    // Previews: traced phases (bits 0-2), the step preview's choice, the RUN preview's position, order
    // length and edited position (with its cursor while it is typed), the current step's phases.
    uint8_t mask;
    uint8_t choice;
    uint8_t editing;
    uint8_t dcKind;
    uint32_t position, count, edited, cursor;
    Trace traces[3];
    // RUN preview: each phase's level (0.01 V) at the order entry under each pixel column.
    int32_t levels[3][kGraphColumns];
};

struct KeyView {
    char label[24];
    uint8_t style;  // 0 normal, 1 selected, 2 disabled
};

struct View {
    TitleView title;
    BodyView body;
    KeyView keys[kSoftKeys];
};

// Fills the view (zeroed first); false when the step tables were busy: the caller keeps what it shows and
// tries again on its next update.
bool BuildView(View* view);
// The mode of page id: 1 SIMULATE (463, and 494 while the SIM mode word is set), else 0.
uint8_t PageIsSim(uint32_t pageId);

}  // namespace seqsim
