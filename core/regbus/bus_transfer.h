#pragma once
// The register bus to the power stage: two byte-wide windows, 16-bit halves, and 32-bit transfers whose
// halves an index register (2304) selects. One mutex serialises every transfer of the process, so the
// index register never changes between the two halves of a value.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

// The transfer record.
struct RegBusRec {
    std::mutex mutex;      // held for each whole 32-bit transfer (or table, or calibration word)
    int32_t result = 0;    // the last value an integer reader produced; written under the mutex
    uint32_t command = 0;  // register of the transfer in progress, in bits 4-15; written under the mutex
};
extern RegBusRec g_RegBus;

// Nonzero: every transfer that takes a force argument does nothing unless force is 1; the float reader and
// the float-at writer are always silenced. Read without the mutex.
extern std::atomic<uint32_t> g_BusHold;

// Nonzero while a phase module failed the start-up check: the calibration-page transfers do nothing.
extern std::atomic<uint32_t> g_PhaseFault;

// Maps both windows; on failure prints the error and ends the process with exit status 1.
void BusMapInit();

namespace regbus {
// Puts the bus words back to their state at process start: no hold, no phase fault (tests).
// Tests start each case from a clean state through it.
void BusReset();
}  // namespace regbus

// One 16-bit half: low byte through the low-byte window, then high byte through the high-byte window.
// The stand-in's half-word order checks are driven through these.
[[nodiscard]] int Bus_Write16(uint32_t reg, uint32_t value);
uint32_t Bus_Read16(uint32_t reg);

// 32-bit cores. Each holds the bus mutex for its whole transfer; a refused transfer (hold, phase fault,
// a register the core does not serve, a word index beyond the index register) returns 0 without touching
// the bus or the mutex.
int32_t BusReg_ReadInt(int force, uint32_t reg);  // integer registers raw, others float x 100 truncated
int32_t BusReg_ReadIntAt(int force, uint32_t reg, uint32_t index);  // link receive words 98-103
uint32_t BusReg_ReadRaw(int force, uint32_t reg);                   // the fault word 2090
float BusReg_ReadFloat(uint32_t reg);                               // below -1e6 or above 1e7 reads as 0.0
// Word 0 of each of `count` registers, read in the order given within one hold of the bus mutex: the byte
// accesses of the single 32-bit reads, handed to the windows as one batch. While the bus is held every word
// reads 0 without a transfer, as the float reader's and the force-0 integer reader's do.
void BusReg_ReadBurst(const uint32_t* regs, size_t count, uint32_t* words);
// What BusReg_ReadFloat and BusReg_ReadInt make of the word they read from reg.
float BusReg_FloatOfWord(uint32_t word);
int32_t BusReg_IntOfWord(uint32_t reg, uint32_t word);
uint32_t BusReg_ReadAt(int force, uint32_t reg, uint32_t index);  // harmonic tables 0-5
uint32_t BusReg_ReadStepWord(int kind, uint32_t reg);             // kind 0 the current step word, 1 word 5
float BusReg_ReadStepFloat(int unused, uint32_t reg);
// The writers that return a status are [[nodiscard]]: a caller that drops one says so with (void), so a
// failure a writer reports is never lost without a reader of the code seeing it.
[[nodiscard]] int BusReg_WriteFloat(int force, uint32_t reg, float value);
float BusReg_WriteFloatAt(uint32_t reg, uint32_t index, float value);  // returns the value written
// Encoded by register (encoding.h); the step writer addresses the current step word.
[[nodiscard]] int BusReg_WriteIntEx(int force, uint32_t reg, int32_t value);
[[nodiscard]] int BusReg_WriteStep(int force, uint32_t reg, int32_t value, int phase);
[[nodiscard]] int BusReg_WriteGuarded2447(int force, uint32_t reg, int32_t value);
// Waveform table of `slot` (register 256 + slot), one sign-extended sample per word, under one mutex hold.
// Returns 0, or -1 (nothing sent) for a slot outside 0-255, a count outside 0-4096 or no samples.
[[nodiscard]] int BusReg_WriteArbTable(const int16_t* samples, int count, int slot);
uint16_t BusReg_ReadCalWord(int page, int word);
[[nodiscard]] int BusReg_WriteCalWord(uint16_t value, int word, int page);
// The step whose copy of the step registers (768-803) a step transfer addresses comes from the SEQ/SIM
// engine, which hands its source over at start-up; without one every step transfer addresses step 0.
void BusReg_SetStepSource(int32_t (*absStep)());
// 1 when 0x55555555, pattern and 0xAAAAAAAA written to 2559 read back unchanged from 2303, else 0.
int BusReg_LoopbackTest(uint32_t pattern);

namespace regbus {
// The pattern of the start-up loop-back test, 10-1009: the next value of a generator seeded from the clock
// when the process starts, so that each start tries another pattern. SeedSelfTestPattern fixes the
// sequence (a test's own seed).
uint32_t SelfTestPattern();
// Tests fix the loop-back pattern's sequence through it.
void SeedSelfTestPattern(uint32_t seed);
}  // namespace regbus
