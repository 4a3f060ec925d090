// The refusal checks shared by the handlers, the bus trigger, the block header and the brand codes.
#include "scpi/handlers/scpi_refusals.h"

#include <strings.h>

#include "core/control/trig_act.h"
#include "core/params/access/param_access.h"
#include "core/system/config/model_table.h"
#include "core/system/state/ctrl_words.h"
#include "core/system/state/service_flags.h"
#include "platform/stage/wiring_codes.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/parser/scpi_errors.h"
#include "scpi/status/scpi_error_queue.h"

namespace {

// The override lets the service pages reach every line and a slave's settings.
bool Overridden() {
    return g_ServiceFlags.threePhase1P2W.load(std::memory_order_acquire) != 0;
}

constexpr const char* kBrandCodes[] = {"QX", "TULVE", "PELMA"};

}  // namespace

int IsPhaseMode1P2W() {
    return GetPhaseMode() == kWiring1P2W ? 1 : 0;
}

int PhaseAccessInvalid() {
    if (Overridden()) return 0;
    const uint32_t line = core::SelectedPhase();
    switch (GetPhaseMode()) {
        case kWiring1P2W:
            return line > 0 ? 1 : 0;
        case kWiring1P3W:
            return line >= 2 ? 1 : 0;
        default:
            return line > 2 ? 1 : 0;
    }
}

int LineAccessInvalid() {
    if (Overridden()) return 0;
    const uint32_t line = core::SelectedPhase();
    switch (GetPhaseMode()) {
        case kWiring1P2W:
            return 1;
        case kWiring1P3W:
            return line >= 1 ? 1 : 0;
        default:
            return line > 2 ? 1 : 0;
    }
}

int RemoteSettingBlocked() {
    if (Overridden()) return 0;
    return GetParallelPosition() == 0 ? 1 : 0;
}

uint32_t RemoteBlockedRow() {
    return g_ModelId.load(std::memory_order_acquire) == 0 ? kScpiErrNoModelType : kScpiErrSystem;
}

int scpiBusTrigger(ScpiInterface* ifc, int push) {
    const int32_t row = TrigAct_BusTrigger(core::kTrigKindSelected);
    if (row == 0) return 0;
    if (push == 1) {
        scpiErrorQueuePush(&ifc->errq, row, "");
    } else {
        scpiSetError(ifc, static_cast<uint32_t>(row));
    }
    return row;
}

int scpiParseBlockHeader(const uint8_t* data, uint32_t size, ScpiBlockHeader* out) {
    if (data == nullptr || out == nullptr || size < 2 || data[0] != '#') return -1;
    if (data[1] < '1' || data[1] > '9') return -1;
    const uint32_t digits = data[1] - '0';
    if (size < 2 + digits) return -1;
    uint64_t length = 0;
    for (uint32_t i = 0; i < digits; ++i) {
        const uint8_t c = data[2 + i];
        if (c < '0' || c > '9') return -1;
        length = length * 10 + (c - '0');
    }
    // A length that runs past the bytes at hand would make the reader copy what is not there.
    if (length > size - 2 - digits) return -1;
    *out = ScpiBlockHeader{digits, static_cast<uint32_t>(length), data + 2 + digits};
    return 0;
}

int BrandCodeLookup(const char* text) {
    if (text == nullptr) return -1;
    for (int row = 0; row < 3; ++row)
        if (strcasecmp(text, kBrandCodes[row]) == 0) return row;
    return -1;
}
