#pragma once
// The simulated power stage (FPGA and DSP) behind the two register windows on this machine.
//
// It sees every byte access in the order the controller makes them, assembles 16-bit halves (low-byte
// window, then high-byte window), decodes the index register (regmap::kIndex) and keeps the 32-bit words of
// every register per word index, as the hardware does. Above that it checks the transfer protocol (index
// write, half, index write, half) and records each complete 32-bit transfer in a trace, decoded by the
// stage's own table of register encodings. What the stage answers on a read comes from PowerStageModel.
//
// Its lock covers one byte access, or one batch of them (BusAccessBytes: a whole 32-bit transfer): it never
// serialises more than a caller hands it. Two controller threads that interleave their byte accesses show up
// as order violations, and a batch or byte that arrives while another thread's batch is in progress counts as
// a violation too, so unserialised transfers are never hidden.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/stage/bus_byte_access.h"
#include "platform/stage/power_stage_model.h"

namespace plat {

// One complete 32-bit transfer as the stage saw it (decoded when the trace is read).
struct BusTransfer {
    bool write = false;
    uint16_t reg = 0;
    uint16_t word = 0;  // 32-bit word index (index register value / 2)
    uint32_t raw = 0;   // the 32 bits moved
    RegDecode decode = RegDecode::kUInt;
    double value = 0.0;  // raw decoded by the register's encoding (V, A, Hz, %, ...)
};

// One 16-bit access (both bytes), for tests that check the order of halves.
struct BusHalf {
    bool write = false;
    uint16_t reg = 0;
    uint16_t value = 0;
    bool operator==(const BusHalf&) const = default;
};

class PowerStageSim {
  public:
    PowerStageSim();

    // The controls and readings below that the program never calls are the tests' hold on the stand-in.
    // Back to power-on: registers, trace, overrides, injected faults, violations and counters cleared,
    // model settings at their defaults (the stored calibration data the stage's own, its pages in use
    // loaded from it), windows unmapped.
    void Reset();

    // Window side (called by the host implementation of bus_window.h).
    int Map(std::string* error);
    void WriteByte(BusWindow window, uint32_t offset, uint8_t value);
    uint8_t ReadByte(BusWindow window, uint32_t offset);
    void AccessBytes(BusByteAccess* accesses, size_t count);

    // Trace of complete 32-bit transfers, oldest first; it keeps the newest `capacity` entries.
    std::vector<BusTransfer> Trace() const;
    void ClearTrace();  // also empties the half log
    void SetTraceCapacity(size_t capacity);

    // Log of 16-bit accesses (index writes included), off until enabled; same capacity as the trace.
    void SetHalfLog(bool on);
    std::vector<BusHalf> HalfLog() const;

    // Protocol check: anything but "index 2i, half, index 2i+1, half of the same register and direction"
    // counts as a violation; the first few are described in ViolationLog.
    uint64_t OrderViolations() const;
    std::vector<std::string> ViolationLog() const;

    uint64_t ByteAccesses() const;      // every byte access since Reset
    uint64_t Transfers() const;         // complete 32-bit transfers since Reset
    uint64_t UnmappedAccesses() const;  // byte accesses made before the windows were mapped

    // The stage's memory: the word as last written by the controller (or poked by a test).
    uint32_t Stored(uint32_t reg, uint32_t word) const;
    void Poke(uint32_t reg, uint32_t word, uint32_t value);

    // Read answers. An override replaces whatever the stage would answer; an XOR mask corrupts it
    // (a bad loop-back, a read-back mismatch).
    void SetRead(uint32_t reg, uint32_t word, uint32_t value);
    void SetReadFloat(uint32_t reg, uint32_t word, float value);
    void ClearRead(uint32_t reg, uint32_t word);
    void InjectReadXor(uint32_t reg, uint32_t word, uint32_t mask);
    void ClearReadXor(uint32_t reg, uint32_t word);

    // Alarm and status bits the stage reports on top of what it would answer (alarm words 2086-2088 and
    // 2091, output status 2085 ...), set or cleared one bit at a time until Reset.
    void InjectBit(uint32_t reg, uint32_t bit, bool on);
    // Calibration status script: each read of register 2098 takes the next value; the last one stays. An
    // empty script gives the status back to the stage's own run of the calibration.
    void ScriptCaliStatus(const std::vector<uint32_t>& values);
    // Read script of any word: each 32-bit read takes the next value as the word's override; the last
    // one stays (a status that changes while the controller polls it).
    void ScriptRead(uint32_t reg, uint32_t word, const std::vector<uint32_t>& values);

