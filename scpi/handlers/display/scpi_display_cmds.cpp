// DISPlay: the home screen's view and its four measurement items.
#include <cstddef>

#include "core/control/hooks/screen_request.h"
#include "core/params/access/param_access.h"
#include "core/params/param_ranges.h"
#include "core/params/param_store.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/output_flags.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/display/scpi_meas_items.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/scpi_refusals.h"
#include "scpi/parser/scpi_errors.h"

namespace {

constexpr const char* kShortNames[kMeasChoiceCount] = {
    "VRMS", "VAVG", "VMAX", "VMIN", "VPKH", "IRMS", "IAVG", "IMAX", "IMIN", "IPKH", "RPOW",
    "SPOW", "QPOW", "FREQ", "PFAC", "CFAC", "THDV", "THDI", "LRMS", "LAVG", "LMAX", "LMIN"};

int Fail(ScpiInterface* ifc, uint32_t row) {
    scpiSetError(ifc, row);
    return 0;
}

}  // namespace

int32_t MeasItemSlotOf(uint32_t item, uint32_t outputMode, int32_t choice) {
    if (item > 3) return -1;
    const meas_items::ItemList& list = meas_items::ListOf(item, outputMode);
    for (size_t i = 0; i < list.count; ++i)
        if (list.slot[i] == choice) return static_cast<int32_t>(i);
    return -1;
}

const char* MeasItemChoiceText(uint32_t item, uint32_t outputMode, int32_t slot) {
    const int32_t quantity = MeasItemQuantity(item, outputMode, slot);
    return kShortNames[quantity < 0 ? kMeasVrms : quantity];
}

namespace scpi {

int CmdDispDesMode(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return scpiRefuseHeader(ifc);
    int32_t view;
    if (scpiGetChoice(ifc, 0, &view) != 0) return Fail(ifc, kScpiErrParameter);
    if (SeqSimIsActive()) return Fail(ifc, kScpiErrExecution);
    enum : int32_t { kNormal, kTotal, kSimple };
    if (view == kTotal && IsPhaseMode1P2W()) return Fail(ifc, kScpiErrExecution);
    if (view == kNormal || view == kTotal) {
        g_HomePage.viewSel.store(static_cast<uint32_t>(view), std::memory_order_release);
        ScreenRequest_Ask(ScreenRequest::kAdvanceScreen);
    } else if (view == kSimple) {
        ScreenRequest_Ask(ScreenRequest::kSimpleScreen);
    } else {
        return Fail(ifc, kScpiErrSystem);
    }
    return 0;
}

int CmdDispMeasSour(ScpiInterface* ifc) {
    // The suffix sits on SOURce: the third header level, or the fourth with WINDow.
    int suffix = scpiGetSuffix(ifc, 2);
    if (suffix < 0) suffix = scpiGetSuffix(ifc, 3);
    const bool query = scpiIsQuery(ifc) == 1;
    if (suffix < 1 || suffix > 4) return Fail(ifc, query ? kScpiErrParameter : kScpiErrInvalidSuffix);
    const uint32_t item = static_cast<uint32_t>(suffix - 1);
    const uint32_t id = kParamMeasItem1 + item;
    const uint32_t mode = GetOutputMode();
    if (query) return WriteTextReply(ifc, MeasItemChoiceText(item, mode, paramGetValue(id, 0))), 0;
    int32_t choice;
    if (scpiGetChoice(ifc, 0, &choice) != 0) return Fail(ifc, kScpiErrParameter);
    const int32_t slot = MeasItemSlotOf(item, mode, choice);
    const bool thd = choice == kMeasThdv || choice == kMeasThdi;
    const bool freq = choice == kMeasFreq;
    if (slot < 0 || (thd && mode != kModeAcInt) || (freq && mode != kModeAcDcSync && mode != kModeAcSync))
        return Fail(ifc, kScpiErrParameter);
    paramPutValue(id, slot, 0);
    return 0;
}

}  // namespace scpi
