#include "core/control/barcode_table.h"

#include <cstring>

BarcodeTable g_BarcodeTable{};
std::mutex g_BarcodeLock;

void BarcodeSetDefaultTexts() {
    static const char* const kDefaults[kBarcodeActions] = {
        "Recall M0", "Recall M1", "Recall M2", "Recall M3", "Recall M4", "Recall M5",
        "Recall M6", "Recall M7", "Recall M8", "Recall M9", "Output ON", "Output OFF"};
    for (int a = 0; a < kBarcodeActions; ++a) {
        std::memset(g_BarcodeTable.rows[a + 1], 0, kBarcodeTextLen);
        std::strncpy(g_BarcodeTable.rows[a + 1], kDefaults[a], kBarcodeTextLen);
    }
}

void BarcodeLineClear() {
    std::memset(g_BarcodeTable.rows[0], 0, kBarcodeTextLen);
    g_BarcodeTable.lineLength = 0;
    g_BarcodeTable.lineComplete = 0;
}
