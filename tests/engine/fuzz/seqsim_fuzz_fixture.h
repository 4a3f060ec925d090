#pragma once
// One fuzz input through the SEQ or SIM memory file readers on a temporary instrument root with the
// simulated power stage: loaded from the internal store and imported as a remote image, then the loaded
// steps are read and re-set through the step accessors, as the panel and the remote commands would. A
// broken invariant aborts (the fuzzer keeps the input). Shared by the libFuzzer targets
// (tests/engine/fuzz/seqsim_fuzz_target.cpp) and the seed replay test (SeqSimFuzzReplay).
#include <cstddef>
#include <cstdint>

namespace seqsimfuzz {

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

// A SEQ file is 1.2 MB: the input describes one as changes to the file that SeqBuildFile makes of the
// default steps. Byte 0: bit 0 makes the trailer right after the changes; bits 1-2 the length written (0
// the full size, 1 that of the older, shorter file, 2 one byte short, 3 one byte more). Then changes,
// each starting with a tag byte, taken modulo 3: 0 a step word (phase, table, step as u16, word index,
// u32 value), 1 a configuration word (offset in the block, u16 value), 2 a header byte (offset modulo
// 64, value). All numbers big-endian.
void SeqFileOne(const uint8_t* data, size_t size);
// A SIM file as it is, and once more with its trailer made right when it has the file's size.
void SimFileOne(const uint8_t* data, size_t size);
// A memory names file read at start as it is, and once more with its sum made right when it has the
// file's size: taken whole and written back unchanged, or every name empty.
void NamesFileOne(const uint8_t* data, size_t size);
// A record of the stored memories read at start: it names only memories there are, and what it names is
// kept when the start records the memories it finds.
void StoredRecordOne(const uint8_t* data, size_t size);

}  // namespace seqsimfuzz
