#pragma once
// Which non-volatile blocks are saved and loaded, and when: block 0 (identity and power-on settings) and
// the settings blocks of the phase mode in force. Writes are skipped while non-volatile writing is
// disabled; a block whose checksum is 0 or wrong is never applied, and the defaults used in its place
// are not saved over it until they change (nv_blocks.h: held blocks).
#include <cstdint>

// Power-on settings and identity into block 0, written (unless disabled). The block's NvSaveResult.
int32_t BackupSaveSystem();
// Everything the next start loads: the phase blocks of the phase mode in force, the presets' backups,
// the phase mode in block 0 (and its file copy), the configuration text and block 0. Run before a
// restart and on the alarm monitor's backup request.
void SettingsBackupSaveAll();

// Reads block 0; when its checksum fails, mends it from its file copy (IdentityBlockRestore), saying so
// on the console and in the popup. When either holds, applies the identity (a brand id above 2 and a
// model id of 12 or more become 0); otherwise model and brand id become 0, and a block that held data is
// said on the console. Each damage is said once (data_reset_note.h). 0, or the failed read's result.
int32_t IdentityBlockLoad();
// Whether the last IdentityBlockLoad found a unit in use: block 0, read or mended from its copy, names a
// model type. A new unit's first start does not, although it writes the factory's block 0 before it ends:
// a stored file such a start finds missing was never written.
bool IdentityFoundInUse();
// Applies the power-on settings of block 0 when its checksum holds (or deletes all stored data when
// the block asks for it). 1 when applied or deleted, 0 when not.
int SpecialDataLoad();

// Packs unit 0-2 into settings block kind 1-6 and writes it at offset (the kind's own). NvSaveResult.
int32_t BackupBlockSave(int kind, uint32_t unit, uint32_t offset);
// Saves the blocks of phase mode 0-2 (3P4W: 1-3, 1P2W: 4, 1P3W: 5-6); another value saves nothing.
// The first failure, or kNvSaved.
int32_t BackupSavePhaseSettings(uint32_t phaseMode);

// Reads settings block kind; applies it to unit 0-2 only when its checksum holds. A block that held data,
// or any block of a unit in use (NvBlocksInUse: an erased one too), that fails is said on the console,
// once per damage. 0, or the read's result.
int32_t BackupBlockLoadChecked(int kind, uint32_t unit);
// With restore set, first takes the phase mode from block 0's image (0-2 only); then loads the blocks of
// the phase mode in force.
void BackupLoadPhaseSettings(int restore);

// A unit fresh from the factory. FactoryUnitRequest (before the menu/control thread starts) names its
// model type 1-11; after block 0 was loaded, FactoryUnitIdentity gives the unit that model type, brand 0
// and a serial number (true when requested); once the defaults of the model are built,
// FactoryUnitWrite writes block 0 with them. The request is taken once.
void FactoryUnitRequest(uint32_t model);
bool FactoryUnitIdentity();
int32_t FactoryUnitWrite();
