#pragma once
// The barcode code table on the internal store: /mnt/tst/Bar/Barcode.Bar, the twelve code texts (rows
// 1-12 of g_BarcodeTable) in the common data-file frame. The scanned line (row 0) is not stored.
#include <cstdint>

constexpr uint32_t kBarcodeFileSize = 1668;
constexpr uint32_t kBarcodeTextsOffset = 64;

// Writes the current texts as a whole new file (the old one stays until the new one is complete). The
// write result: the byte count, or a negative file result code.
int32_t BarcodeFileSave();
// Reads the file and, only when its frame is sound, copies its texts into the table: 1, or the read result
// when below 1, -102 when the file is not 1668 bytes long, -200 for a bad trailer, size field or kind. A
// refused file leaves the table as it was; one that is there (not missing or empty) is said on the
// console. The model text is not checked: a table taught on another model loads.
int32_t BarcodeFileLoad();
