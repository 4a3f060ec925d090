#include <algorithm>
#include <bit>
#include <limits>

#include "core/regbus/bus_internal.h"
#include "core/regbus/encoding.h"
#include "platform/host/clock.h"
#include "platform/stage/bus_window.h"
#include "platform/stage/reg_map.h"

namespace regbus {
namespace {

using Lock = std::lock_guard<std::mutex>;

std::atomic<int32_t (*)()> g_stepSource{nullptr};

bool IsLinkRxReg(uint32_t reg) {
    return regmap::kLinkRx.contains(reg);
}
bool IsHarmonicReg(uint32_t reg) {
    return regmap::kHarmonic.contains(reg) || regmap::kHarmonicSys.contains(reg);
}

// One 16-bit half as two byte accesses: low byte through the low-byte window, then high byte.
void PutHalf(plat::BusByteAccess* at, bool write, uint32_t reg, uint32_t value) {
    at[0] = {plat::kLowByteWindow, write, reg, static_cast<uint8_t>(value & 0xFFu)};
    at[1] = {plat::kHighByteWindow, write, reg, static_cast<uint8_t>((value >> 8) & 0xFFu)};
}

// Float x 100 truncated toward zero; a value no 32-bit integer can hold (or NaN) reads as 0.
int32_t FloatTimes100(float f) {
    float scaled = f * 100.0f;
    if (!(scaled > -2147483648.0f && scaled < 2147483648.0f)) return 0;
    return static_cast<int32_t>(scaled);
}

}  // namespace

// A 32-bit transfer moves the same eight bytes in the same order as its four Bus_Write16/Bus_Read16 calls
// (index 2i, low half, index 2i + 1, high half), handed to the windows as one batch.
void Write32Locked(uint32_t reg, uint32_t word, uint32_t value) {
    g_RegBus.command = reg << 4;
    plat::BusByteAccess bytes[8];
    PutHalf(&bytes[0], true, regmap::kIndex, 2u * word);
    PutHalf(&bytes[2], true, reg, value & 0xFFFFu);
    PutHalf(&bytes[4], true, regmap::kIndex, 2u * word + 1u);
    PutHalf(&bytes[6], true, reg, value >> 16);
    plat::BusAccessBytes(bytes, 8);
}

void PutRead32(plat::BusByteAccess* bytes, uint32_t reg, uint32_t word) {
    PutHalf(&bytes[0], true, regmap::kIndex, 2u * word);
    PutHalf(&bytes[2], false, reg, 0);
    PutHalf(&bytes[4], true, regmap::kIndex, 2u * word + 1u);
    PutHalf(&bytes[6], false, reg, 0);
}

uint32_t Word32Of(const plat::BusByteAccess* bytes) {
    uint32_t low = bytes[3].value * 256u + bytes[2].value;
    uint32_t high = bytes[7].value * 256u + bytes[6].value;
    return high * 65536u + low;
}

uint32_t Read32Locked(uint32_t reg, uint32_t word) {
    g_RegBus.command = reg << 4;
    plat::BusByteAccess bytes[8];
    PutRead32(bytes, reg, word);
    plat::BusAccessBytes(bytes, 8);
    return Word32Of(bytes);
}

int32_t CurrentStepWord() {
    int32_t (*source)() = g_stepSource.load(std::memory_order_acquire);
    int32_t step = source != nullptr ? source() : 0;
    return step >= 0 && static_cast<uint32_t>(step) <= kMaxWordIndex ? step : -1;
}

}  // namespace regbus

void BusReg_SetStepSource(int32_t (*absStep)()) {
    regbus::g_stepSource.store(absStep, std::memory_order_release);
}

using regbus::HoldRefuses;
using regbus::kMaxWordIndex;
using regbus::Read32Locked;
using regbus::Write32Locked;

int32_t BusReg_ReadInt(int force, uint32_t reg) {
    if (HoldRefuses(force)) return 0;
    std::lock_guard<std::mutex> lock(g_RegBus.mutex);
    g_RegBus.result = BusReg_IntOfWord(reg, Read32Locked(reg, 0));
    return g_RegBus.result;
}

int32_t BusReg_IntOfWord(uint32_t reg, uint32_t word) {
    return regbus::IsIntegerReadRegister(reg) ? static_cast<int32_t>(word)
                                              : regbus::FloatTimes100(std::bit_cast<float>(word));
}

int32_t BusReg_ReadIntAt(int force, uint32_t reg, uint32_t index) {
    if (!regbus::IsLinkRxReg(reg) || index > kMaxWordIndex || HoldRefuses(force)) return 0;
    std::lock_guard<std::mutex> lock(g_RegBus.mutex);
    g_RegBus.result = static_cast<int32_t>(Read32Locked(reg, index));
    return g_RegBus.result;
}

uint32_t BusReg_ReadRaw(int force, uint32_t reg) {
    if (reg != regmap::kFaultWord || HoldRefuses(force)) return 0;
    std::lock_guard<std::mutex> lock(g_RegBus.mutex);
    uint32_t raw = Read32Locked(reg, 0);
    g_RegBus.result = static_cast<int32_t>(raw);
    return raw;
}

float BusReg_ReadFloat(uint32_t reg) {
    if (g_BusHold.load(std::memory_order_relaxed) != 0) return 0.0f;
    uint32_t word;
    {
        std::lock_guard<std::mutex> lock(g_RegBus.mutex);
        word = Read32Locked(reg, 0);
    }
    return BusReg_FloatOfWord(word);
}

