#include "core/system/config/model_table.h"

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
