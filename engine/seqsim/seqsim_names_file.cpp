#include "engine/seqsim/seqsim_names_file.h"

#include <cstring>
#include <string>

#include "storage/data_file_frame.h"
#include "storage/data_reset_note.h"
#include "storage/file_result.h"
#include "storage/file_util.h"
#include "storage/raw_file.h"

namespace {

constexpr char kMagic[8] = {'S', 'E', 'Q', 'S', 'I', 'M', 'N', 'M'};
constexpr size_t kList = 10 * kSeqSimNameLen;
constexpr size_t kSum = kSeqSimNamesFileSize - 4;
constexpr const char* kDir = "seq";
constexpr const char* kName = "NAMES.SSN";
constexpr char kWhat[] = "SEQ/SIM memory names";

}  // namespace

void SeqSimNamesPack(const char (*seq)[kSeqSimNameLen], const char (*sim)[kSeqSimNameLen], uint8_t* out) {
    std::memcpy(out, kMagic, sizeof kMagic);
    std::memcpy(out + sizeof kMagic, seq, kList);
    std::memcpy(out + sizeof kMagic + kList, sim, kList);
    storage::StoreBe32(out + kSum, SumBytesButLast4(out, kSeqSimNamesFileSize));
}

bool SeqSimNamesParse(const uint8_t* data, size_t n, char (*seq)[kSeqSimNameLen],
                      char (*sim)[kSeqSimNameLen]) {
    if (data == nullptr || n != kSeqSimNamesFileSize) return false;
    if (std::memcmp(data, kMagic, sizeof kMagic) != 0) return false;
    if (storage::LoadBe32(data + kSum) != SumBytesButLast4(data, n)) return false;
    std::memcpy(seq, data + sizeof kMagic, kList);
    std::memcpy(sim, data + sizeof kMagic + kList, kList);
    return true;
}

int32_t SeqSimNamesSave() {
    uint8_t image[kSeqSimNamesFileSize];
    SeqSimNamesPack(g_SeqMemName, g_SimMemName, image);
    return FileWriteRaw(1, kDir, kName, image, sizeof image);
}

int32_t SeqSimNamesKeep() {
    if (FileSize((std::string("/mnt/tst/") + kDir + "/" + kName).c_str()) > 0) return 0;
    return SeqSimNamesSave();
}

int32_t SeqSimNamesLoad(bool memoriesStored) {
    // One byte more than the file: a longer file is not read whole and so not taken.
    uint8_t image[kSeqSimNamesFileSize + 1];
    const int32_t n = FileReadRaw(1, kDir, kName, image, sizeof image);
    if (n > 0 && SeqSimNamesParse(image, static_cast<size_t>(n), g_SeqMemName, g_SimMemName)) {
        StoredDataSound(kWhat);
        return 1;
    }
    std::memset(g_SeqMemName, 0, sizeof g_SeqMemName);
    std::memset(g_SimMemName, 0, sizeof g_SimMemName);
    // A file that is there and not sound held names the user gave; a missing one beside stored memories
    // may have held them too.
    if (n != kFileMissing) {
        StoredDataResetNote(kWhat, n == kFileOpenFailed ? "stored file unreadable" : "stored file damaged",
                            n > 0 ? StoredDataPrint(image, static_cast<size_t>(n)) : kPrintUnreadable);
    } else if (memoriesStored) {
        StoredDataResetNote(kWhat, "stored file missing", kPrintMissing);
    } else {
        StoredDataSound(kWhat);
    }
    return 0;
}
