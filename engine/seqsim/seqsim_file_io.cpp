// Saving, loading and importing the SEQ and SIM memory files. Both kinds take the same steps; a Kind row
// holds what differs.
#include <cstdio>
#include <cstdlib>
#include <chrono>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <utility>

#include "engine/seqsim/seqsim_file_layout.h"
#include "engine/seqsim/seqsim_names_file.h"
#include "engine/seqsim/seqsim_stored_record.h"
#include "storage/brand_dir.h"
#include "storage/data_file_frame.h"
#include "storage/data_reset_note.h"
#include "storage/file_result.h"
#include "storage/file_util.h"
#include "storage/image_hold.h"
#include "storage/raw_file.h"

using namespace engine;

namespace {

struct Kind {
    uint32_t storedShift;  // of the kind's memories in the record of stored memories
    const char* dir;       // internal directory under /mnt/tst
    const char* format;  // file name
    uint16_t fileKind;
    uint16_t version;
    uint8_t* image;
    uint32_t size;
    uint32_t oldDelta;
    int32_t (*parse)(int32_t, int32_t);
    std::mutex* lock;  // guards image: a remote query and a panel store run on different threads
};
std::mutex g_seqImageLock;
std::mutex g_simImageLock;
const Kind kSeq{kStoredSeqShift, "seq",        "SEQ%d.SEQ", kFileKindSeq, kSeqFileVersion,
                g_SeqFileBuf,    kSeqFileSize, 24256,       SeqParseFile, &g_seqImageLock};
const Kind kSim{kStoredSimShift, "sim",        "SIM%d.SIM", kFileKindSim, kSimFileVersion,
                g_SimFileBuf,    kSimFileSize, 80,          SimParseFile, &g_simImageLock};

// The longest a user of the image waits for another: a SEQ file written to a slow store takes well under
// a second.
constexpr int kImageWaitMs = 5000;

// Holds the kind's image lock for one build, load, import or copy; owns_lock() is false when the wait ran
// out. Tried once a millisecond, so that the wait is bounded without a timed lock.
class HoldImage {
  public:
    explicit HoldImage(const Kind& k) : lock_(*k.lock) {
        for (int waited = 0; !(held_ = lock_.try_lock()) && waited < kImageWaitMs; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~HoldImage() {
        if (held_) lock_.unlock();
    }
    HoldImage(const HoldImage&) = delete;
    HoldImage& operator=(const HoldImage&) = delete;
    bool owns_lock() const { return held_; }

  private:
    std::mutex& lock_;
    bool held_ = false;
};

bool SlotOk(int32_t slot) {
    return slot >= 0 && slot <= 9;
}
std::string FileName(const Kind& k, int32_t slot) {
    char name[16];
    std::snprintf(name, sizeof name, k.format, static_cast<int>(slot));
    return name;
}

// Size check and read of a file into buffer: the byte count, or -100, -200, or the read's failure.
int32_t ReadSized(const Kind& k, uint32_t area, const char* dir, const std::string& name, uint8_t* buffer) {
    const int32_t size =
        FileSize((std::string("/mnt/") + RawReadArea(area) + "/" + dir + "/" + name).c_str());
    if (size <= 0) return kFileMissing;
    if (static_cast<uint32_t>(size) == k.size) {
        std::memset(buffer, 0, k.size);
    } else if (static_cast<uint32_t>(size) != k.size - k.oldDelta) {
        return kFileBadFrame;
    }
    return FileReadRaw(area, dir, name.c_str(), buffer, k.size);
}

// What a parse may change, kept so that a failed import can put it back: the image, the tables of the
// kind and the saved configuration with the invalid marker.
struct Snapshot {
    uint8_t seqImage[kSeqFileSize];
    SeqStepRecord seq[kSeqTables][kSeqSlices][kSeqSteps];
    uint8_t simImage[kSimFileSize];
    SimStepRecord sim[kSimSets][kSeqSlices][kSimSlots];
    SeqSavedConfig seqSaved;
    SimSavedConfig simSaved;
    uint32_t invalid;
};
void Take(const Kind& k, Snapshot& s) {
    const SeqSimBlock& b = g_SeqSimBlock[0];
    if (&k == &kSeq) {
        std::memcpy(s.seqImage, g_SeqFileBuf, sizeof s.seqImage);
        std::memcpy(s.seq, g_SeqStepTable, sizeof s.seq);
    } else {
        std::memcpy(s.simImage, g_SimFileBuf, sizeof s.simImage);
        std::memcpy(s.sim, g_SimStepTable, sizeof s.sim);
    }
    s.seqSaved = b.seqSaved;
    s.simSaved = b.simSaved;
    s.invalid = b.invalid;
}
void Restore(const Kind& k, const Snapshot& s) {
    SeqSimBlock& b = g_SeqSimBlock[0];
    if (&k == &kSeq) {
        std::memcpy(g_SeqFileBuf, s.seqImage, sizeof s.seqImage);
        std::memcpy(g_SeqStepTable, s.seq, sizeof s.seq);
    } else {
        std::memcpy(g_SimFileBuf, s.simImage, sizeof s.simImage);
        std::memcpy(g_SimStepTable, s.sim, sizeof s.sim);
    }
    b.seqSaved = s.seqSaved;
    b.simSaved = s.simSaved;
    b.invalid = s.invalid;
}

int32_t Save(const Kind& k, int32_t slot, int32_t clear) {
    if (!SlotOk(slot)) return kFileBadArgument;
    const storage::ImageHold saved(g_SeqSimSavedLock);
    const HoldImage held(k);
    if (!saved.owns_lock() || !held.owns_lock()) return kFileBadArgument;
    const int32_t built = &k == &kSeq ? SeqBuildFile(slot, clear) : SimBuildFile(slot);
    if (built != 0) return kFileBadArgument;
    const int32_t written = FileWriteRaw(1, k.dir, FileName(k, slot).c_str(), k.image, k.size);
    // The names file goes with the stored memories: its loss is told at the start only where it was written.
    // The record of stored memories lets the start tell a memory's file gone from one never stored.
    if (written > 0) {
        SeqSimNamesKeep();
        SeqSimStoredAdd(1u << (k.storedShift + static_cast<uint32_t>(slot)));
    }
    return written;
}

int32_t Load(const Kind& k, int32_t slot) {
    if (!SlotOk(slot)) return kFileBadArgument;
    const storage::ImageHold saved(g_SeqSimSavedLock);
    const HoldImage held(k);
    if (!saved.owns_lock() || !held.owns_lock()) return kFileBadArgument;
    const int32_t n = ReadSized(k, 1, k.dir, FileName(k, slot), k.image);
    return n < 0 ? n : k.parse(slot, n);
}

// Runs fill (which puts a file image into the kind's image buffer) and the parse; on success the slot's
// file is saved, on any failure everything the parse may have changed is put back.
template <typename Fill>
int32_t ImportChecked(const Kind& k, int32_t slot, Fill fill) {
    std::unique_ptr<Snapshot> before(new (std::nothrow) Snapshot);
    if (!before) return kFileBadArgument;
    {
        const storage::ImageHold saved(g_SeqSimSavedLock);
        const HoldImage held(k);
        if (!saved.owns_lock() || !held.owns_lock()) return kFileBadArgument;
        Take(k, *before);
        int32_t r = fill();
        if (r >= 0) r = k.parse(slot, r);
        if (r != 1) {
            Restore(k, *before);
            return r;
        }
    }
    return Save(k, slot, 0);
}

int32_t ImportImage(const Kind& k, int32_t slot, const uint8_t* data, uint32_t length) {
    if (!SlotOk(slot) || data == nullptr || length == 0) return kFileBadArgument;
    if (length != k.size) return kFileBadFrame;
    return ImportChecked(k, slot, [&] {
        std::memcpy(k.image, data, length);
        return static_cast<int32_t>(length);
    });
}

int32_t ImportUsb(const Kind& k, int32_t slot) {
    if (!SlotOk(slot)) return kFileBadArgument;
    return ImportChecked(k, slot, [&] { return ReadSized(k, 0, BrandDir(), FileName(k, slot), k.image); });
}

int32_t ReadChecked(const Kind& k, const std::string& name, uint8_t* buffer) {
    const int32_t n = ReadSized(k, 1, k.dir, name, buffer);
    if (n < 0) return n;
    const storage::DataFileRule rule{k.fileKind, 1u << k.version, kFileBadModel};
    const int32_t frame = storage::DataFileFrameCheck(buffer, static_cast<size_t>(n), rule);
    return frame == 1 ? n : frame;
}

// Configuration words of a stored memory from one read; false when it cannot be read.
bool StoredWords(const Kind& k, int32_t slot, std::initializer_list<std::pair<uint32_t, uint16_t*>> words) {
    std::unique_ptr<uint8_t, decltype(&std::free)> buffer(static_cast<uint8_t*>(AlignedAlloc(k.size)),
                                                          std::free);
    if (!buffer || !SlotOk(slot) || ReadChecked(k, FileName(k, slot), buffer.get()) < 0) return false;
    for (const auto& [offset, out] : words)
        *out = storage::LoadBe16(buffer.get() + offset);
    return true;
}

// Whether the named file of the kind's folder passes the checks of a stored memory's read.
bool SoundFile(const Kind& k, const char* name) {
    std::unique_ptr<uint8_t, decltype(&std::free)> buffer(static_cast<uint8_t*>(AlignedAlloc(k.size)),
                                                          std::free);
    return buffer && ReadChecked(k, name, buffer.get()) > 0;
}

// A file made on another model still carries this kind's frame: its size field and kind word. One that
// does not (a file of zeros names no model either) is damaged.
bool OtherModels(const Kind& k, const uint8_t* image) {
    return storage::LoadBe32(image + storage::kHeaderSizeOffset) == k.size &&
           storage::LoadBe16(image + storage::kHeaderWordsOffset + 2) == k.fileKind;
}

// Each stored memory of the kind that fails its checks is said, each damage once (data_reset_note.h); one
// never stored, or made for another model, is no damage. No save writes an empty file, and a memory once
// stored keeps its file: an empty one, or one recorded as stored and missing, was lost. The memories found
// are returned, to be recorded as stored.
uint32_t ReportDamaged(const Kind& k, const char* label, uint32_t recorded) {
    std::unique_ptr<uint8_t, decltype(&std::free)> buffer(static_cast<uint8_t*>(AlignedAlloc(k.size)),
                                                          std::free);
    if (!buffer) return 0;
    uint32_t found = 0;
    for (int32_t slot = 0; slot <= 9; ++slot) {
        const std::string name = FileName(k, slot);
        const std::string key = std::string(label) + " memory " + std::to_string(slot);
        const uint32_t bit = 1u << (k.storedShift + static_cast<uint32_t>(slot));
        const int32_t size = FileSize((std::string("/mnt/tst/") + k.dir + "/" + name).c_str());
        if (size < 0) {
            if (recorded & bit)
                StoredDataTell(key, kPrintMissing, key + " lost: stored file missing, its recall fails");
            else
                StoredDataSound(key);
            continue;
        }
        found |= bit;
        if (size == 0) {
            StoredDataTell(key, kPrintEmpty, key + " damaged: stored file empty, its recall fails");
            continue;
        }
        const int32_t n = ReadChecked(k, name, buffer.get());
        if (n > 0 || (n == kFileBadModel && OtherModels(k, buffer.get()))) {
            StoredDataSound(key);
            continue;
        }
        // A file of a size no memory has is not read: its size stands for it.
        const uint64_t print = static_cast<uint32_t>(size) == k.size ? StoredDataPrint(buffer.get(), k.size)
                                                                     : static_cast<uint64_t>(size);
        StoredDataTell(key, print, key + " damaged: stored file fails its checks, its recall fails");
    }
    return found;
}

// A configuration word of a stored memory, 0xFFFF when it cannot be read.
uint16_t StoredWord(const Kind& k, int32_t slot, uint32_t offset) {
    uint16_t word = 0xFFFF;
    StoredWords(k, slot, {{offset, &word}});
    return word;
}

}  // namespace

int32_t SeqSaveFile(int32_t slot, int32_t clear) {
    return Save(kSeq, slot, clear);
}
int32_t SimSaveFile(int32_t slot) {
    return Save(kSim, slot, 0);
}
int32_t SeqLoadFile(int32_t slot) {
    return Load(kSeq, slot);
}
int32_t SimLoadFile(int32_t slot) {
    return Load(kSim, slot);
}
int32_t SeqImportFileImage(int32_t slot, const uint8_t* data, uint32_t length) {
    return ImportImage(kSeq, slot, data, length);
}
int32_t SimImportFileImage(int32_t slot, const uint8_t* data, uint32_t length) {
    return ImportImage(kSim, slot, data, length);
}
int32_t SeqImportFromUsb(int32_t slot) {
    return ImportUsb(kSeq, slot);
}
int32_t SimImportFromUsb(int32_t slot) {
    return ImportUsb(kSim, slot);
}
int32_t SeqFileReadChecked(int32_t slot, uint8_t* buffer) {
    if (!SlotOk(slot) || buffer == nullptr) return kFileBadArgument;
    return ReadChecked(kSeq, FileName(kSeq, slot), buffer);
}
int32_t SimFileReadChecked(int32_t slot, uint8_t* buffer) {
    if (!SlotOk(slot) || buffer == nullptr) return kFileBadArgument;
    return ReadChecked(kSim, FileName(kSim, slot), buffer);
}
bool SeqSimMemFilesStored() {
    for (const Kind* k : {&kSeq, &kSim})
        for (int32_t slot = 0; slot <= 9; ++slot)
            if (FileSize((std::string("/mnt/tst/") + k->dir + "/" + FileName(*k, slot)).c_str()) > 0)
                return true;
    return false;
}
void SeqSimMemFilesReport() {
    const uint32_t recorded = SeqSimStoredLoad();
    const uint32_t found = ReportDamaged(kSeq, "SEQ", recorded) | ReportDamaged(kSim, "SIM", recorded);
    SeqSimStoredAdd(found);
}
bool SeqMemFileSound(const char* name) {
    return name != nullptr && SoundFile(kSeq, name);
}
bool SimMemFileSound(const char* name) {
    return name != nullptr && SoundFile(kSim, name);
}
uint16_t SeqMem_StoredPhaseMode(int32_t slot) {
    return StoredWord(kSeq, slot, kSeqConfig + kSeqCfgWiring);
}
uint16_t SeqMem_StoredRange(int32_t slot) {
    return StoredWord(kSeq, slot, kSeqConfig + kSeqCfgRange);
}
uint16_t SimMem_StoredPhaseMode(int32_t slot) {
    return StoredWord(kSim, slot, kSimConfig + kSimCfgWiring);
}
bool SeqMem_StoredConfig(int32_t slot, uint16_t* wiring, uint16_t* range) {
    if (wiring == nullptr || range == nullptr) return false;
    return StoredWords(kSeq, slot, {{kSeqConfig + kSeqCfgWiring, wiring}, {kSeqConfig + kSeqCfgRange, range}});
}
