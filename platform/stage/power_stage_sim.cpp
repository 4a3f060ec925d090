#include "platform/stage/power_stage_sim.h"

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <system_error>

#include "platform/stage/power_stage_capture.h"

namespace plat {
namespace {

constexpr size_t kViolationLogSize = 32;
// On the board the bytes of two unserialised transfers would interleave; here the batch's lock would hide it.
constexpr const char* kDuringBatch = "bus access while another thread's transfer was in progress";

uint64_t Key(uint32_t reg, uint32_t word) {
    return (uint64_t{reg} << 32) | word;
}

std::string Describe(const char* format, uint32_t a, uint32_t b = 0, uint32_t c = 0) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

}  // namespace

PowerStageSim::PowerStageSim() {
    model_.Reset();
    model_.PowerOn(regs_);
}

void PowerStageSim::Reset() {
    std::lock_guard<std::mutex> lock(mu_);
    regs_.Clear();
    model_.Reset();
    model_.PowerOn(regs_);
    overrides_.clear();
    xors_.clear();
    injected_.clear();
    caliScript_.clear();
    caliScripted_ = false;
    caliNow_ = 0;
    readScripts_.clear();
    mapped_ = false;
    mapFailure_ = 0;
    index_ = 0;
    lowPending_ = false;
    phase_ = Phase::kIdle;
    trace_.clear();
    halfLogOn_ = false;
    halfLog_.clear();
    traceCapacity_ = 65536;
    violations_ = 0;
    violationLog_.clear();
    byteAccesses_ = 0;
    transfers_ = 0;
    unmapped_ = 0;
}

int PowerStageSim::Map(std::string* error) {
    std::lock_guard<std::mutex> lock(mu_);
    if (mapFailure_ != 0) {
        int err = mapFailure_;
        mapFailure_ = 0;
        if (error) *error = std::generic_category().message(err);
        return err;
    }
    mapped_ = true;
    return 0;
}

void PowerStageSim::WriteByte(BusWindow window, uint32_t offset, uint8_t value) {
    std::lock_guard<std::mutex> lock(mu_);
    if (batches_.load(std::memory_order_acquire) != 0) Violation(kDuringBatch);
    WriteByteLocked(window, offset, value);
}

uint8_t PowerStageSim::ReadByte(BusWindow window, uint32_t offset) {
    std::lock_guard<std::mutex> lock(mu_);
    if (batches_.load(std::memory_order_acquire) != 0) Violation(kDuringBatch);
    return ReadByteLocked(window, offset);
}

void PowerStageSim::AccessBytes(BusByteAccess* accesses, size_t count) {
    const bool overlap = batches_.fetch_add(1, std::memory_order_acq_rel) != 0;
    {
        std::lock_guard<std::mutex> lock(mu_);
        if (overlap) Violation(kDuringBatch);
        batchWord_ = BatchWord{true};
        for (size_t i = 0; i < count; ++i) {
            if (i + 8 <= count && ReadTransferWhole(&accesses[i])) {
                i += 7;
                continue;
            }
            BusByteAccess& a = accesses[i];
            // A low byte and its high byte with nothing pending before them make one half with no order
            // to check: it is taken whole, as the two byte steps would take it.
            BusByteAccess* b = i + 1 < count ? &accesses[i + 1] : nullptr;
            if (b != nullptr && !lowPending_ && a.window == kLowByteWindow && b->window == kHighByteWindow &&
                a.offset == b->offset && a.write == b->write && a.offset < kStageRegisters) {
                byteAccesses_ += 2;
                if (!mapped_) unmapped_ += 2;
                if (a.write) {
                    CompleteWrite(a.offset, static_cast<uint16_t>((uint16_t{b->value} << 8) | a.value));
                } else {
                    readLatch_ = ReadHalf(a.offset);
                    a.value = static_cast<uint8_t>(readLatch_ & 0xFFu);
                    b->value = static_cast<uint8_t>(readLatch_ >> 8);
                    CompleteRead(a.offset);
                }
                ++i;
            } else if (a.write) {
                WriteByteLocked(a.window, a.offset, a.value);
            } else {
                a.value = ReadByteLocked(a.window, a.offset);
            }
        }
        batchWord_ = BatchWord{};
    }
    batches_.fetch_sub(1, std::memory_order_acq_rel);
}

// The eight bytes of one well-formed 32-bit read (index 2w, both bytes of the low half, index 2w + 1, both
// bytes of the high half) arriving with no transfer or byte pending: answered with one lookup of the word,
// with the counters, logs and trace the eight byte steps would leave. Anything else goes byte by byte, so
// the order checks still see every malformed access.
bool PowerStageSim::ReadTransferWhole(BusByteAccess* a) {
    if (lowPending_ || phase_ != Phase::kIdle) return false;
    const uint32_t reg = a[2].offset;
    if (reg == regmap::kIndex || reg >= kStageRegisters) return false;
    for (int h = 0; h < 8; h += 2) {
        const bool index = h == 0 || h == 4;
        const uint32_t offset = index ? regmap::kIndex : reg;
        if (a[h].window != kLowByteWindow || a[h + 1].window != kHighByteWindow || a[h].write != index ||
            a[h + 1].write != index || a[h].offset != offset || a[h + 1].offset != offset)
            return false;
    }
    const uint16_t lowIndex = static_cast<uint16_t>((uint16_t{a[1].value} << 8) | a[0].value);
    const uint16_t highIndex = static_cast<uint16_t>((uint16_t{a[5].value} << 8) | a[4].value);
    if ((lowIndex & 1u) != 0 || highIndex != lowIndex + 1u) return false;

    byteAccesses_ += 8;
    if (!mapped_) unmapped_ += 8;
    LogHalf(true, regmap::kIndex, lowIndex);
    index_ = lowIndex;
    const uint16_t low = ReadHalf(reg);
    LogHalf(false, reg, low);
    LogHalf(true, regmap::kIndex, highIndex);
    index_ = highIndex;
    readLatch_ = ReadHalf(reg);  // from the word the low half looked up
    LogHalf(false, reg, readLatch_);
    a[2].value = static_cast<uint8_t>(low & 0xFFu);
    a[3].value = static_cast<uint8_t>(low >> 8);
    a[6].value = static_cast<uint8_t>(readLatch_ & 0xFFu);
    a[7].value = static_cast<uint8_t>(readLatch_ >> 8);
    word_ = static_cast<uint16_t>(lowIndex >> 1);
    reg_ = reg;
    write_ = false;
    lowHalf_ = low;
    phase_ = Phase::kIndexHigh;
    OnHalf(false, reg, readLatch_);
    return true;
}

void PowerStageSim::WriteByteLocked(BusWindow window, uint32_t offset, uint8_t value) {
    ++byteAccesses_;
    if (!mapped_) ++unmapped_;
    if (offset >= kStageRegisters) {
        Violation(Describe("byte write at offset 0x%x, outside the register space", offset));
        return;
    }
    if (window == kLowByteWindow) {
        if (lowPending_)
            Violation(Describe("low byte at register %u before the high byte of %u", offset, lowReg_));
        lowPending_ = true;
        lowIsWrite_ = true;
        lowReg_ = offset;
        lowByte_ = value;
        return;
    }
    if (!lowPending_ || !lowIsWrite_ || lowReg_ != offset) {
        Violation(Describe("high byte written to register %u without its low byte", offset));
        lowPending_ = false;
        return;
    }
    lowPending_ = false;
    CompleteWrite(offset, static_cast<uint16_t>((uint16_t{value} << 8) | lowByte_));
}

void PowerStageSim::CompleteWrite(uint32_t offset, uint16_t half) {
    LogHalf(true, offset, half);
    if (offset == regmap::kIndex) {
        index_ = half;
        OnIndexWrite(half);
        return;
    }
    regs_.SetHalf(offset, index_ >> 1, (index_ & 1u) != 0, half);
    batchWord_.valid = false;
    OnHalf(true, offset, half);
}

void PowerStageSim::CompleteRead(uint32_t offset) {
    LogHalf(false, offset, readLatch_);
    if (offset != regmap::kIndex) OnHalf(false, offset, readLatch_);
}

uint8_t PowerStageSim::ReadByteLocked(BusWindow window, uint32_t offset) {
    ++byteAccesses_;
    if (!mapped_) ++unmapped_;
    if (offset >= kStageRegisters) {
        Violation(Describe("byte read at offset 0x%x, outside the register space", offset));
        return 0;
    }
    if (window == kLowByteWindow) {
        if (lowPending_)
            Violation(Describe("low byte at register %u before the high byte of %u", offset, lowReg_));
        readLatch_ = ReadHalf(offset);
        lowPending_ = true;
        lowIsWrite_ = false;
        lowReg_ = offset;
        return static_cast<uint8_t>(readLatch_ & 0xFFu);
    }
    if (!lowPending_ || lowIsWrite_ || lowReg_ != offset) {
        Violation(Describe("high byte read from register %u without its low byte", offset));
        lowPending_ = false;
        return static_cast<uint8_t>(ReadHalf(offset) >> 8);
    }
    lowPending_ = false;
    CompleteRead(offset);
    return static_cast<uint8_t>(readLatch_ >> 8);
}

uint16_t PowerStageSim::ReadHalf(uint32_t reg) {
    if (reg == regmap::kIndex) return index_;
    const BatchWord& b = batchWord_;
    if ((index_ & 1u) && b.valid && b.reg == reg && b.index + 1u == index_)
        return static_cast<uint16_t>(b.value >> 16);
    // A scripted calibration status moves on with each 32-bit read (its low half comes first).
    if (reg == regmap::kCaliStatus && caliScripted_ && (index_ & 1u) == 0 && !caliScript_.empty()) {
        caliNow_ = caliScript_.front();
        caliScript_.pop_front();
    }
    auto script = readScripts_.find(Key(reg, index_ >> 1));
    if (script != readScripts_.end() && (index_ & 1u) == 0 && !script->second.empty()) {
        overrides_[script->first] = script->second.front();
        script->second.pop_front();
    }
    uint32_t v = Answer(reg, index_ >> 1);
    if (batchWord_.inBatch && (index_ & 1u) == 0) batchWord_ = BatchWord{true, true, reg, index_, v};
    return static_cast<uint16_t>((index_ & 1u) ? v >> 16 : v & 0xFFFFu);
}

uint32_t PowerStageSim::Answer(uint32_t reg, uint32_t word) const {
    uint64_t key = Key(reg, word);
    auto o = overrides_.find(key);
    uint32_t v = o != overrides_.end() ? o->second : model_.Read(regs_, reg, word);
    if (reg == regmap::kCaliStatus && caliScripted_) v = caliNow_;
    auto i = injected_.find(key);
    if (i != injected_.end()) v |= i->second;
    auto x = xors_.find(key);
    if (x != xors_.end()) v ^= x->second;
    return v;
}

void PowerStageSim::OnIndexWrite(uint16_t value) {
    switch (phase_) {
        case Phase::kIdle:
            break;
        case Phase::kIndexLow:
            Violation(Describe("index %u written while index %u waited for its half", value, 2u * word_));
            break;
        case Phase::kLowDone:
            if (value == 2u * word_ + 1u) {
                phase_ = Phase::kIndexHigh;
                return;
            }
            Violation(Describe("index %u after the low half of register %u word %u", value, reg_, word_));
            break;
        case Phase::kIndexHigh:
            Violation(
                Describe("index %u written before the high half of register %u word %u", value, reg_, word_));
            break;
    }
    // A new transfer starts here; it must begin with its low half.
    phase_ = Phase::kIdle;
    if (value & 1u) {
        Violation(Describe("index %u selects a high half with no low half before it", value));
        return;
    }
    word_ = static_cast<uint16_t>(value >> 1);
    phase_ = Phase::kIndexLow;
}

void PowerStageSim::OnHalf(bool write, uint32_t reg, uint16_t value) {
    switch (phase_) {
        case Phase::kIdle:
            Violation(Describe("half of register %u moved without an index write", reg));
            return;
        case Phase::kIndexLow:
            reg_ = reg;
            write_ = write;
            lowHalf_ = value;
            phase_ = Phase::kLowDone;
            return;
        case Phase::kLowDone:
            Violation(Describe("second half of register %u moved without index %u", reg, 2u * word_ + 1u));
            phase_ = Phase::kIdle;
            return;
        case Phase::kIndexHigh:
            break;
    }
    phase_ = Phase::kIdle;
    if (reg != reg_ || write != write_) {
        Violation(Describe("high half of register %u follows the low half of register %u (word %u)", reg,
                           reg_, word_));
        return;
    }
    BusTransfer t;
    t.write = write;
    t.reg = static_cast<uint16_t>(reg);
    t.word = word_;
    t.raw = (uint32_t{value} << 16) | lowHalf_;
    ++transfers_;
    if (traceCapacity_ > 0) {
        while (trace_.size() >= traceCapacity_)
            trace_.pop_front();
        trace_.push_back(t);
    }
    if (write) model_.Written(regs_, reg, word_, t.raw);
}

void PowerStageSim::Violation(const std::string& what) {
    ++violations_;
    if (violationLog_.size() < kViolationLogSize) violationLog_.push_back(what);
}

void PowerStageSim::LogHalf(bool write, uint32_t reg, uint16_t value) {
    if (!halfLogOn_ || traceCapacity_ == 0) return;
    while (halfLog_.size() >= traceCapacity_)
        halfLog_.pop_front();
    halfLog_.push_back({write, static_cast<uint16_t>(reg), value});
}

void PowerStageSim::SetHalfLog(bool on) {
    std::lock_guard<std::mutex> lock(mu_);
    halfLogOn_ = on;
    halfLog_.clear();
}

std::vector<BusHalf> PowerStageSim::HalfLog() const {
    std::lock_guard<std::mutex> lock(mu_);
    return {halfLog_.begin(), halfLog_.end()};
}

std::vector<BusTransfer> PowerStageSim::Trace() const {
    std::vector<BusTransfer> trace;
    {
        std::lock_guard<std::mutex> lock(mu_);
        trace.assign(trace_.begin(), trace_.end());
    }
    // Decoded here rather than for every transfer: most transfers are never looked at.
    for (BusTransfer& t : trace) {
        t.decode = DecodeOf(t.reg);
        t.value = DecodeValue(t.decode, t.raw);
    }
    return trace;
}

void PowerStageSim::ClearTrace() {
    std::lock_guard<std::mutex> lock(mu_);
    trace_.clear();
    halfLog_.clear();
}

void PowerStageSim::SetTraceCapacity(size_t capacity) {
    std::lock_guard<std::mutex> lock(mu_);
    traceCapacity_ = capacity;
    while (trace_.size() > traceCapacity_)
        trace_.pop_front();
    while (halfLog_.size() > traceCapacity_)
        halfLog_.pop_front();
}

uint64_t PowerStageSim::OrderViolations() const {
    std::lock_guard<std::mutex> lock(mu_);
    return violations_;
}

std::vector<std::string> PowerStageSim::ViolationLog() const {
    std::lock_guard<std::mutex> lock(mu_);
    return violationLog_;
}

uint64_t PowerStageSim::ByteAccesses() const {
    std::lock_guard<std::mutex> lock(mu_);
    return byteAccesses_;
}

uint64_t PowerStageSim::Transfers() const {
    std::lock_guard<std::mutex> lock(mu_);
    return transfers_;
}

uint64_t PowerStageSim::UnmappedAccesses() const {
    std::lock_guard<std::mutex> lock(mu_);
    return unmapped_;
}

uint32_t PowerStageSim::Stored(uint32_t reg, uint32_t word) const {
    std::lock_guard<std::mutex> lock(mu_);
    return reg < kStageRegisters ? regs_.Get(reg, word) : 0u;
}

void PowerStageSim::Poke(uint32_t reg, uint32_t word, uint32_t value) {
    std::lock_guard<std::mutex> lock(mu_);
    if (reg < kStageRegisters) regs_.Set(reg, word, value);
    model_.Invalidate();
}

void PowerStageSim::SetRead(uint32_t reg, uint32_t word, uint32_t value) {
    std::lock_guard<std::mutex> lock(mu_);
    overrides_[Key(reg, word)] = value;
}

void PowerStageSim::SetReadFloat(uint32_t reg, uint32_t word, float value) {
    SetRead(reg, word, std::bit_cast<uint32_t>(value));
}

void PowerStageSim::ClearRead(uint32_t reg, uint32_t word) {
    std::lock_guard<std::mutex> lock(mu_);
    overrides_.erase(Key(reg, word));
}

void PowerStageSim::InjectReadXor(uint32_t reg, uint32_t word, uint32_t mask) {
    std::lock_guard<std::mutex> lock(mu_);
    xors_[Key(reg, word)] = mask;
}

void PowerStageSim::ClearReadXor(uint32_t reg, uint32_t word) {
    std::lock_guard<std::mutex> lock(mu_);
    xors_.erase(Key(reg, word));
}

void PowerStageSim::SetVaClass(uint32_t vaClass) {
    std::lock_guard<std::mutex> lock(mu_);
    model_.vaClass = vaClass;
}

void PowerStageSim::SetBootStatus(uint32_t status) {
    std::lock_guard<std::mutex> lock(mu_);
    model_.bootStatus = status;
}

void PowerStageSim::SetLoad(int phase, float ohms) {
    std::lock_guard<std::mutex> lock(mu_);
    if (phase >= 0 && phase < 3) model_.loadOhms[phase] = ohms;
    model_.Invalidate();
    model_.TakePeaks(regs_);
}

float PowerStageSim::Load(int phase) const {
    std::lock_guard<std::mutex> lock(mu_);
    return phase >= 0 && phase < 3 ? model_.loadOhms[phase] : 0.0f;
}

void PowerStageSim::SetSyncInput(float hz) {
    std::lock_guard<std::mutex> lock(mu_);
    model_.syncInputHz = hz;
    model_.Invalidate();
}

void PowerStageSim::SetCaptureHarmonic(uint32_t order, float percent) {
    std::lock_guard<std::mutex> lock(mu_);
    if (order >= 2 && order <= kCaptureOrders) model_.harmonicPct[order] = percent;
}

void PowerStageSim::SetNoise(float relative, uint32_t seed) {
    std::lock_guard<std::mutex> lock(mu_);
    model_.SetNoise(relative, seed);
}

uint32_t PowerStageSim::Applied(uint32_t reg) const {
    std::lock_guard<std::mutex> lock(mu_);
    return model_.Applied(reg);
}

bool PowerStageSim::OutputOn() const {
    std::lock_guard<std::mutex> lock(mu_);
    return model_.outputOn;
}

void PowerStageSim::TripOutput() {
    std::lock_guard<std::mutex> lock(mu_);
    model_.outputOn = false;
}

PowerStageSim& PowerStage() {
    static PowerStageSim stage;
    return stage;
}

int PowerStageLoadCommand(const std::string& args, std::string* error) {
    std::istringstream in(args);
    std::vector<float> ohms;
    std::string word;
    while (in >> word) {
        char* end = nullptr;
        const float v = std::strtof(word.c_str(), &end);
        if (*end != '\0' || !(v >= 0.0f && v <= 1e6f)) {
            if (error) *error = "load takes ohms from 0 (disconnected) to 1000000";
            return -1;
        }
        ohms.push_back(v);
    }
    if (ohms.size() != 1 && ohms.size() != 3) {
        if (error) *error = "load takes one resistance for every phase or one per phase";
        return -1;
    }
    for (int p = 0; p < 3; ++p)
        PowerStage().SetLoad(p, ohms[ohms.size() == 1 ? 0 : p]);
    return 0;
}

}  // namespace plat

