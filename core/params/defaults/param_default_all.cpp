// The whole default setting for the current model type.
#include <cstring>

#include "core/params/defaults/param_init.h"
#include "core/params/defaults/param_module_check.h"
#include "core/params/param_store.h"
#include "core/system/config/identity.h"
#include "core/system/config/iface_card_detect.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/model_table.h"

using namespace core;

namespace {

// Terminated within size.
void CopyText(char* dst, size_t size, const char* src) {
    IdentityTextWrite(dst, size, src, strnlen(src, size - 1));
}

// The records of unit 0 built from the miscellaneous, output-impedance and parallel rows.
void BuildMiscRecords(uint32_t model) {
    std::lock_guard<std::mutex> lock(g_ParamLock);
    ParamUnit& u0 = g_ParamStore.unit[0];
    for (const MiscRow& r : kMiscRows) {
        ParamRec* rec;
        if (r.id == kParamWaveShape) {
            rec = &u0.waveform;
        } else if (r.id == kParamWaveDuty) {
            rec = &u0.duty;
        } else if (r.id == kParamIpkLimitMode) {
            rec = &u0.ipkLimitMode;
        } else {
            rec = &g_ParamStore.global[GlobalIndexOfId(r.id)];
        }
        ParamRecInit(rec, r.row);
    }
    for (const MiscRow& r : kImpedanceRows)
        ParamRecInit(&g_ParamStore.global[GlobalIndexOfId(r.id)], r.row);
    const MiscRow* parallel[] = {&kParallelRows[0], &kParallelRows[1],
                                 &kParallelRows[IsSingleUnit(model) ? 2 : 3]};
    for (const MiscRow* r : parallel)
        ParamRecInit(&g_ParamStore.global[GlobalIndexOfId(r->id)], r->row);
}

}  // namespace

int SetDefaultAll() {
    // The card found by this detection, not the words, which the fieldbus thread may be detecting into.
    const int32_t card = IfaceCardDetect();
    IfaceUsbByteSet(0, static_cast<uint8_t>((IfaceUsbByte(0) & ~storage::kUsbSpeedMask) |
                                            (1u << storage::kUsbSpeedShift)));
    for (int i = 0; i < 3; ++i)
        IfaceLcdByteSet(i, 50);

    g_OutputModeIdx.store(0, std::memory_order_relaxed);
    g_ModuleErrMask.store(0, std::memory_order_relaxed);
    g_FwErrMask.store(0, std::memory_order_relaxed);
    g_DefaultTables.store(&kParamDefaultTables, std::memory_order_relaxed);

    const uint32_t model = g_ModelId.load(std::memory_order_relaxed);
    if (model == 0 || model >= kModelTypes) {
        // No model: only the identity texts; no record is built, nor by a later rebuild.
        g_ModelClass.store(kModelClassUnset, std::memory_order_relaxed);
        CopyText(g_ServicePassword, sizeof g_ServicePassword, g_ModelTable[0].code);
        CopyText(g_ModelName, sizeof g_ModelName, g_ModelTable[0].name[0]);
        return 0;
    }

    g_Rs232Present.store(1, std::memory_order_relaxed);
    for (auto& b : g_IfacePresentMore)
        b.store(1, std::memory_order_relaxed);
    uint32_t kind = 0;
    if (card == 3) {  // line 106
        kind = 1;
    } else if (card == 2) {  // line 17
        kind = 2;
    } else if (card == 1) {  // line 101
        kind = 3;
    }
    g_IfaceCardKind.store(kind, std::memory_order_relaxed);
    g_GpibPresent.store(kind != 0 ? 1 : 0, std::memory_order_relaxed);

    g_ModelClass.store(model - 1, std::memory_order_relaxed);
    const uint32_t vaClass = VaClassOfModel(model);
    g_VaClass.store(vaClass, std::memory_order_relaxed);

    const ModelRow& row = g_ModelTable[model];
    PowerModuleCheck(vaClass);
    g_RatedVA.store(row.vaRating, std::memory_order_relaxed);
    FirmwareVersionCheck();

    CopyText(g_ServicePassword, sizeof g_ServicePassword, row.code);
    uint32_t brand = g_BrandId.load(std::memory_order_relaxed);
    CopyText(g_ModelName, sizeof g_ModelName, row.name[brand < 3 ? brand : 0]);

    BuildMiscRecords(model);
    for (auto& code : g_ParamStore.rangeCode)
        code.store(0, std::memory_order_relaxed);
    ParamTableInit();
    return 0;
}
