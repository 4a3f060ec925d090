#include "storage/data_reset_note.h"

#include <cstdio>
#include <mutex>

#include "storage/raw_file.h"

namespace {

constexpr uint32_t kArea = 1;
constexpr char kDir[] = "Special";
constexpr char kName[] = "DamageTold";
constexpr size_t kPrintDigits = 16;
constexpr size_t kKeyMax = 63;
constexpr size_t kEntriesMax = 64;
// FNV-1a, 64 bits.
constexpr uint64_t kFnvOffset = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;
// The record written is at most kEntriesMax lines of kPrintDigits + 1 + kKeyMax + 1 bytes; one larger than
// kReadMax is not read and counts as none (each damage is said once more).
constexpr size_t kReadMax = 65536;

using Record = std::vector<std::pair<std::string, uint64_t>>;

std::mutex g_lock;  // the record's read, change and write

int HexValue(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// One line of the record without its line feed; false when it is not well formed.
bool ParseLine(const uint8_t* line, size_t n, std::pair<std::string, uint64_t>* out) {
    if (n < kPrintDigits + 2 || n > kPrintDigits + 1 + kKeyMax || line[kPrintDigits] != ' ') return false;
    uint64_t print = 0;
    for (size_t i = 0; i < kPrintDigits; ++i) {
        const int v = HexValue(line[i]);
        if (v < 0) return false;
        print = print << 4 | static_cast<uint64_t>(v);
    }
    std::string key;
    for (size_t i = kPrintDigits + 1; i < n; ++i) {
        if (line[i] < 0x20 || line[i] > 0x7E) return false;
        key.push_back(static_cast<char>(line[i]));
    }
    *out = {key, print};
    return true;
}

Record Load() {
    std::vector<uint8_t> bytes(kReadMax);
    const int32_t n = FileReadRaw(kArea, kDir, kName, bytes.data(), bytes.size());
    return n > 0 ? StoredDataToldParse(bytes.data(), static_cast<size_t>(n)) : Record{};
}

void Save(const Record& record) {
    std::string text;
    for (const auto& [key, print] : record) {
        char digits[kPrintDigits + 2];
        std::snprintf(digits, sizeof digits, "%016llx ", static_cast<unsigned long long>(print));
        text += digits + key + "\n";
    }
    if (FileWriteRaw(kArea, kDir, kName, text.data(), text.size()) < 0)
        std::fprintf(stderr, "stored data notes: /mnt/tst/Special/%s could not be written\n", kName);
}

Record::iterator Find(Record& record, const std::string& key) {
    for (auto it = record.begin(); it != record.end(); ++it)
        if (it->first == key) return it;
    return record.end();
}

}  // namespace

uint64_t StoredDataPrint(const uint8_t* bytes, size_t n) {
    uint64_t hash = kFnvOffset;
    for (size_t i = 0; i < n; ++i)
        hash = (hash ^ bytes[i]) * kFnvPrime;
    return hash;
}

bool StoredDataTell(const std::string& key, uint64_t print, const std::string& line) {
    std::lock_guard<std::mutex> hold(g_lock);
    Record record = Load();
    auto it = Find(record, key);
    if (it != record.end() && it->second == print) return false;
    std::fprintf(stderr, "%s\n", line.c_str());
    if (it != record.end()) {
        it->second = print;
    } else {
        // A key too long for the record is said every time rather than cut to a key another item may have.
        if (key.size() > kKeyMax) return true;
        // The oldest note gives way: at worst a damage is said once more.
        if (record.size() >= kEntriesMax) record.erase(record.begin());
        record.emplace_back(key, print);
    }
    Save(record);
    return true;
}

bool StoredDataResetNote(const std::string& what, const char* why, uint64_t print) {
    return StoredDataTell(what, print, what + " reset: " + why);
}

void StoredDataSound(const std::string& key) {
    std::lock_guard<std::mutex> hold(g_lock);
    Record record = Load();
    auto it = Find(record, key);
    if (it == record.end()) return;
    record.erase(it);
    Save(record);
}

std::vector<std::pair<std::string, uint64_t>> StoredDataToldParse(const uint8_t* bytes, size_t n) {
    Record record;
    if (bytes == nullptr) return record;
    size_t at = 0;
    while (at < n && record.size() < kEntriesMax) {
        size_t end = at;
        while (end < n && bytes[end] != '\n')
            ++end;
        std::pair<std::string, uint64_t> entry;
        if (ParseLine(bytes + at, end - at, &entry) && Find(record, entry.first) == record.end())
            record.push_back(std::move(entry));
        at = end + 1;
    }
    return record;
}
