// What the status bar's cells show, read from words other threads write: each is read once, without
// locks, so a cell may show a change one paint late but never a torn value.
#include <atomic>
#include <cmath>

#include "core/control/alarms/alarms.h"
#include "core/control/measure/meas_records.h"
#include "core/params/access/param_access.h"
#include "core/params/access/wiring_state.h"
#include "core/params/param_store.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/links/usb_state.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "panel/statusbar/status_bar.h"
#include "platform/stage/wiring_codes.h"
#include "sysadmin/net/net_state.h"

namespace statusbar {

namespace {

constexpr const char* kWiringNames[] = {"3P4W", "1P2W", "1P3W"};

}  // namespace

uint32_t ShownPreset() {
    if (g_HomePage.presetPending.load(std::memory_order_acquire) != 0)
        return g_HomePage.presetPrev.load(std::memory_order_relaxed);
    return g_HomePage.presetSel.load(std::memory_order_acquire);
}

const char* WiringName(uint32_t phaseMode) {
    return phaseMode < std::size(kWiringNames) ? kWiringNames[phaseMode] : nullptr;
}

int LevelPercent(float s, float rating) {
    if (!(rating > 0.0f) || !std::isfinite(s) || !std::isfinite(rating)) return 0;
    const float r = std::fmin(std::fabs(s) / rating, 1.0f);
    return static_cast<int>(r * 100.0f);
}

int LevelSegments(int percent) {
    if (percent <= 0) return 0;
    if (percent <= 30) return 1;
    if (percent >= 91) return 8;
    return (percent - 1) / 10 - 1;  // 31-40 two ... 81-90 seven
}

void ReadInputs(Inputs* in) {
    const uint32_t out = g_OutputFlags.load(std::memory_order_acquire);
    const uint32_t flags = g_ParamFlags.load(std::memory_order_acquire);
    in->outputOn = (out >> kOutFlagOutputOn) & 1u;
    in->remote = (out >> kOutFlagRemote) & 1u;
    in->shift = (flags & core::kFlagShiftLatched) != 0;
    in->presetRecalled = (flags & core::kFlagPresetRecalled) != 0;
    in->keysLocked = (flags & core::kFlagKeysLocked) != 0;
    in->presetIndex = static_cast<int32_t>(ShownPreset());
    in->rangeCode = core::CurrentRangeCode();
    in->phaseMode = g_PhaseMode.load(std::memory_order_relaxed);

    // 1P2W sets the whole rating against one phase; the three-module wirings a third against each.
    const float rated = static_cast<float>(g_RatedVA.load(std::memory_order_relaxed));
    const float share = in->phaseMode == kWiring1P2W ? rated : rated / 3.0f;
    for (int p = 0; p < 3; ++p)
        in->levelPercent[p] = LevelPercent(g_DispCache[p].Get(kMfApparent), share);

    const uint8_t usbC = g_UsbState.statusC.load(std::memory_order_acquire);
    in->usbDevConfigured = (usbC & (1u << 1)) != 0;
    in->usbDevCdc = (IfaceUsbByte(2) & (1u << 4)) != 0;
    in->alarm = IsAlarmActive() != 0;
    in->senseOn = GetRemoteSense() == 1;
    in->irmsOn = GetIrmsLimitMode() == 1;
    in->ipkOn = GetIpkLimitMode() == 1;
    in->usbMemMounted = UsbMemoryMounted();
    in->usbMemError = g_UsbState.usbAccessError.load(std::memory_order_acquire) == 1;
    in->parallel = g_ParallelActive.load(std::memory_order_acquire) != 0;
    in->network = g_NetMonState.load(std::memory_order_acquire) != 0;
}

uint32_t CellKey(Cell cell, const Inputs& in) {
    switch (cell) {
        case kCellOutput:
            if (in.presetRecalled) return 0x80000000u | static_cast<uint32_t>(in.presetIndex & 0xFFFF);
            return in.outputOn ? 2u : 1u;
        case kCellLevel: {
            // Only the bars the wiring draws count.
            const int bars = in.phaseMode < kWirings ? static_cast<int>(PhasesOfWiring(in.phaseMode)) : 3;
            uint32_t key = in.phaseMode << 16;
            for (int p = 0; p < bars; ++p) {
                const int pct = in.levelPercent[p];
                const uint32_t look = static_cast<uint32_t>(LevelSegments(pct)) + (pct >= 100 ? 1u : 0u);
                key |= look << (4 * p);
            }
            return key;
        }
        case kCellRange:
            switch (in.rangeCode) {
                case 0:
                case 2:
                    return 0;
                case 1:
                case 3:
                    return 1;
                default:
                    return 2;
            }
        case kCellUsbDev:
            return in.usbDevConfigured ? (in.usbDevCdc ? 2u : 1u) : 0u;
        case kCellAlarm:
            return in.alarm;
        case kCellShift:
            return in.shift ? 2u : (in.remote ? 1u : 0u);
        case kCellSense:
            return in.senseOn;
        case kCellUsbMem:
            return in.usbMemError ? 2u : (in.usbMemMounted ? 1u : 0u);
        case kCellIrms:
            return in.irmsOn;
        case kCellIpk:
            return in.ipkOn;
        case kCellMaster:
            return in.parallel;
        case kCellWiring:
            return WiringName(in.phaseMode) != nullptr ? in.phaseMode : 0xFFu;
        case kCellNet:
            return in.network;
        case kCellLock:
            return in.keysLocked;
        default:
            return 0;
    }
}

}  // namespace statusbar
