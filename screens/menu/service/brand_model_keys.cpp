#include "screens/menu/service/brand_model_keys.h"

#include <cstdio>
#include <cstring>

#include "core/params/access/key_entry.h"
#include "core/params/defaults/param_init.h"
#include "core/params/presets/preset_store.h"
#include "core/regbus/reg_write.h"
#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "core/system/messaging/msg_ring.h"
#include "core/system/state/edit_state.h"
#include "core/system/state/menu_state_ids.h"
#include "core/system/state/sys_status.h"
#include "drivers/panel_link.h"
#include "engine/seqsim/seqsim_mem_slots.h"
#include "panel/edit/edit_common.h"
#include "platform/host/clock.h"
#include "platform/sandbox/sandbox.h"
#include "screens/menu/editors/menu_editor.h"
#include "screens/menu/editors/typed_number.h"
#include "screens/menu/rows/row_entries.h"
#include "storage/files/arb_file.h"
#include "storage/nv/config_text.h"
#include "storage/nv/nv_blocks.h"
#include "storage/nv/nv_power_on.h"
#include "storage/nv/nv_settings_convert.h"
#include "sysadmin/firmware/brand_files.h"
#include "sysadmin/firmware/brand_table.h"
#include "sysadmin/firmware/brand_web_images.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr uint32_t kBrandRow = kMenuFirmType, kModelRow = kMenuModelType;
constexpr int32_t kBrandLast = static_cast<int32_t>(kBrandCount) - 1, kModelCodeMax = 9999;
constexpr uint32_t kSettleMs = 1000;

int32_t Work() {
    return g_EditParam.workValue.load(kRelaxed);
}

void SyncAndSettle() {
    plat::System("sync");
    plat::SleepMs(kSettleMs);
}

void ChangeBrand() {
    int32_t brand = Work();
    const bool typed = panel::edit::EntryPending();
    const bool taken = typed ? TypedWholeWithin(0, kBrandLast, &brand) : brand >= 0 && brand <= kBrandLast;
    menuResetEdit();
    if (!taken) return;
    const uint32_t old = g_BrandId.load(std::memory_order_acquire);
    if (static_cast<uint32_t>(brand) == old) {
        ShowMessage(1, "Doesn't Change");
        return;
    }
    char text[96];
    std::snprintf(text, sizeof text, "%s => %s", BrandRowOf(old).code, BrandRowOf(brand).code);
    g_BrandId.store(static_cast<uint32_t>(brand), std::memory_order_release);
    const bool fileWritten = BrandFileWrite() == 0;
    const bool imagesCopied = CopyBrandWebImages() == 0;
    const bool logoWritten = BootLogoWrite() == 0;
    // Each part that failed adds its line: the popup never reports a change that did not happen.
    int lines = 2;
    const auto failed = [&](bool done, const char* line) {
        if (done) return;
        std::strncat(text, line, sizeof text - std::strlen(text) - 1);
        ++lines;
    };
    failed(fileWritten, "\nFirm File Write Fail");
    failed(imagesCopied, "\nWeb Image Copy Fail");
    failed(logoWritten, "\nBoot Logo Write Fail");
    // The text holds only the brand table's codes and fixed lines: nothing in it reads as a conversion.
    ShowMessage(lines, text);
}

const ModelRow* ModelOfCode(int32_t number) {
    char code[16];
    std::snprintf(code, sizeof code, "%d", number);
    for (const ModelRow& row : g_ModelTable)
        if (std::strcmp(row.code, code) == 0) return &row;
    return nullptr;
}

void ResetToModel() {
    FactoryDefaultExec();
    SeqMem_ClearAll();
    SimMem_ClearAll();
    SetDefaultAll();
    BusReg_SetModelType(
        static_cast<int32_t>(core::VaClassOfModel(g_ModelId.load(std::memory_order_acquire))));
    PresetClearAll();
    ArbDeleteAll();
    // The model type is set on purpose: written over a block 0 held since a failed load.
    NvBlockRelease(0);
    SpecialDataPack();
    BackupSettingsPackAll();
    SyncAndSettle();
    SaveSystemConfig();
    ShowMessageHold("Reboot");
    SyncAndSettle();
    sysRebootRequest();
}

void ChangeModel() {
    int32_t number = Work();
    const bool known = !panel::edit::EntryPending() || TypedWholeWithin(0, kModelCodeMax, &number);
    menuResetEdit();
    const ModelRow* row = known ? ModelOfCode(number) : nullptr;
    if (row == nullptr) {
        ShowMessage(1, "Model Error");
        MenuEdit_ReturnToRow(kModelRow);
        return;
    }
    g_ModelId.store(row->index, std::memory_order_release);
    const uint32_t brand = g_BrandId.load(std::memory_order_acquire);
    const char* name = row->name[brand < kBrandCount ? brand : 0];
    IdentityTextWrite(g_ModelName, sizeof g_ModelName, name, std::strlen(name));
    SyncAndSettle();
    ResetToModel();
}
}  // namespace

void KeyProcess_8623_FirmEdit(uint32_t* ev) {
    if (MenuEdit_CommonClasses(ev)) return;
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    if (cls == kClassCursor && code == kKeyKnob) {
        MenuEdit_StepChoice(KeyEventDelta(*ev), kBrandLast);
    } else if (cls == kClassKeypad && code == kKeyExit) {
        MenuEdit_Exit(kBrandRow);
    } else if (cls == kClassKeypad && code == kKeyEnter) {
        ChangeBrand();
        MenuEdit_ReturnToRow(kBrandRow);
    }
}

void KeyProcess_8623_ModelEdit(uint32_t* ev) {
    if (MenuEdit_CommonClasses(ev)) return;
    const uint8_t cls = KeyEventClass(*ev), code = KeyEventCode(*ev);
    if (cls == kClassCursor) {
        MenuEdit_NumericKey(*ev);
    } else if (cls == kClassKeypad && code == kKeyExit) {
        MenuEdit_ReturnToRow(kModelRow);
    } else if (cls == kClassKeypad && code == kKeyEnter) {
        ChangeModel();
    }
}
