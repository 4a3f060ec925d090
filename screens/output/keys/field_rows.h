#pragma once
// How each home setting's edit state (8-89) takes its keys: the keys column of the home field rows. The
// checks a stored value asks for next are the setting procedure's (core/params/settings/setting_write.h).
#include <cstdint>

#include "panel/menu/home_field_rows.h"

namespace screens::fields {

using panel::home::Choice;
using panel::home::Field;
using panel::home::Gate;
using panel::home::Limited;
using FieldRow = panel::home::HomeFieldKeys;

// The keys of a home field; null outside the home fields and for the fields with handlers of their own.
constexpr const FieldRow* FindFieldRow(uint32_t state) {
    const panel::home::HomeFieldRow* row = panel::home::HomeFieldOf(state);
    return row != nullptr && row->keys.field != Field::kNone ? &row->keys : nullptr;
}

// The fields that are not the generic pattern (field_choice_keys.cpp).
void KindField(uint32_t state, uint32_t* ev);
void RangeField(uint32_t* ev);
void ChoiceField(const FieldRow& row, uint32_t* ev);
void DutyField(uint32_t* ev);

}  // namespace screens::fields
