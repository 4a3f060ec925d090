#pragma once
// The item editors' tests: the MENU tests' start with the editors of the interface, output, LCD, barcode,
// default and save/recall lists registered too.
#include <string>
#include <vector>

#include "screens/menu/editors/item_editor_slots.h"
#include "tests/screens/menu/menu_keys_fixture.h"

namespace menutest {

// Every popup text queued since the last call, oldest first.
inline std::vector<std::string> Posted() {
    std::vector<std::string> texts;
    for (uint32_t id = 0; MsgQueue_Pop(&id) == 0;) {
        char text[256] = {};
        MsgQueue_CopyText(text, sizeof text);
        texts.emplace_back(text);
    }
    return texts;
}

class MenuEditTest : public MenuKeys {
  protected:
    void SetUp() override {
        MenuKeys::SetUp();
        ASSERT_EQ(MenuItemEditors_Register(), 0);
    }
    std::string Read(const std::string& path) const { return store_.root.Read(path); }
};

}  // namespace menutest
