#include "panel/edit/edit_common.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/params/access/line_values.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/params/settings/setting_write.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/edit_state.h"

namespace panel::edit {

namespace {
constexpr double kEntryRounding = 0.005;
}  // namespace

bool IsLineEdit(uint32_t id) {
    return (id == kParamAcvLine || id == kParamDcvLine) && GetPhaseLineView() == 1;
}

bool EditAllPhases() {
    return g_EditAllPhases.load(std::memory_order_relaxed) == 1;
}

uint32_t EditPhase() {
    return core::SelectedPhase() > 2 ? 0 : core::SelectedPhase();
}

uint32_t EditLine() {
    const int32_t line = GetSelectedLine();
    return line < 0 || line > 2 ? 0 : static_cast<uint32_t>(line);
}

void AlignFieldLimits(uint32_t id) {
    settings::AlignAllPhaseLimits(id);
    if (IsLineEdit(id)) UpdateLineValueFromPhases(id);
}

ParamRec ReadFieldRecord(uint32_t id, uint32_t unit) {
    ParamRec rec{};
    paramGetRecord(id, &rec, IsLineEdit(id) ? 0 : unit);
    return rec;
}

int32_t FieldMax(uint32_t id, const ParamRec& rec, uint32_t unit) {
    return settings::MaxOf(id, static_cast<int>(unit), rec, settings::Origin::kPanel);
}

int32_t FieldMin(uint32_t id, const ParamRec& rec, uint32_t unit) {
    return settings::MinOf(id, static_cast<int>(unit), rec, settings::Origin::kPanel);
}

settings::SetResult SetField(uint32_t id, int32_t v, uint32_t unit, const settings::PanelSet& key,
                             settings::HeldBack* held) {
    return settings::SetSetting(id, static_cast<int>(unit), v, key, held);
}

void PostLimitMessage(const settings::HeldBack& held) {
    // Every phase holding it back has the message without a phase.
    const uint32_t phases = held.phases == 7 ? 0 : held.phases;
    MsgQueue_PostId(kMsgVoltageLimited + static_cast<int32_t>(phases));
}

bool MeterFrozenRefused() {
    if ((g_ParamFlags.load(std::memory_order_relaxed) & core::kFlagMeterHold) == 0) return false;
    MsgQueue_PostId(kMsgMeterFrozen);
    return true;
}

bool EntryPending() {
    return g_EditBuf.entryState != 0;
}

int32_t SaturateI32(int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int32_t EntryInSteps(double entry, float scale) {
    const double steps =
        (entry < 0 ? entry - kEntryRounding : entry + kEntryRounding) / static_cast<double>(scale);
    if (std::isnan(steps)) return 0;
    if (steps >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (steps <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(steps);
}

bool IsFineId(uint32_t id) {
    switch (id) {
        case kParamVoltLimit:
        case kParamVpkMax:
        case kParamVpkMin:
        case kParamFreq:
        case kParamFreqLimitHi:
        case kParamFreqLimitLo:
        case kParamIpkMax:
        case kParamIpkMin:
            return true;
        default:
            return false;
    }
}

}  // namespace panel::edit
