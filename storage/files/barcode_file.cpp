#include "storage/files/barcode_file.h"

#include <cstring>
#include <mutex>

#include "core/control/barcode_table.h"
#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "storage/data_file_frame.h"
#include "storage/data_reset_note.h"
#include "storage/file_result.h"
#include "storage/file_util.h"
#include "storage/nv/settings_backup.h"
#include "storage/raw_file.h"

namespace {

constexpr uint32_t kArea = 1;
constexpr const char* kDir = "Bar";
constexpr const char* kName = "Barcode.Bar";
constexpr const char* kPath = "/mnt/tst/Bar/Barcode.Bar";
constexpr char kWhat[] = "barcode codes";

// Saves come from the key thread (teach, defaults) and the menu/control thread (remote teach). Each takes
// its copy of the texts and writes it inside this lock, so the last file written holds the latest texts.
std::mutex g_BarcodeSaveLock;

}  // namespace

int32_t BarcodeFileSave() {
    using namespace storage;
    uint8_t image[kBarcodeFileSize] = {};
    char model[sizeof g_ModelName];
    IdentityTextRead(g_ModelName, sizeof model, model);
    std::memcpy(image + kHeaderModelOffset, model, strnlen(model, kHeaderModelSize));
    StoreBe32(image + kHeaderSizeOffset, kBarcodeFileSize);
    if (FileNameSplit(kName, reinterpret_cast<char*>(image + kHeaderBaseOffset),
                      reinterpret_cast<char*>(image + kHeaderExtOffset)) != 0)
        return kFileBadArgument;
    StoreBe16(image + kHeaderWordsOffset, kHeaderMagic);
    StoreBe16(image + kHeaderWordsOffset + 2, kFileKindBarcode);
    std::lock_guard<std::mutex> save(g_BarcodeSaveLock);
    {
        std::lock_guard<std::mutex> g(g_BarcodeLock);
        std::memcpy(image + kBarcodeTextsOffset, g_BarcodeTable.rows[1], kBarcodeActions * kBarcodeTextLen);
    }
    DataFileSeal(image, sizeof image);
    return FileWriteRaw(kArea, kDir, kName, image, sizeof image);
}

int32_t BarcodeFileLoad() {
    uint8_t image[kBarcodeFileSize];
    const int32_t n = FileReadRaw(kArea, kDir, kName, image, sizeof image);
    if (n == kFileMissing) {
        // Every start writes the file when it finds none, and never an empty one: on a unit in use a file
        // missing or empty lost the codes taught. A new unit's first start finds none.
        const bool empty = FileSize(kPath) == 0;
        if (IdentityFoundInUse())
            StoredDataResetNote(kWhat, empty ? "stored file empty" : "stored file missing",
                                empty ? kPrintEmpty : kPrintMissing);
        else
            StoredDataSound(kWhat);
        return n;
    }
    const storage::DataFileRule rule{kFileKindBarcode, 0, 0};
    int32_t check = n < 1 ? n : kFileShortRead;
    if (static_cast<uint32_t>(n) == kBarcodeFileSize)
        check = storage::DataFileFrameCheck(image, kBarcodeFileSize, rule);
    if (check != 1) {
        StoredDataResetNote(kWhat, "stored file damaged",
                            n > 0 ? StoredDataPrint(image, static_cast<size_t>(n)) : kPrintUnreadable);
        return check;
    }
    StoredDataSound(kWhat);
    std::lock_guard<std::mutex> g(g_BarcodeLock);
    std::memcpy(g_BarcodeTable.rows[1], image + kBarcodeTextsOffset, kBarcodeActions * kBarcodeTextLen);
    return 1;
}
