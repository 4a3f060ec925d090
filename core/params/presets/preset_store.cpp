#include "core/params/presets/preset_store.h"

#include <cstring>

uint8_t g_PresetStore[kPresetPhases][kPresetCount][kPresetRecordSize];

uint8_t* PresetRecord(uint32_t n, uint32_t p) {
    if (n >= kPresetCount || p >= kPresetPhases) return nullptr;
    return g_PresetStore[p][n];
}

int32_t PresetWordGet(const uint8_t* record, uint32_t k) {
    int32_t v;
    std::memcpy(&v, record + 4 * k, 4);
    return v;
}

void PresetWordPut(uint8_t* record, uint32_t k, int32_t v) {
    std::memcpy(record + 4 * k, &v, 4);
}
