// The display's contrast, brightness and saturation: the knob shows each step on the display at once, so
// leaving with the exit key keeps what was turned to.
#include "core/system/config/iface_cfg.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "drivers/panel_link.h"
#include "screens/menu/editors/item_edit_keys.h"
#include "screens/menu/editors/menu_editor.h"
#include "screens/menu/editors/typed_number.h"

namespace {
constexpr int32_t kPercentMax = 100, kPercentMin = 1;

struct LcdEditor {
    uint32_t row;
    void (*set)(uint8_t percent);
};
constexpr LcdEditor kContrast{kMenuLcdContrast, SetLcdAdjust0};
constexpr LcdEditor kBrightness{kMenuLcdBrightness, SetLcdAdjust1};
constexpr LcdEditor kSaturation{kMenuLcdSaturation, SetLcdAdjust2};

void LcdKeys(uint32_t* ev, const LcdEditor& ed) {
    if (MenuEdit_CommonClasses(ev)) return;
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    if (cls == kClassCursor) {
        MenuEdit_NumericKey(*ev);
        if (code == kKeyKnob)
            ed.set(static_cast<uint8_t>(g_EditParam.workValue.load(std::memory_order_relaxed)));
    } else if (cls == kClassKeypad && code == kKeyExit) {
        MenuEdit_Exit(ed.row);
    } else if (cls == kClassKeypad && code == kKeyEnter) {
        int32_t typed = 0;
        if (TypedWholeWithin(kPercentMin, kPercentMax, &typed)) ed.set(static_cast<uint8_t>(typed));
        MenuEdit_ReturnToRow(ed.row);
    }
}
}  // namespace

void menuListLCDConfContrastEdit(uint32_t* ev) {
    LcdKeys(ev, kContrast);
}
void menuListLCDConfBrightnessEdit(uint32_t* ev) {
    LcdKeys(ev, kBrightness);
}
void menuListLCDConfSaturationEdit(uint32_t* ev) {
    LcdKeys(ev, kSaturation);
}
