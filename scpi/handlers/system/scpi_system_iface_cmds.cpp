// SYSTem: the AC voltage unit, the barcode codes, the beeper, and the interface-enable, GPIB-address and
// fieldbus address and baud commands of SYSTem:COMMunicate.
#include <atomic>
#include <cstring>
#include <mutex>

#include "core/control/barcode_table.h"
#include "core/params/access/acv_unit_convert.h"
#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/lan_cfg.h"
#include "core/system/config/lan_pending.h"
#include "core/system/config/model_table.h"
#include "core/system/links/fieldbus_flags.h"
#include "core/system/state/output_flags.h"
#include "drivers/barcode_scanner.h"
#include "platform/host/clock.h"
#include "scpi/channels/ports/gpib_channel.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/channels/set_command_handover.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/scpi_refusals.h"
#include "scpi/handlers/scpi_setting_value.h"
#include "scpi/parser/scpi_errors.h"

namespace scpi {
namespace {

constexpr int32_t kGpibAddressMax = 30;
constexpr int32_t kCanopenIdMin = 1, kCanopenIdMax = 127;
constexpr int32_t kDnetIdMax = 63;
// The GPIB address's change bit of the pending interface record (byte 1 bit 7).
constexpr uint32_t kPendingGpibBit = 15;
constexpr const char* kCanopenBauds[] = {"125000", "250000", "500000", "1000000", "Auto"};
constexpr const char* kDnetBauds[] = {"125000", "250000", "500000", "Auto"};
constexpr int32_t kBaudRates[] = {125000, 250000, 500000, 1000000};
constexpr int32_t kCanopenAuto = 4, kDnetAuto = 3;

int Refuse(ScpiInterface* ifc, uint32_t row) {
    scpiSetError(ifc, row);
    return 0;
}

uint32_t Load(uint32_t& word) {
    return std::atomic_ref<uint32_t>(word).load(std::memory_order_acquire);
}
void Store(uint32_t& word, uint32_t v) {
    std::atomic_ref<uint32_t>(word).store(v, std::memory_order_release);
}

bool CanopenCard() {
    return Load(g_IfaceCfg.cardPresent[storage::kCardLine17]) == 1;
}
bool DnetCard() {
    return Load(g_IfaceCfg.cardPresent[storage::kCardLine106]) == 1;
}
// The adapter setting is 1 on every unit, so GPIB counts as enabled only with the GPIB card fitted.
bool GpibEnabled() {
    return g_GpibEnable.load(std::memory_order_acquire) == 1 &&
           Load(g_IfaceCfg.cardPresent[storage::kCardLine101]) == 1;
}

// An address equal to the one in force stages nothing (and drops one staged before); a new one waits for
// the network apply routine.
void StageGpibAddress(int32_t address) {
    const bool changed = static_cast<uint32_t>(address) != IfaceGpibAddress();
    if (changed) Store(g_LanPending.gpibAddress, static_cast<uint32_t>(address));
    LanPendingMark(kPendingGpibBit, changed);
}

// An integer parameter within min..max: 0 and the value, else the error row (a negative number is out of
// range like any other).
uint32_t IntWithin(const ScpiInterface* ifc, int32_t min, int32_t max, int32_t* value) {
    if (scpiGetInt(ifc, 0, value) != 0) return kScpiErrParameter;
    if (*value < min || *value > max) return kScpiErrDataOutOfRange;
    return 0;
}

// The key thread loads the code table once the menu/control thread runs, which may be after a channel
// serves: a read before it would see no codes and a teach would be overwritten by the load. Waits for it
// a little longer than the key thread waits for the menu/control thread.
bool BarcodeTableReady() {
    constexpr uint32_t kStepMs = 10, kWaitMs = 6000;
    for (uint32_t waited = 0; g_BarcodeTable.loaded.load(std::memory_order_acquire) == 0; waited += kStepMs) {
        if (waited >= kWaitMs) return false;
        plat::SleepMs(kStepMs);
    }
    return true;
}

// The code slot: a choice only, 0..11.
uint32_t BarcodeSlot(const ScpiInterface* ifc, int32_t* slot) {
    if (scpiGetChoice(ifc, 0, slot) != 0) return kScpiErrParameter;
    if (*slot < 0 || *slot >= kBarcodeActions) return kScpiErrDataOutOfRange;
    return 0;
}

}  // namespace

// SYSTem:ACV:UNIT and SYSTem:VUNit.
int CmdSystAcvUnit(ScpiInterface* ifc) {
    if (RemoteSettingBlocked()) return Refuse(ifc, RemoteBlockedRow());
    if (scpiIsQuery(ifc) == 1) return WriteSignedReply(ifc, GetAcvUnit()), 0;
    int32_t unit;
    if (const uint32_t row = ChoiceOrNumberUpTo(ifc, 0, 1, &unit); row != 0) return Refuse(ifc, row);
    if (SeqSimIsActive() != 0) return Refuse(ifc, kScpiErrExecution);
    // The setter's shadow write makes the control task run a unit change (output off included) even for
    // the same unit; and a capture is only written back by a change, so a refused or equal one holds none.
    if (unit == GetAcvUnit()) return 0;
    (void)AcvUnitConvertAll(1);
    (void)SetAcvUnit(unit);
    // The control task converts every voltage to the new unit (and switches the output off): the next
    // command must find it done.
    ScpiHandoverCompleteAfterPass();
    return 0;
}

int CmdSystBarcMem(ScpiInterface* ifc) {
    int32_t slot;
    if (const uint32_t row = BarcodeSlot(ifc, &slot); row != 0) return Refuse(ifc, row);
    if (!BarcodeTableReady()) return Refuse(ifc, kScpiErrExecution);
    if (scpiIsQuery(ifc) == 1) {
        // A 16-character code fills its row without a terminating zero.
        char text[kBarcodeTextLen + 1] = {};
        {
            std::lock_guard<std::mutex> g(g_BarcodeLock);
            std::memcpy(text, g_BarcodeTable.rows[slot + 1], kBarcodeTextLen);
        }
        return WriteTextReply(ifc, text), 0;
    }
    const char* text;
    // The item's length counts the parser's terminating zero.
    const int size = scpiGetString(ifc, 1, &text);
    if (size < 1) return Refuse(ifc, kScpiErrSystem);
    const size_t len = static_cast<size_t>(size - 1);
    if (len < 1 || len > static_cast<size_t>(kBarcodeTextLen) || std::strlen(text) != len)
        return Refuse(ifc, kScpiErrInvalidString);
    if (BarcodeRemoteTeach(slot, text) < 0) return Refuse(ifc, kScpiErrExecution);
    return 0;
}

int CmdSystBeepStat(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) == 1) return WriteSignedReply(ifc, paramGetValue(kParamBuzzer, 0)), 0;
    if (RemoteSettingBlocked()) return Refuse(ifc, RemoteBlockedRow());
    int32_t on;
    if (const uint32_t row = ChoiceOrNumberUpTo(ifc, 0, 1, &on); row != 0) return Refuse(ifc, row);
    paramPutValue(kParamBuzzer, on, 0);
    return 0;
}

