#pragma once
// Conversion between one unit (phase) of the parameter store and a settings block 1-6 of the
// non-volatile memory, the default blocks, and the re-basing of a stored block on new limits.
#include <cstdint>

#include "core/params/param_rec.h"

// Packs unit 0-2's current values into the RAM image of block kind 1-6, seals and stages it; with write
// set also writes it. The NvSaveResult of the block.
int32_t BackupBlockPack(uint32_t unit, int kind, bool write);

// Direction 1 packs unit 0-2's current values into the RAM image of block kind 1-6 (sealed and staged, not
// written); direction 0 unpacks the image into the unit: bytes sign-extended except the waveform number,
// the voltages into the records of every waveform, the VCA fields only when its three frequency words are
// non-zero, the Vpp voltage limits clamped to their defaults. 0, or kNvBadKind.
int32_t BackupBlockConvert(int direction, uint32_t unit, int kind);

// Fills block index+1 (index 0-5) from the default values of the records (range codes, waveform, duty and
// phase values as they stand); with write set also writes it. The NvSaveResult of the block.
int32_t BackupBlockPackDefaults(int index, int write);
// Phase mode 3P4W and the six default blocks written. The first failure, or kNvSaved.
int32_t BackupSettingsPackAll();

// Re-base stored block kind 1-6 on new limits: the unit's frequency and current records are built again
// from the model tables (BackupBlockPackAndWrite: the parallel rows and currents times the parallel unit
// count; BackupBlockPackStandalone: the single-unit ones), and the block read from the memory takes their
// values and is written at offset. -200 when the stored block fails its checksum (nothing written).
int32_t BackupBlockPackAndWrite(int kind, uint32_t unit, uint32_t offset);
int32_t BackupBlockPackStandalone(int kind, uint32_t unit, uint32_t offset);
// Re-bases all six settings blocks (kinds 1-6 of units 0, 1, 2, 0, 0, 1 at their own offsets) on the
// parallel (parallel set) or the stand-alone limits: the parallel master's join and stop.
void BackupBlocksRebaseAll(int parallel);
