#pragma once
// The barcode code table: twelve code texts, one per action (recall preset M0-M9, output on, output off),
// and the scanned-line buffer the scanner driver and the remote teach fill. It lives here because the
// factory-default event asks the next match to reload the default texts.
#include <atomic>
#include <cstdint>
#include <mutex>

constexpr int kBarcodeRows = 13;  // row 0 the scanned line, rows 1-12 the texts of actions 0-11
constexpr int kBarcodeTextLen = 16;
constexpr int kBarcodeActions = 12;

struct BarcodeTable {
    char rows[kBarcodeRows][kBarcodeTextLen];
    int32_t lineLength;
    int32_t lineComplete;
    int32_t activity;  // a character was typed since the device opened or the line was last used
    // 1 after a panel teach, 2 after a remote teach; the barcode list page reads and clears it.
    std::atomic<int32_t> tableChanged;
    // Set by the factory-default event: the next match restores the default texts.
    std::atomic<int32_t> reloadDefaults;
    // 1 (release) once the scanner's start has put the stored texts, or the defaults, in place: the key
    // thread does so only after the menu/control thread runs, while a remote channel may already serve.
    std::atomic<int32_t> loaded;
};
extern BarcodeTable g_BarcodeTable;
// Guards the rows and the line words: the key thread feeds lines, the menu/control thread matches or
// teaches them and its remote teach writes the same line buffer.
extern std::mutex g_BarcodeLock;

// Caller holds g_BarcodeLock.
void BarcodeSetDefaultTexts();
void BarcodeLineClear();
