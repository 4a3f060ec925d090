#pragma once
// Stored data that failed its check and gave way to defaults (or was mended from its copy) is said on the
// console, one line each, so that a person learns what the unit lost instead of meeting defaults unawares.
// Each damage is said once, at the start (or the load) that finds it: what was said is remembered in
// /mnt/tst/Special/DamageTold, one line per stored item ("<print> <key>"), so that a damage that stays (a
// held block keeps its stored bytes until a user's change is written over them) is not said again at every
// start. An item found sound is forgotten there, so that its next damage is said again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The print of what was found in a damaged item: a 64-bit hash of its bytes, or one of the fixed prints
// of an item that gave no bytes.
uint64_t StoredDataPrint(const uint8_t* bytes, size_t n);
inline constexpr uint64_t kPrintUnreadable = 1;  // the memory or the file refused the read
inline constexpr uint64_t kPrintMissing = 2;     // the file is not there
inline constexpr uint64_t kPrintEmpty = 3;       // the file is there without a byte

// Prints line (and a line feed) on the console unless the item key was said with the same print before
// and not found sound since; the print is remembered. True when the line was printed: a popup that goes
// with the line is shown then only.
bool StoredDataTell(const std::string& key, uint64_t print, const std::string& line);
// "<what> reset: <why>", told for the item named what.
bool StoredDataResetNote(const std::string& what, const char* why, uint64_t print);
// The item was found sound (or not stored at all): its damage, if any was said, is over.
void StoredDataSound(const std::string& key);

// The record's lines as (key, print): a line that is not 16 hex digits, a blank and a key of printable
// characters is left out, as is everything past the record's bound of entries.
std::vector<std::pair<std::string, uint64_t>> StoredDataToldParse(const uint8_t* bytes, size_t n);
