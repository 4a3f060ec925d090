#pragma once
// The rest of a new unit's non-volatile memory, written once with block 0 (FactoryUnitWrite), so that the
// unit's first start loads every block soundly instead of reporting erased ones as damaged.
#include <cstdint>

// The six settings blocks at their defaults (phase mode 3P4W), the three preset backups with every preset
// cleared, and the configuration text of the settings in force. Run after the model's defaults and the
// LAN defaults are in place. kNvSaved, or the first failure's NvSaveResult.
int32_t FactoryMemoryWrite();