int CmdSystCommEnab(ScpiInterface* ifc) {
    if (scpiIsQuery(ifc) != 1) return scpiRefuseHeader(ifc);
    int32_t which;
    if (scpiGetChoice(ifc, 0, &which) != 0) return Refuse(ifc, kScpiErrParameter);
    int32_t state;
    switch (which) {
        case 0:
            state = GpibEnabled() ? 1 : 0;
            break;
        case 1:
            state = 1;
            break;
        case 2:
            state = LanCfgRead().SOCKETS;
            break;
        case 3:
            state = LanCfgRead().WEB;
            break;
        case 4:
            state = std::atomic_ref<uint8_t>(g_IfaceCfg.rs232Enable).load(std::memory_order_relaxed);
            break;
        default:
            return Refuse(ifc, kScpiErrDataOutOfRange);
    }
    return WriteSignedReply(ifc, state), 0;
}

int CmdSystCommGpibAddr(ScpiInterface* ifc) {
    if (g_GpibPresent.load(std::memory_order_acquire) == 0) return Refuse(ifc, kScpiErrExecution);
    if (scpiIsQuery(ifc) == 1) return WriteSignedReply(ifc, static_cast<int32_t>(IfaceGpibAddress())), 0;
    int32_t address;
    if (const uint32_t row = IntWithin(ifc, 0, kGpibAddressMax, &address); row != 0) return Refuse(ifc, row);
    StageGpibAddress(address);
    return 0;
}

