#include "screens/menu/rows/row_entries.h"

#include <atomic>

#include "core/control/parallel/parallel_frame.h"
#include "core/params/access/key_entry.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/system/config/identity.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/config/model_table.h"
#include "core/system/links/parallel_link.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/output_flags.h"
#include "engine/arb/arb_builder.h"
#include "panel/menu/menu_page_words.h"
#include "platform/stage/wiring_codes.h"

using menu_rows::RowEntry;
using menu_rows::RowGuard;
using menu_rows::RowHow;
using menu_rows::RowLimits;
using menu_rows::RowSrc;

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kSavRecPreset = 0, kSavRecArb = 3, kSavRecAllData = 4;
constexpr const char* kOutputOnText = "Invalid with Output ON, \nTurn OFF the Output First";
// By the remote-sense check's reason 1-4.
constexpr const char* kRemoteSenseTexts[] = {
    "Valid Only AC-INT, DC-INT \nand AC-Sync Mode",
    "Valid Only \n100V and 200V Range",
    "Valid Only Output\nImpedance is Truned off",
    "Valid Only SIN Wave Shape",
};

// The builder's fields in the order of their edit/field state pairs.
constexpr int32_t (*kArbFieldGetters[])() = {
    ArbBuild_GetTriangle,       ArbBuild_GetStairs,      ArbBuild_GetClipKeepRms,
    ArbBuild_GetClip,           ArbBuild_GetCf1,         ArbBuild_GetCf2,
    ArbBuild_GetSdSite,         ArbBuild_GetSdAcv,       ArbBuild_GetSdMode,
    ArbBuild_GetRippleLevel,    ArbBuild_GetRippleVDC,   ArbBuild_GetRippleTimes,
    ArbBuild_GetDIPStart,       ArbBuild_GetDIPSweep,    ArbBuild_GetDIPEnd,
    ArbBuild_GetLFRingACV,      ArbBuild_GetLFRingAmp,   ArbBuild_GetLFRingBaseFreq,
    ArbBuild_GetLFRingRingFreq, ArbBuild_GetLFRingDecay, ArbBuild_GetLFRingStart,
    ArbBuild_GetLFRingEnd,      ArbBuild_GetLFRingRing,  ArbBuild_GetArbNo,
};
static_assert(sizeof kArbFieldGetters / sizeof kArbFieldGetters[0] ==
              (kMenuArbTypeEdit - kMenuArbTriangleEdit) / 2);

bool Master() {
    return GetParallelPosition() == 1;
}
bool ParallelEnabled() {
    return GetParallelEnable() != 0;
}
bool ParallelActive() {
    return g_ParallelActive.load(std::memory_order_acquire) == 1;
}
bool SingleUnitModel() {
    return IsSingleUnit(g_ModelId.load(kRelaxed));
}
bool CardPresent(storage::CardLine line) {
    return std::atomic_ref<uint32_t>(g_IfaceCfg.cardPresent[line]).load(std::memory_order_acquire) == 1;
}