namespace plat {

void PowerStageSim::InjectBit(uint32_t reg, uint32_t bit, bool on) {
    std::lock_guard<std::mutex> lock(mu_);
    uint32_t& bits = injected_[Key(reg, 0)];
    bits = on ? bits | (1u << (bit & 31u)) : bits & ~(1u << (bit & 31u));
}

void PowerStageSim::ScriptCaliStatus(const std::vector<uint32_t>& values) {
    std::lock_guard<std::mutex> lock(mu_);
    caliScript_.assign(values.begin(), values.end());
    caliScripted_ = !values.empty();
}

void PowerStageSim::ScriptRead(uint32_t reg, uint32_t word, const std::vector<uint32_t>& values) {
    std::lock_guard<std::mutex> lock(mu_);
    readScripts_[Key(reg, word)].assign(values.begin(), values.end());
}

void PowerStageSim::SetLinkPeers(uint32_t count) {
    std::lock_guard<std::mutex> lock(mu_);
    model_.link.count = count < LinkPeers::kMaxPeers ? count : LinkPeers::kMaxPeers;
}

void PowerStageSim::SetLinkPeerVersion(uint32_t peer, uint32_t version) {
    std::lock_guard<std::mutex> lock(mu_);
    if (peer >= 1 && peer <= LinkPeers::kMaxPeers) model_.link.peer[peer].version = version;
}

void PowerStageSim::SetLinkOwnAddress(uint32_t address) {
    std::lock_guard<std::mutex> lock(mu_);
    model_.link.ownAddress = address;
}

void PowerStageSim::SetLinkLost(bool lost) {
    std::lock_guard<std::mutex> lock(mu_);
    model_.link.lost = lost;
}

void PowerStageSim::SetLinkErrorBits(uint32_t bits) {
    std::lock_guard<std::mutex> lock(mu_);
    model_.link.errorBits = bits;
}

void PowerStageSim::LinkSendToUnit(uint32_t frame) {
    std::lock_guard<std::mutex> lock(mu_);
    LinkPeers::SendToUnit(frame, regs_);
}

void PowerStageSim::LinkSendFromPeer(uint32_t peer, uint32_t frame) {
    std::lock_guard<std::mutex> lock(mu_);
    LinkPeers::SendFromPeer(peer, frame, regs_);
}

}  // namespace plat
