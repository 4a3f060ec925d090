#pragma once
// A fresh unit with the simulated USB stick mounted on /mnt/sd1 through the USB-memory watch, a
// framebuffer file to copy, and helpers to read what a screen copy leaves.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/default_store.h"

namespace hardcopytest {

class HardcopyTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The stick plugged in (or pulled) and the watch stepped until it has noticed.
    void InsertStick();
    void RemoveStick();
    // The framebuffer file's bytes: 800 x 480 little-endian RGB565 pixels from pixel(x, y), then the spare
    // lines, 1,152,000 bytes in all.
    template <typename F>
    static std::string Frame(F pixel) {
        std::string fb(1152000, '\0');
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 800; ++x) {
                const uint16_t v = pixel(x, y);
                fb[2 * (y * 800 + x)] = static_cast<char>(v & 0xFF);
                fb[2 * (y * 800 + x) + 1] = static_cast<char>(v >> 8);
            }
        return fb;
    }
    template <typename F>
    void FillScreen(F pixel) {
        store.root.Write("/dev/fb0", Frame(pixel));
    }
    // The key, then the supervisor's run when a copy is pending.
    void CopyKey();
    // The free text of the popup last posted; "" when none.
    static std::string Popup();
    std::string File(const std::string& instrumentPath) const { return store.root.Read(instrumentPath); }
    bool Exists(const std::string& instrumentPath) const;
    // The names in a folder of the root.
    std::vector<std::string> Folder(const std::string& instrumentPath) const;

    test::DefaultStore store;
};

}  // namespace hardcopytest