int32_t SourceValue(const RowEntry& e, uint32_t state) {
    const uint32_t index = state - e.first;
    switch (e.src) {
        case RowSrc::kZero:
            return 0;
        case RowSrc::kOne:
            return 1;
        case RowSrc::kIndex:
            return static_cast<int32_t>(index);
        case RowSrc::kDhcp:
            return LanCfgRead().DHCP;
        case RowSrc::kIpOctet:
            return LanCfgRead().IP[index];
        case RowSrc::kMaskOctet:
            return LanCfgRead().MASK[index];
        case RowSrc::kGateOctet:
            return LanCfgRead().GW[index];
        case RowSrc::kDnsOctet:
            return LanCfgRead().DNS[index];
        case RowSrc::kSocketPort:
            return static_cast<int32_t>(LanCfgRead().PORT);
        case RowSrc::kWebPassword:
            return static_cast<int32_t>(LanCfgRead().PW);
        case RowSrc::kUsbClass:
            return (IfaceUsbByte(2) >> 4) & 1;
        case RowSrc::kRs232Baud:
            return g_IfaceCfg.rs232Baud;
        case RowSrc::kRs232DataBits:
            return g_IfaceCfg.rs232DataBits;
        case RowSrc::kRs232Parity:
            return g_IfaceCfg.rs232Parity;
        case RowSrc::kRs232StopBits:
            return g_IfaceCfg.rs232StopBits;
        case RowSrc::kGpibAddress:
            return static_cast<int32_t>(IfaceGpibAddress());
        case RowSrc::kCanBaud:
            return static_cast<int32_t>(g_IfaceCfg.canopenBaud);
        case RowSrc::kCanNodeId:
            return static_cast<int32_t>(g_IfaceCfg.canopenNodeId);
        case RowSrc::kDnetBaud:
            return static_cast<int32_t>(g_IfaceCfg.devicenetBaud);
        case RowSrc::kDnetMacId:
            return static_cast<int32_t>(g_IfaceCfg.devicenetMacId);
        case RowSrc::kLcdPercent:
            return IfaceLcdByte(static_cast<int>((state - kMenuLcdContrast) / 2));
        case RowSrc::kBrandId:
            return static_cast<int32_t>(g_BrandId.load(kRelaxed));
        case RowSrc::kSavRecType:
            return static_cast<int32_t>(SaveRecallType.load(kRelaxed));
        case RowSrc::kSavRecAction:
            return static_cast<int32_t>(SaveRecallAction.load(kRelaxed));
        case RowSrc::kSavRecMemory:
            return static_cast<int32_t>(SaveRecallMemory.load(kRelaxed));
        case RowSrc::kArbField:
            return kArbFieldGetters[(state - kMenuArbTriangleEdit) / 2]();
        case RowSrc::kArbType:
            return ArbBuild_GetType();
    }
    return 0;
}

// What the guard makes of the entry: the state to enter (the same or another row), or 0 to stay.
uint32_t Guarded(RowGuard guard, uint32_t state) {
    const uint32_t before = state - 1;
    switch (guard) {
        case RowGuard::kNone:
            return state;
        case RowGuard::kMaster:
            return Master() ? state : 0;
        case RowGuard::kWiring3P4W:
            return GetPhaseMode() == kWiring3P4W ? state : before;
        case RowGuard::kNot1P2W:
            return GetPhaseMode() != kWiring1P2W ? state : before;
        case RowGuard::kTrigOut: {
            const uint32_t mode = GetOutputMode();
            const bool extOrDc = mode == kModeDcInt || mode == kModeAcDcExt || mode == kModeAcExt;
            return !SeqSimIsActive() && !extOrDc ? state : before;
        }
        case RowGuard::kOutputOff:
            if (!OutputFlagTest(kOutFlagOutputOn)) return state;
            ShowMessage(2, kOutputOnText);
            return 0;
        case RowGuard::kRemoteSense: {
            const int reason = RemoteSenseBlockReason();
            if (reason == 0) return state;
            if (reason >= 1 && reason <= 4) ShowMessage(2, kRemoteSenseTexts[reason - 1]);
            return 0;
        }
        case RowGuard::kOptionInterface:
            if (!Master()) return 0;
            if (CardPresent(storage::kCardLine17)) return kMenuCanopenBaud;
            if (CardPresent(storage::kCardLine106)) return kMenuDevicenetBaud;
            return kMenuGpibAddress;
        case RowGuard::kStandalone:
            if (!Master()) return 0;
            if (!ParallelActive()) return state;
            ShowMessage(2, "Valid Only Standalone");
            return 0;
        case RowGuard::kParallelPosition:
            if (OutputFlagTest(kOutFlagOutputOn)) {
                ShowMessage(2, kOutputOnText);
                return 0;
            }
            return IsParallelSystem(g_ModelId.load(kRelaxed)) && ParallelEnabled() ? kMenuParallel : state;
        case RowGuard::kPositionEdit:
            return !ParallelEnabled() && SingleUnitModel() && !ParallelActive() ? state
                                                                                : kMenuParallelPosition;
        case RowGuard::kNumberEdit:
            return Master() && !ParallelEnabled() && SingleUnitModel() ? state : before;
        case RowGuard::kEnableEdit:
            return Master() && (!ParallelEnabled() || ParallelActive()) ? state : before;
        case RowGuard::kNotAllData:
            return SaveRecallType.load(kRelaxed) != kSavRecAllData ? state : 0;
    }
    return 0;
}

