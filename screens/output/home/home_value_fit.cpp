#include "screens/output/home/home_value_fit.h"

#include <algorithm>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/params/settings/line_acv.h"
#include "core/system/state/ctrl_words.h"
#include "panel/menu/panel_items.h"
#include "platform/stage/wiring_codes.h"
#include "screens/output/keys/panel_rows.h"

namespace home {

namespace {

void FitLine(uint32_t id, const LineBounds& b) {
    ParamRec r{};
    paramGetRecord(id, &r, 0);
    if (r.max != b.max) paramPutMax(id, b.max, 0);
    if (b.ownMin && r.min != b.min) paramPutMin(id, b.min, 0);
    paramClampValue(id, b.max, b.min, 0);
}

void FitAngle(uint32_t id, uint32_t phase) {
    ParamRec r{};
    paramGetRecord(id, &r, phase);
    if (r.state != 0 && ShownAngle(r.value, r.decimals) != r.value)
        paramClampValue(id, settings::kAngleMaxWholeDegrees, INT32_MIN, phase);
}

}  // namespace

LineBounds LineAcvBounds(uint32_t phase) {
    ParamRec rec{};
    paramGetRecord(kParamAcv, &rec, phase);
    const int32_t phaseMax = rec.max;
    return {settings::LineAcvOfPhase(phaseMax, GetPhaseMode() == kWiring3P4W), INT32_MIN, false};
}

LineBounds LineDcvBounds(uint32_t phase) {
    ParamRec p{};
    paramGetRecord(kParamDcv, &p, phase);
    return {p.max * 2, p.min * 2, true};
}

int32_t WithinLine(int32_t value, const LineBounds& b) {
    return std::clamp(value, b.min, std::max(b.min, b.max));
}

void HomeValues_Fit() {
    const uint32_t phase = core::SelectedPhase();
    const bool lineView = GetPhaseLineView() == 1;
    for (uint32_t window = 0; window < kPanelWindows; ++window) {
        switch (PanelCodeOfWindow(window)) {
            case kItemAcv:
                if (lineView) FitLine(kParamAcvLine, LineAcvBounds(phase));
                break;
            case kItemDcv:
                if (lineView) FitLine(kParamDcvLine, LineDcvBounds(phase));
                break;
            case kItemOnPhase:
                FitAngle(kParamOnPhase, phase);
                break;
            case kItemOffPhase:
                FitAngle(kParamOffPhase, phase);
                break;
            default:
                break;
        }
    }
}

}  // namespace home
