// The phasor window below the settings panel: the balance mode and the phase angles of L2 and L3.
#include "GUI/gui_context.h"
#include "GUI/lcd/color_rgb.h"
#include "core/params/access/param_access.h"
#include "panel/draw/panel_shapes.h"
#include "panel/draw/phasor.h"
#include "panel/pages/panel_fonts.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/homepaint/home_paint.h"

namespace {

constexpr float kTenthsPerDegree = 10.0f;

}  // namespace

void HomePaint_Phasor(WM_MSG_RECORD* msg) {
    if (msg->MsgId != WM_MSG_PAINT) {
        WM_DefaultHandler(msg);
        return;
    }
    const bool balanced = GetPhaseBalanceMode() == 1;
    float l2 = static_cast<float>(GetPhaseAngle_L2()) / kTenthsPerDegree;
    float l3 = static_cast<float>(GetPhaseAngle_L3()) / kTenthsPerDegree;
    if (balanced) {
        const bool threePhase = GetPhaseMode() == kWiring3P4W;
        l2 = threePhase ? 120.0f : 180.0f;
        l3 = threePhase ? 240.0f : 180.0f;
    }
    // The split phase plays L2 opposite L1 whatever angle the store keeps for 3P4W.
    if (GetPhaseMode() == kWiring1P3W) l2 = 180.0f;
    ClearWindow();
    GUI_SelectFont(&kFont24);
    GUI_SetTextDrawMode(GUI_TM_TRANS);
    GUI_SetAlign(GUI_TA_LEFT | GUI_TA_VCENTER);
    SetColorRGB(0xFFFFFF);
    if (balanced)
        GUI_DrawTextAt("Balance", 55, 15);
    else
        GUI_DrawTextAt("Unbalance", 40, 15);
    DrawPhasorDiagram(25, 55, l2, l3);
}
