#pragma once
// A fresh model-1 parameter store (3P4W, AC-INT, 200 V range, SIN, L1 selected) with the panel in the
// advanced home view, and the keys and keypad entry of the panel as the field editors receive them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/params/param_rec.h"
#include "tests/support/default_store.h"

namespace edittest {

class EditTest : public ::testing::Test {
  public:
    EditTest();
    ~EditTest() override;
    test::DefaultStore store{1};

    // A packed key event.
    static uint32_t Key(uint8_t code, uint8_t cls, int8_t delta = 0);
    // The keypad entry as the keypad pre-processing leaves it after typing the number.
    static void Type(double value);
    // Record of id on a unit, and a change of its value and limits.
    static ParamRec Rec(uint32_t id, uint32_t unit = 0);
    static void PutRec(uint32_t id, uint32_t unit, int32_t value, int32_t max, int32_t min);
    static void SetLineView(bool line);
    // The messages posted since the last call: numbered ones as their number, free texts as the text.
    static std::vector<std::string> Messages();
};

}  // namespace edittest
