// ZCALib: the factory's commands behind its password: MAC address, brand, model type and serial number.
#include <atomic>
#include <cstring>

#include "core/control/output_request.h"
#include "core/params/defaults/param_init.h"
#include "core/params/param_store.h"
#include "core/params/presets/preset_store.h"
#include "core/regbus/reg_write.h"
#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/output_flags.h"
#include "core/system/state/sys_status.h"
#include "engine/seqsim/seqsim_mem_slots.h"
#include "platform/host/clock.h"
#include "platform/sandbox/sandbox.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/handlers/scpi_handler.h"
#include "scpi/handlers/scpi_handlers.h"
#include "scpi/handlers/scpi_refusals.h"
#include "scpi/parser/scpi_errors.h"
#include "storage/files/arb_file.h"
#include "storage/nv/config_text.h"
#include "storage/nv/nv_blocks.h"
#include "storage/nv/nv_identity_convert.h"
#include "storage/nv/nv_power_on.h"
#include "storage/nv/nv_settings_convert.h"
#include "sysadmin/firmware/fw_update.h"
#include "sysadmin/net/net_addr.h"
#include "sysadmin/net/net_commands.h"

namespace scpi {
namespace {

// One row per brand; the rebrands keep the maker's password.
constexpr char kFactoryPassword[3][16] = {"kqv517", "kqv517", "kqv517"};
constexpr size_t kMacTextLen = 17;
constexpr size_t kModelCodeMax = 11;
constexpr size_t kSerialKept = sizeof g_SerialNo - 1;
constexpr uint32_t kSettleMs = 1000;

int Refuse(ScpiInterface* ifc, uint32_t row) {
    scpiSetError(ifc, row);
    return 0;
}

bool FactoryAccess() {
    return (g_ParamFlags.load(std::memory_order_acquire) & core::kFlagFactoryAccess) != 0;
}

// These texts reach *IDN?, the host name, the USB serial and the configuration files: printable ASCII only.
bool Printable(const char* text, size_t len) {
    for (size_t i = 0; i < len; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c > 0x7E) return false;
    }
    return true;
}

// The first parameter as a string: 0 with its text and length, else the error row. A zero byte inside
// the item counts as a character that is not printable.
uint32_t TextParam(const ScpiInterface* ifc, const char** text, size_t* len) {
    const int size = scpiGetString(ifc, 0, text);
    if (size < 1) return kScpiErrSystem;
    *len = static_cast<size_t>(size - 1);
    if (std::strlen(*text) != *len || !Printable(*text, *len)) return kScpiErrInvalidString;
    return 0;
}

// The check every command but APASs and MFRS:QX makes first: a string, then the factory access.
uint32_t FactoryText(const ScpiInterface* ifc, const char** text, size_t* len) {
    const char* t;
    if (scpiGetString(ifc, 0, &t) < 1) return kScpiErrSystem;
    if (!FactoryAccess()) return kScpiErrProtected;
    return TextParam(ifc, text, len);
}

void SwitchOutputOff() {
    if (OutputFlagTest(kOutFlagOutputOn)) (void)OutputToggle();
}

void Settle() {
    (void)plat::System("sync");
    plat::SleepMs(kSettleMs);
}

}  // namespace

int CmdZcalApas(ScpiInterface* ifc) {
    const char* text;
    if (scpiGetString(ifc, 0, &text) < 1) return Refuse(ifc, kScpiErrSystem);
    const uint32_t brand = g_BrandId.load(std::memory_order_relaxed);
    // The whole text, case and length included: a prefix or a longer text is not the password.
    if (std::strcmp(text, kFactoryPassword[brand < 3 ? brand : 0]) != 0)
        return Refuse(ifc, kScpiErrSettingsConflict);
    SwitchOutputOff();
    g_ParamFlags.fetch_or(core::kFlagFactoryAccess, std::memory_order_acq_rel);
    IdentityBlockSync(1);
    (void)IdentityBlockWrite();
    return 0;
}

