#pragma once
// The model types of the instrument and the identity and check words that the default setting fills.
#include <atomic>
#include <cstdint>

struct ModelRow {
    uint32_t index;       // model type
    const char* code;     // 4-digit model code, also the model's default service password
    const char* name[3];  // model name per brand
    uint32_t vaRating;
};

inline constexpr uint32_t kModelTypes = 12;
// Model type 0 (no model) minus one: no parameter records are built for it.
inline constexpr uint32_t kModelClassUnset = UINT32_MAX;
extern const ModelRow g_ModelTable[kModelTypes];

extern std::atomic<uint32_t> g_ModelId;        // ModelType 0..11, set at the factory
extern std::atomic<uint32_t> g_ModelClass;     // model type - 1 (0..10), kModelClassUnset for model type 0
extern char g_ModelName[32];                   // model name shown and written into files
extern char g_ServicePassword[8];              // the settable 4-digit service password
extern std::atomic<uint32_t> g_RatedVA;        // VA rating of the model
extern std::atomic<uint32_t> g_IfaceCardKind;  // 0 none, 1..3 by the card detected
extern std::atomic<uint8_t> g_Rs232Present;
extern std::atomic<uint8_t> g_GpibPresent;  // 1 when any interface card was detected
// Bit p set: phase p's power module (g_ModuleErrMask) or its firmware (g_FwErrMask) does not fit the
// model; the output stays off while either is non-zero.
extern std::atomic<uint32_t> g_ModuleErrMask;
extern std::atomic<uint32_t> g_FwErrMask;

namespace core {

// 1 = 4.5 kVA family (model types 1, 3-6), 2 = 6 kVA family (2, 7-11); 0 before a model is set.
extern std::atomic<uint32_t> g_VaClass;
// The two further interface-present bytes set beside the RS232 one.
extern std::atomic<uint8_t> g_IfacePresentMore[2];
// The controller's firmware version: the high byte of the power-stage status word.
extern std::atomic<uint32_t> g_CtrlFwVersion;

constexpr uint32_t VaClassOfModel(uint32_t modelType) {
    if (modelType == 1 || (modelType >= 3 && modelType <= 6)) return 1;
    if (modelType == 2 || (modelType >= 7 && modelType <= 11)) return 2;
    return 0;
}

}  // namespace core
