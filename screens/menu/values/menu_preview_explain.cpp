// The explanations of the top-menu entries that hold no settings, some with a caution.
#include "GUI/draw/gui_2d.h"
#include "GUI/lcd/color_rgb.h"
#include "core/system/state/menu_state_ids.h"
#include "screens/menu/values/menu_preview_lines.h"

namespace menu::preview {
namespace {

struct Explain {
    uint32_t state;
    bool caution;
    int x;
    const char* lines[5];
};

constexpr Explain kExplains[] = {
    {kMenuArbEdit, false, 3, {"This function is sets the ARB waveform."}},
    {kMenuDefaultSetting, true, 5, {"All of Configuration, Memory will be", "set to default."}},
    {kMenuSpecialFunction,
     true,
     3,
     {"This function is used to access ", "calibration, firmware update and ", "other special function.",
      "The password used determines which", "function is accessed."}},
    {kMenuSaveRecall,
     false,
     3,
     {"This function is used to save/recall", "files between Internal Memory and",
      "Mass Storage for Preset, Sequence", "Simulate and ARB."}},
};

void Caution() {
    SetColorRGB(0xFF0000);
    Text(96, 11, "== CAUTION ==");
    Text(95, 10, "== CAUTION ==");
}

}  // namespace

bool Explanation(uint32_t state) {
    for (const Explain& e : kExplains) {
        if (e.state != state) continue;
        if (e.caution) Caution();
        SetColorRGB(kExplanation);
        // The caution takes the first line.
        const int first = e.caution ? 1 : 0;
        for (int i = 0; i < 5 && e.lines[i] != nullptr; ++i)
            Text(e.x, LineY(first + i), e.lines[i]);
        return true;
    }
    return false;
}

}  // namespace menu::preview