int CmdSystCommIntAddr(ScpiInterface* ifc) {
    const bool query = scpiIsQuery(ifc) == 1;
    int32_t id;
    if (CanopenCard()) {
        if (query) return WriteSignedReply(ifc, static_cast<int32_t>(Load(g_IfaceCfg.canopenNodeId))), 0;
        if (const uint32_t row = IntWithin(ifc, kCanopenIdMin, kCanopenIdMax, &id); row != 0)
            return Refuse(ifc, row);
        if (static_cast<uint32_t>(id) == Load(g_IfaceCfg.canopenNodeId)) return 0;
        Store(g_IfaceCfg.canopenNodeId, static_cast<uint32_t>(id));
        g_FieldbusChangeFlags.canopenChanged.store(1, std::memory_order_release);
        return 0;
    }
    if (DnetCard()) {
        if (query) return WriteSignedReply(ifc, static_cast<int32_t>(Load(g_IfaceCfg.devicenetMacId))), 0;
        if (const uint32_t row = IntWithin(ifc, 0, kDnetIdMax, &id); row != 0) return Refuse(ifc, row);
        if (static_cast<uint32_t>(id) == Load(g_IfaceCfg.devicenetMacId)) return 0;
        Store(g_IfaceCfg.devicenetMacId, static_cast<uint32_t>(id));
        g_FieldbusChangeFlags.devicenetChanged.store(1, std::memory_order_release);
        return 0;
    }
    if (!GpibEnabled()) return Refuse(ifc, kScpiErrExecution);
    if (query) return WriteSignedReply(ifc, static_cast<int32_t>(IfaceGpibAddress())), 0;
    if (const uint32_t row = IntWithin(ifc, 0, kGpibAddressMax, &id); row != 0) return Refuse(ifc, row);
    StageGpibAddress(id);
    return 0;
}

int CmdSystCommIntBaud(ScpiInterface* ifc) {
    const bool canopen = CanopenCard();
    if ((!canopen && !DnetCard()) || GpibEnabled()) return Refuse(ifc, kScpiErrExecution);
    uint32_t& code = canopen ? g_IfaceCfg.canopenBaud : g_IfaceCfg.devicenetBaud;
    const int32_t autoCode = canopen ? kCanopenAuto : kDnetAuto;
    if (scpiIsQuery(ifc) == 1) {
        const uint32_t c = Load(code);
        if (c > static_cast<uint32_t>(autoCode)) return WriteSignedReply(ifc, static_cast<int32_t>(c)), 0;
        return WriteTextReply(ifc, canopen ? kCanopenBauds[c] : kDnetBauds[c]), 0;
    }
    int32_t v, next = -1;
    if (scpiGetChoice(ifc, 0, &v) == 0) {
        if (v != 0) return Refuse(ifc, kScpiErrParameter);
        next = autoCode;
    } else if (scpiGetInt(ifc, 0, &v) == 0) {
        // The rates of both cards in code order; Auto, the last code, is a choice only.
        for (int32_t c = 0; c < autoCode && next < 0; ++c)
            if (v == kBaudRates[c]) next = c;
    }
    if (next < 0) return Refuse(ifc, kScpiErrParameter);
    Store(code, static_cast<uint32_t>(next));
    if (canopen) g_FieldbusChangeFlags.canopenChanged.store(1, std::memory_order_release);
    return 0;
}

}  // namespace scpi