int CmdZcalMac(ScpiInterface* ifc) {
    const char* text;
    size_t len;
    if (const uint32_t row = FactoryText(ifc, &text, &len); row != 0) return Refuse(ifc, row);
    if (len != kMacTextLen || MacTextValidate(text) != 0) return Refuse(ifc, kScpiErrInvalidString);
    IdentityTextWrite(g_MacText, sizeof g_MacText, text, len);
    (void)MacTextNormalise();
    (void)plat::System("sync");
    if (SetMacAddress() < 0) {
        (void)ReadMacAddress();
        return Refuse(ifc, kScpiErrStorageFault);
    }
    return 0;
}

int CmdZcalMfrs(ScpiInterface* ifc) {
    const char* text;
    size_t len;
    if (const uint32_t row = FactoryText(ifc, &text, &len); row != 0) return Refuse(ifc, row);
    const int brand = BrandCodeLookup(text);
    if (brand < 0) return Refuse(ifc, kScpiErrInvalidString);
    if (g_BrandId.load(std::memory_order_relaxed) != static_cast<uint32_t>(brand)) {
        g_BrandId.store(static_cast<uint32_t>(brand), std::memory_order_release);
        BuildIdnString();
    }
    return 0;
}

int CmdZcalMfrsQx(ScpiInterface* ifc) {
    if (!FactoryAccess()) return Refuse(ifc, kScpiErrProtected);
    SwitchOutputOff();
    g_BrandId.store(0, std::memory_order_release);
    BuildIdnString();
    // The archive's own checks decide; a missing archive leaves the pages in place.
    (void)FwUpd_WebFromTar();
    return 0;
}

int CmdZcalMtyp(ScpiInterface* ifc) {
    const char* text;
    size_t len;
    if (const uint32_t row = FactoryText(ifc, &text, &len); row != 0) return Refuse(ifc, row);
    if (len < 1 || len > kModelCodeMax) return Refuse(ifc, kScpiErrInvalidString);
    const ModelRow* row = nullptr;
    for (const ModelRow& r : g_ModelTable)
        if (std::strcmp(r.code, text) == 0) row = &r;
    if (row == nullptr) return Refuse(ifc, kScpiErrInvalidString);
    g_ModelId.store(row->index, std::memory_order_release);
    const uint32_t brand = g_BrandId.load(std::memory_order_relaxed);
    const char* name = row->name[brand < 3 ? brand : 0];
    IdentityTextWrite(g_ModelName, sizeof g_ModelName, name, std::strlen(name));
    Settle();
    FactoryDefaultExec();
    SeqMem_ClearAll();
    SimMem_ClearAll();
    (void)SetDefaultAll();
    (void)BusReg_SetModelType(static_cast<int32_t>(core::VaClassOfModel(row->index)));
    PresetClearAll();
    ArbDeleteAll();
    // The model type is set on purpose: written over a block 0 held since a failed load.
    NvBlockRelease(0);
    SpecialDataPack();
    // The model type is kept in the identity block: written with the packed special data, so that the
    // start after the reboot builds the new model.
    IdentityBlockSync(1);
    (void)IdentityBlockWrite();
    (void)BackupSettingsPackAll();
    Settle();
    (void)SaveSystemConfig();
    (void)ShowMessageHold("Reboot");
    Settle();
    sysRebootRequest();
    return 0;
}

int CmdZcalProg(ScpiInterface* ifc) {
    const char* text;
    size_t len;
    if (const uint32_t row = FactoryText(ifc, &text, &len); row != 0) return Refuse(ifc, row);
    // Cut so that the terminator stays within the field; an empty text clears it.
    IdentityTextWrite(g_SerialNo, sizeof g_SerialNo, text, len < kSerialKept ? len : kSerialKept);
    BuildIdnString();
    return 0;
}

}  // namespace scpi