void SetLimits(const RowEntry& e) {
    const uint32_t type = SaveRecallType.load(kRelaxed);
    switch (e.limits) {
        case RowLimits::kKeep:
            return;
        case RowLimits::kFixed:
            g_EditParam.max = e.max;
            g_EditParam.min = e.min;
            if (e.digits >= 0) g_EditParam.digits = e.digits;
            return;
        case RowLimits::kSavRecAction:
            g_EditParam.max = type == kSavRecPreset ? 4 : 2;
            g_EditParam.min = 0;
            return;
        case RowLimits::kSavRecMemory:
            g_EditParam.max = type == kSavRecArb ? 253 : 9;
            g_EditParam.min = type == kSavRecArb ? 1 : 0;
            return;
    }
}

void Enter(const RowEntry& e, uint32_t state) {
    switch (e.how) {
        case RowHow::kValue:
            menuEnterStateValue(state, SourceValue(e, state));
            break;
        case RowHow::kRecord:
            menuEnterState(state);
            break;
        case RowHow::kRecordPhase: {
            menuEnterState(state);
            const auto wiring = static_cast<int32_t>(GetPhaseMode());
            g_EditParam.startValue = wiring;
            g_EditParam.workValue.store(wiring, kRelaxed);
            break;
        }
        case RowHow::kRecordChoice:
            menuEnterState(state);
            g_EditBuf.choiceValue = static_cast<uint32_t>(g_EditParam.workValue.load(kRelaxed));
            break;
    }
    SetLimits(e);
}

}  // namespace

void MenuRows_EnterState(uint32_t state) {
    const RowEntry* e = menu_rows::FindRowEntry(state);
    if (e == nullptr) return;
    const uint32_t target = Guarded(e->guard, state);
    if (target == 0) return;
    if (target == state)
        Enter(*e, state);
    else if (e->guard == RowGuard::kOptionInterface)
        Enter(*e, target);
    else
        MenuRows_EnterState(target);  // the other row keeps its own guard
}

void menuEnterBarcodeList() {
    g_MenuState.store(kMenuBarcodeFirst, std::memory_order_release);
    menuResetEdit();
    g_EditParam.startValue = 0;
    g_EditParam.workValue.store(0, kRelaxed);
    g_EditBuf.choiceCursor = 0;
}

void menuArbLFRingDefaults() {
    constexpr int32_t kStart = 600, kEnd = 1200;
    ArbBuild_SetLFRingAmp(140);
    ArbBuild_SetLFRingBaseFreq(500);
    ArbBuild_SetLFRingRingFreq(20000);
    ArbBuild_SetLFRingDecay(1);
    ArbBuild_SetLFRingRing(300);
    // Start must stay below end at every step, or the builder refuses the write.
    if (ArbBuild_GetLFRingStart() < kEnd) {
        ArbBuild_SetLFRingEnd(kEnd);
        ArbBuild_SetLFRingStart(kStart);
    } else {
        ArbBuild_SetLFRingStart(kStart);
        ArbBuild_SetLFRingEnd(kEnd);
    }
    ArbBuild_SetBuildPending();
    ArbBuild_RequestPreview();
}