float BusReg_FloatOfWord(uint32_t word) {
    const float value = std::bit_cast<float>(word);
    // Written as the range kept, so that a NaN (no number at all) reads as 0.0 too.
    if (!(value >= -1e6f && value <= 1e7f)) return 0.0f;
    return value;
}

void BusReg_ReadBurst(const uint32_t* regs, size_t count, uint32_t* words) {
    if (g_BusHold.load(std::memory_order_relaxed) != 0) {
        std::fill(words, words + count, 0u);
        return;
    }
    constexpr size_t kChunk = 32;  // registers per batch handed to the windows
    plat::BusByteAccess bytes[kChunk * 8];
    std::lock_guard<std::mutex> lock(g_RegBus.mutex);
    for (size_t first = 0; first < count; first += kChunk) {
        const size_t n = std::min(kChunk, count - first);
        for (size_t i = 0; i < n; ++i)
            regbus::PutRead32(&bytes[8 * i], regs[first + i], 0);
        g_RegBus.command = regs[first + n - 1] << 4;
        plat::BusAccessBytes(bytes, 8 * n);
        for (size_t i = 0; i < n; ++i)
            words[first + i] = regbus::Word32Of(&bytes[8 * i]);
    }
}

uint32_t BusReg_ReadAt(int, uint32_t reg, uint32_t index) {
    if (!regbus::IsHarmonicReg(reg) || index > kMaxWordIndex) return 0;
    std::lock_guard<std::mutex> lock(g_RegBus.mutex);
    return Read32Locked(reg, index);
}

uint32_t BusReg_ReadStepWord(int kind, uint32_t reg) {
    int32_t word = kind == 0 ? regbus::CurrentStepWord() : kind == 1 ? 5 : -1;
    if (word < 0) return 0;
    std::lock_guard<std::mutex> lock(g_RegBus.mutex);
    return Read32Locked(reg, static_cast<uint32_t>(word));
}

float BusReg_ReadStepFloat(int, uint32_t reg) {
    int32_t word = regbus::CurrentStepWord();
    if (word < 0) return 0.0f;
    std::lock_guard<std::mutex> lock(g_RegBus.mutex);
    return std::bit_cast<float>(Read32Locked(reg, static_cast<uint32_t>(word)));
}

int BusReg_WriteFloat(int force, uint32_t reg, float value) {
    if (HoldRefuses(force)) return 0;
    std::lock_guard<std::mutex> lock(g_RegBus.mutex);
    Write32Locked(reg, 0, std::bit_cast<uint32_t>(value));
    return 0;
}

float BusReg_WriteFloatAt(uint32_t reg, uint32_t index, float value) {
    if (g_BusHold.load(std::memory_order_relaxed) != 0 || index > kMaxWordIndex) return 0.0f;
    std::lock_guard<std::mutex> lock(g_RegBus.mutex);
    Write32Locked(reg, index, std::bit_cast<uint32_t>(value));
    return value;
}

int BusReg_WriteIntEx(int force, uint32_t reg, int32_t value) {
    regbus::Encoding encoding = regbus::WriteIntExEncoding(reg);
    if (encoding == regbus::Encoding::kNone || HoldRefuses(force)) return 0;
    uint32_t bits = regbus::Encode(encoding, value);
    std::lock_guard<std::mutex> lock(g_RegBus.mutex);
    Write32Locked(reg, 0, bits);
    return 0;
}

int BusReg_WriteStep(int force, uint32_t reg, int32_t value, int) {
    regbus::Encoding encoding = regbus::StepEncoding(reg);
    if (encoding == regbus::Encoding::kNone || HoldRefuses(force)) return 0;
    int32_t word = regbus::CurrentStepWord();
    if (word < 0) return 0;
    uint32_t bits = regbus::Encode(encoding, value);
    std::lock_guard<std::mutex> lock(g_RegBus.mutex);
    Write32Locked(reg, static_cast<uint32_t>(word), bits);
    return 0;
}

int BusReg_WriteGuarded2447(int force, uint32_t reg, int32_t value) {
    if (reg != regmap::kBootCtrl || HoldRefuses(force)) return 0;
    std::lock_guard<std::mutex> lock(g_RegBus.mutex);
    Write32Locked(reg, 0, static_cast<uint32_t>(value));
    return 0;
}

int BusReg_WriteArbTable(const int16_t* samples, int count, int slot) {
    if (samples == nullptr || count < 0 || count > 4096 || slot < 0 ||
        static_cast<uint32_t>(slot) >= regmap::kArbTable.count)
        return -1;
    const uint32_t reg = regmap::kArbTable.at(static_cast<uint32_t>(slot));
    std::lock_guard<std::mutex> lock(g_RegBus.mutex);
    for (int i = 0; i < count; ++i) {
        Write32Locked(reg, static_cast<uint32_t>(i), static_cast<uint32_t>(static_cast<int32_t>(samples[i])));
    }
    return 0;
}

int BusReg_LoopbackTest(uint32_t pattern) {
    const uint32_t patterns[3] = {0x55555555u, pattern, 0xAAAAAAAAu};
    int ok = 1;
    std::lock_guard<std::mutex> lock(g_RegBus.mutex);
    for (uint32_t p : patterns) {
        Write32Locked(regmap::kLoopbackWrite, 0, p);
        plat::SleepUs(5);
        if (Read32Locked(regmap::kLoopbackRead, 0) != p) ok = 0;
    }
    return ok;
}
