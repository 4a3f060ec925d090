#pragma once
// The key protocol every MENU item editor shares. Exit drops a number being typed, or goes back to the
// row without storing; enter stores the value and goes back to the row; the knob (and, unless the editor
// takes the knob only, the cursor keys) steps a choice, or the digit under the cursor of a number; soft
// keys and function keys go to the MENU page's common handlers.
#include <cstdint>

enum class MenuEditKind : uint8_t { kChoice, kNumeric };

struct MenuEditor {
    uint32_t param;  // the parameter whose record the plain enter stores (the edit state)
    uint32_t row;    // the row that exit and enter make current again
    MenuEditKind kind;
    bool knobOnly;
    // The hooks get the editor's param. The upper limit of each choice step; null: the edit words' limit.
    int32_t (*upper)(uint32_t param);
    // After each choice step, with the working value before it (null: none).
    void (*stepped)(uint32_t param, int32_t before);
    // The enter key instead of the plain store and return; it leaves the state itself (null: plain).
    void (*enter)(uint32_t param);
};

// The whole protocol for one key event.
void MenuEditor_Keys(uint32_t* ev, const MenuEditor& ed);

// The protocol's steps, for editors that compose them in their own way.
// Exit: a number being typed is dropped and the editor stays; otherwise the row becomes current.
void MenuEdit_Exit(uint32_t row);
// The row becomes current again, with its own value loaded (its row entry).
void MenuEdit_ReturnToRow(uint32_t row);
// A choice changed from the entry value is written to the parameter's record; true when written.
bool MenuEdit_StoreChoice(uint32_t param);
// The working value written to the parameter's record whether changed or not.
void MenuEdit_StoreAlways(uint32_t param);
// A typed number (scaled by the record, plus half a hundredth, truncated) is stored when it lies within
// the record's limits, else dropped; without typing the working value is stored. True when stored.
bool MenuEdit_StoreNumeric(uint32_t param);
// The working value stepped by delta at digit 0 within [min of the edit words, max].
void MenuEdit_StepChoice(int32_t delta, int32_t max);
// A number's cursor keys move the digit cursor ('W' right, 'V' left, wrapping), the knob steps the
// digit under it within the edit words' limits.
void MenuEdit_NumericKey(uint32_t ev);
// Soft keys (class 3) and function keys (class 5) to the MENU page's handlers; true when the event was one.
bool MenuEdit_CommonClasses(uint32_t* ev);
