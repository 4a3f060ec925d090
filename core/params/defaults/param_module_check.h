#pragma once
// Start-up checks that the power modules and their firmware fit the model type.
#include <cstdint>

namespace core {

// Reads the module-ready registers of the three phases (a 1 us pause after each); when all are ready, keeps
// each phase's module class and sets its bit of g_ModuleErrMask when it differs from the VA class.
void PowerModuleCheck(uint32_t vaClass);
// Keeps the controller's version (high byte of the status word) and each phase's firmware version, and
// sets a phase's bit of g_FwErrMask when its version differs from the controller's.
void FirmwareVersionCheck();

}  // namespace core
