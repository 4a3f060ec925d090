#include "engine/seqsim/seqsim_stored_record.h"

#include <mutex>
#include <string>

#include "storage/raw_file.h"

namespace {

constexpr const char* kDir = "seq";
constexpr const char* kName = "STORED.SSM";
constexpr uint32_t kSlots = 10;
constexpr size_t kLineLength = 4;  // "SEQ3"
// Twenty lines of five bytes; a longer record is not one of ours and names nothing.
constexpr size_t kReadMax = 2 * kSlots * (kLineLength + 1);

// Saves come from the panel's and the remote channels' threads.
std::mutex g_lock;

uint32_t LineBit(const uint8_t* line, size_t n) {
    if (n != kLineLength || line[3] < '0' || line[3] > '9') return 0;
    const uint32_t slot = static_cast<uint32_t>(line[3] - '0');
    const std::string kind(reinterpret_cast<const char*>(line), 3);
    if (kind == "SEQ") return 1u << slot;
    if (kind == "SIM") return 1u << (kStoredSimShift + slot);
    return 0;
}

uint32_t LoadLocked() {
    uint8_t bytes[kReadMax];
    const int32_t n = FileReadRaw(1, kDir, kName, bytes, sizeof bytes);
    return n > 0 ? SeqSimStoredParse(bytes, static_cast<size_t>(n)) : 0;
}

}  // namespace

uint32_t SeqSimStoredParse(const uint8_t* data, size_t n) {
    uint32_t memories = 0;
    if (data == nullptr) return memories;
    for (size_t at = 0; at < n;) {
        size_t end = at;
        while (end < n && data[end] != '\n')
            ++end;
        memories |= LineBit(data + at, end - at);
        at = end + 1;
    }
    return memories;
}

uint32_t SeqSimStoredLoad() {
    std::lock_guard<std::mutex> hold(g_lock);
    return LoadLocked();
}

int32_t SeqSimStoredAdd(uint32_t memories) {
    std::lock_guard<std::mutex> hold(g_lock);
    const uint32_t before = LoadLocked();
    const uint32_t after = before | memories;
    if (after == before) return 0;
    std::string text;
    for (uint32_t bit = 0; bit < 2 * kSlots; ++bit)
        if (after & (1u << bit))
            text += std::string(bit < kStoredSimShift ? "SEQ" : "SIM") +
                    static_cast<char>('0' + bit % kStoredSimShift) + "\n";
    return FileWriteRaw(1, kDir, kName, text.data(), text.size());
}
