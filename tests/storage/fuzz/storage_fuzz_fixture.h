#pragma once
// One fuzz input through a reader of stored or received data, on a temporary instrument root with the
// factory-default store of model type 2 and the simulated NV memory. Each input is read as it is and, when
// it has the size of its kind, once more with its checksum made right, so that the checks behind the
// checksum are reached too. A broken invariant aborts (the fuzzer keeps the input). Shared by the libFuzzer
// targets (tests/storage/fuzz/*_fuzz.cpp) and the seed replay test (StorageFuzzReplay).
#include <cstddef>
#include <cstdint>

namespace storagefuzz {

// For a fuzz target: the environment, made once and removed when the process exits. A test makes its
// own with Environment.
void Start();

class Environment {
  public:
    Environment();
    ~Environment();
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

  private:
    struct Parts;
    Parts* parts_;
};

// "Preset<n>.Set" received over a remote interface.
void PresetFileOne(const uint8_t* data, size_t size);
// A waveform: an own or "F001Strong" image (remote and from USB memory, by its size), 8192 raw sample
// bytes, or the head of a waveform editor's wdb file.
void ArbFileOne(const uint8_t* data, size_t size);
// The barcode code table file.
void BarcodeFileOne(const uint8_t* data, size_t size);
// A phase's calibration file on USB memory.
void CalibrationFileOne(const uint8_t* data, size_t size);
// An NV block: the first byte chooses it (modulo 10: 0 block 0, the identity and the SpecialData power-on
// settings; 1-6 the settings blocks; 7-9 the preset backups), the rest is its image.
void NvBlockOne(const uint8_t* data, size_t size);
// The configuration text in the NV memory.
void ConfigTextOne(const uint8_t* data, size_t size);
// The record of the stored data's damage said at a start (/mnt/tst/Special/DamageTold).
void ToldRecordOne(const uint8_t* data, size_t size);

}  // namespace storagefuzz