    // The parallel link: peers on it (0-5), a peer's version answer, this unit's address, a lost link,
    // the link error bits of the status, and a frame arriving for this unit.
    void SetLinkPeers(uint32_t count);
    void SetLinkPeerVersion(uint32_t peer, uint32_t version);
    void SetLinkOwnAddress(uint32_t address);
    void SetLinkLost(bool lost);
    void SetLinkErrorBits(uint32_t bits);
    void LinkSendToUnit(uint32_t frame);
    void LinkSendFromPeer(uint32_t peer, uint32_t frame);

    // Settings of the stage model.
    void SetVaClass(uint32_t vaClass);
    void SetBootStatus(uint32_t status);
    // Resistive load of a phase (0-2) in ohms; 0 disconnects it. A phase outside 0-2 is ignored.
    void SetLoad(int phase, float ohms);
    float Load(int phase) const;  // 0 for a phase outside 0-2
    // Frequency in Hz of the signal at the synchronisation input (register 2236); 0: no signal.
    void SetSyncInput(float hz);
    // Amplitude of harmonic order 2-100 in the captured waveform, in percent of the fundamental.
    void SetCaptureHarmonic(uint32_t order, float percent);
    // Relative noise (0: none) of the measurement readings, from a generator with this seed.
    void SetNoise(float relative, uint32_t seed);

    // The stage's own state: what the last apply strobe took for a setting register, whether the output
    // stage is on. TripOutput switches the output off as the stage's protection would.
    uint32_t Applied(uint32_t reg) const;
    bool OutputOn() const;
    void TripOutput();

  private:
    enum class Phase { kIdle, kIndexLow, kLowDone, kIndexHigh };

    void WriteByteLocked(BusWindow window, uint32_t offset, uint8_t value);
    uint8_t ReadByteLocked(BusWindow window, uint32_t offset);
    // A half has arrived whole: a written one is stored (or sets the index register), a read one
    // (readLatch_) logged; both go on to the transfer protocol.
    void CompleteWrite(uint32_t offset, uint16_t half);
    void CompleteRead(uint32_t offset);
    bool ReadTransferWhole(BusByteAccess* a);
    void OnIndexWrite(uint16_t value);
    void OnHalf(bool write, uint32_t reg, uint16_t value);
    void Violation(const std::string& what);
    void LogHalf(bool write, uint32_t reg, uint16_t value);
    uint16_t ReadHalf(uint32_t reg);
    uint32_t Answer(uint32_t reg, uint32_t word) const;

    mutable std::mutex mu_;
    std::atomic<uint32_t> batches_{0};  // batches in progress; more than one is an unserialised transfer
    // Within one batch the high half of a word is answered from the word its low half came from, instead of
    // working the answer out twice; nothing else reaches the stage in between.
    struct BatchWord {
        bool inBatch = false;
        bool valid = false;
        uint32_t reg = 0;
        uint16_t index = 0;  // the low half's index register value
        uint32_t value = 0;
    } batchWord_;
    RegisterFile regs_;
    PowerStageModel model_;
    std::map<uint64_t, uint32_t> overrides_;
    std::map<uint64_t, uint32_t> xors_;
    std::map<uint64_t, uint32_t> injected_;
    std::deque<uint32_t> caliScript_;
    std::map<uint64_t, std::deque<uint32_t>> readScripts_;
    bool caliScripted_ = false;
    uint32_t caliNow_ = 0;
    bool mapped_ = false;
    int mapFailure_ = 0;
    uint16_t index_ = 0;  // the index register

    // Byte assembly of one 16-bit access.
    bool lowPending_ = false;
    bool lowIsWrite_ = false;
    uint32_t lowReg_ = 0;
    uint8_t lowByte_ = 0;
    uint16_t readLatch_ = 0;

    // Protocol of one 32-bit transfer.
    Phase phase_ = Phase::kIdle;
    uint16_t word_ = 0;
    uint32_t reg_ = 0;
    bool write_ = false;
    uint16_t lowHalf_ = 0;

    std::deque<BusTransfer> trace_;
    bool halfLogOn_ = false;
    std::deque<BusHalf> halfLog_;
    size_t traceCapacity_ = 65536;
    uint64_t violations_ = 0;
    std::vector<std::string> violationLog_;
    uint64_t byteAccesses_ = 0;
    uint64_t transfers_ = 0;
    uint64_t unmapped_ = 0;
};

// The one power stage of this process.
PowerStageSim& PowerStage();

// The local panel channel's "load R" (every phase) or "load R1 R2 R3" (ohms, 0 disconnects): sets the
// stage's loads. Returns 0, or -1 with the reason in *error.
int PowerStageLoadCommand(const std::string& args, std::string* error);

}  // namespace plat
