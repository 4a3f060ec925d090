#include "core/system/config/model_table.h"

// clang-format off
constexpr ModelRow g_ModelTable[kModelTypes] = {
    {0, "9462", {"VRN", "VRN", "VRN"}, 0},
    {1, "4145", {"VRN-4145", "VRN345-351", "TBD"}, 4500},
    {2, "4160", {"VRN-4160", "VRN360-351", "TBD"}, 6000},
    {3, "4509", {"VRN-4145-09", "TBD", "TBD"}, 4500},
    {4, "4513", {"VRN-4145-13.5", "TBD", "TBD"}, 4500},
    {5, "4522", {"VRN-4145-22.5", "TBD", "TBD"}, 4500},
    {6, "4527", {"VRN-4145-27", "TBD", "TBD"}, 4500},
    {7, "6012", {"VRN-4160-12", "TBD", "TBD"}, 6000},
    {8, "6018", {"VRN-4160-18", "TBD", "TBD"}, 6000},
    {9, "6024", {"VRN-4160-24", "TBD", "TBD"}, 6000},
    {10, "6030", {"VRN-4160-30", "TBD", "TBD"}, 6000},
    {11, "6036", {"VRN-4160-36", "TBD", "TBD"}, 6000},
};
// clang-format on

std::atomic<uint32_t> g_ModelId{0};
std::atomic<uint32_t> g_ModelClass{kModelClassUnset};
char g_ModelName[32];
char g_ServicePassword[8];
std::atomic<uint32_t> g_RatedVA{0};
std::atomic<uint32_t> g_IfaceCardKind{0};
std::atomic<uint8_t> g_Rs232Present{0};
std::atomic<uint8_t> g_GpibPresent{0};
std::atomic<uint32_t> g_ModuleErrMask{0};
std::atomic<uint32_t> g_FwErrMask{0};

namespace core {
std::atomic<uint32_t> g_VaClass{0};
std::atomic<uint8_t> g_IfacePresentMore[2];
std::atomic<uint32_t> g_CtrlFwVersion{0};
}  // namespace core
