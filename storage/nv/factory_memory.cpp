#include "storage/nv/factory_memory.h"

#include "core/params/presets/preset_store.h"
#include "storage/nv/config_text.h"
#include "storage/nv/nv_blocks.h"
#include "storage/nv/nv_settings_convert.h"
#include "storage/nv/preset_backup.h"

int32_t FactoryMemoryWrite() {
    int32_t result = BackupSettingsPackAll();
    PresetClearAll();
    const int32_t presets = PresetBackupSaveAll();
    if (result == kNvSaved) result = presets;
    // The text's length, or 0 / -1 when nothing or not all of it was written.
    if (SaveSystemConfig() <= 0 && result == kNvSaved) result = kNvWriteFailed;
    return result;
}
