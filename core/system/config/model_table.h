#pragma once
// The model types of the instrument and the identity and check words that the default setting fills.
#include <atomic>
#include <cstdint>

// The unit a model is built of, as g_VaClass and the power stage's model-type register take it.
enum ModelFamily : uint32_t { kFamilyNone = 0, kFamily4k5 = 1, kFamily6k = 2 };

struct ModelRow {
    uint32_t index;       // model type
    const char* code;     // 4-digit model code, also the model's default service password
    const char* name[3];  // model name per brand
    uint32_t vaRating;    // of one unit
    ModelFamily family;
    uint32_t units;          // 1 a single unit, 2-6 a parallel system of that many units, 0 no model
    uint32_t caliCurrGroup;  // the group of current calibration points (param_defaults_cali.cpp)
};

inline constexpr uint32_t kModelTypes = 12;
// Model type 0 (no model) minus one: no parameter records are built for it.
inline constexpr uint32_t kModelClassUnset = UINT32_MAX;

// One row per model type; the family, units and calibration-group columns are checked against the model's
// currents while compiling (param_defaults_curr.cpp).
// clang-format off
inline constexpr ModelRow g_ModelTable[kModelTypes] = {
    {0, "9462", {"VRN", "VRN", "VRN"}, 0, kFamilyNone, 0, 0},
    {1, "4145", {"VRN-4145", "VRN345-351", "TBD"}, 4500, kFamily4k5, 1, 0},
    {2, "4160", {"VRN-4160", "VRN360-351", "TBD"}, 6000, kFamily6k, 1, 1},
    {3, "4509", {"VRN-4145-09", "TBD", "TBD"}, 4500, kFamily4k5, 2, 2},
    {4, "4513", {"VRN-4145-13.5", "TBD", "TBD"}, 4500, kFamily4k5, 3, 0},
    {5, "4522", {"VRN-4145-22.5", "TBD", "TBD"}, 4500, kFamily4k5, 5, 0},
    {6, "4527", {"VRN-4145-27", "TBD", "TBD"}, 4500, kFamily4k5, 6, 0},
    {7, "6012", {"VRN-4160-12", "TBD", "TBD"}, 6000, kFamily6k, 2, 1},
    {8, "6018", {"VRN-4160-18", "TBD", "TBD"}, 6000, kFamily6k, 3, 1},
    {9, "6024", {"VRN-4160-24", "TBD", "TBD"}, 6000, kFamily6k, 4, 1},
    {10, "6030", {"VRN-4160-30", "TBD", "TBD"}, 6000, kFamily6k, 5, 1},
    {11, "6036", {"VRN-4160-36", "TBD", "TBD"}, 6000, kFamily6k, 6, 1},
};
// clang-format on

// A model type outside the table is no model: no family, neither a single unit nor a parallel system.
constexpr const ModelRow& ModelRowOf(uint32_t modelType) {
    return g_ModelTable[modelType < kModelTypes ? modelType : 0];
}
constexpr bool IsParallelSystem(uint32_t modelType) {
    return ModelRowOf(modelType).units > 1;
}
constexpr bool IsSingleUnit(uint32_t modelType) {
    return ModelRowOf(modelType).units == 1;
}

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

// The model's family (ModelFamily); 0 before a model is set.
extern std::atomic<uint32_t> g_VaClass;
// The two further interface-present bytes set beside the RS232 one.
extern std::atomic<uint8_t> g_IfacePresentMore[2];
// The controller's firmware version: the high byte of the power-stage status word.
extern std::atomic<uint32_t> g_CtrlFwVersion;

constexpr uint32_t VaClassOfModel(uint32_t modelType) {
    return ModelRowOf(modelType).family;
}

}  // namespace core
