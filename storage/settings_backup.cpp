#include "storage/settings_backup.h"

#include <cstdint>

#include "core/params/param_access.h"
#include "storage/nv_blocks.h"

void SettingsBackupSaveAll() {
    // In this order: the phase settings of the current phase mode (BackupSavePhaseSettings), the presets
    // (PresetBackupSaveAll), block 0, the configuration text (SaveSystemConfig) and the system block
    // (BackupSaveSystem). Of these only block 0's saver exists so far; the others join here.
    SpecialDataSave(static_cast<uint8_t>(GetPhaseMode()));
}
