// The running controller's home keys: the key lock through Modbus TCP; preset mode's save and exit with the
// preset the status bar names (also after a scanned recall and *SAV/*RCL) and what its popups covered
// painted again, and the screen-copy key writes the screen and a settings text to the USB stick. Any SCPI
// command puts the panel in remote: SHIFT then PRESET returns it to local before the next keys. (The voltage
// by knob and keypad up to its limit: SettingPaths; the lamp word of SHIFT and PRESET, and the remote keys'
// refusal and way back to local: tests/panel's MenuKeys; RMT in the status bar: its StatusBar golden.)
#include <cstdio>
#include <filesystem>
#include <regex>

#include "tests/system/panel/front_panel_suite.h"

namespace {

using namespace testsupport;

class PanelHomeKeys : public FrontPanelSuite {
  protected:
    // The status bar's output cell naming a preset ("M3"), in white at (10, 0).
    static bool PresetCell(const std::string& text) { return WaitLogged(10, 0, text); }
    static int ModbusPort() { return 502 + c().portOffset(); }
    // mbpoll's output for one request to the controller (PDU addresses, one poll).
    static std::string Mbpoll(const std::string& args) {
        const std::string cmd =
            "mbpoll -m tcp -p " + std::to_string(ModbusPort()) + " -a 1 -0 -1 -o 2 " + args + " 2>&1";
        std::string out;
        if (FILE* p = popen(cmd.c_str(), "r")) {
            char buf[256];
            while (fgets(buf, sizeof buf, p) != nullptr)
                out += buf;
            pclose(p);
        }
        return out;
    }
    // The key-lock register as mbpoll reads it ("0", "1"), or its whole output when it read nothing.
    static std::string ReadLock() {
        const std::string out = Mbpoll("-r 0 -c 1 -t 4 127.0.0.1");
        std::smatch m;
        return std::regex_search(out, m, std::regex(R"(\[0\]:\s+(-?\d+))")) ? m[1].str() : out;
    }
    static std::string WriteLock(int value) { return Mbpoll("-r 0 -t 4 127.0.0.1 " + std::to_string(value)); }
    static bool LockIconShown() {
        for (int waited = 0; waited <= 5000; waited += 20) {
            for (int x = 700; x <= 719; ++x)
                for (int y = 0; y < 24; ++y)
                    if (Pixel(x, y) != 0x0000) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
};

// First in the suite, before any SCPI puts the panel in remote: Modbus TCP through mbpoll, holding register
// 0 reads and sets the panel's key lock, which the status bar and the key filter follow.
TEST_F(PanelHomeKeys, ModbusRegisterZeroIsThePanelsKeyLock) {
    ASSERT_TRUE(c().WaitForOutput("ModbusThread: listening on port " + std::to_string(ModbusPort())))
        << c().Output();
    EXPECT_EQ(ReadLock(), "0");
    EXPECT_NE(WriteLock(1).find("Written 1 references"), std::string::npos);
    EXPECT_TRUE(LockIconShown()) << "lock icon at x 700-719";
    Mark();
    ASSERT_TRUE(Panel("key O"));
    EXPECT_TRUE(WaitLogged(365, 190, "Keys Locked")) << TextLog();
    EXPECT_FALSE(WaitLogged(0, 12, "Quick ACV (", true, 300)) << "a locked key opens nothing";
    EXPECT_EQ(ReadLock(), "1");
    Mark();
    ASSERT_TRUE(Panel("hold K"));
    EXPECT_TRUE(WaitLogged(365, 190, "Keys Unlocked")) << TextLog();
    EXPECT_EQ(ReadLock(), "0");
}

TEST_F(PanelHomeKeys, PresetModeSavesAndLeaves) {
    Send("VOLT 50");
    Local();
    Mark();
    ASSERT_TRUE(Panel("key N"));
    EXPECT_TRUE(Popup("Preset Mode")) << TextLog();
    Mark();
    ASSERT_TRUE(Panel("hold I"));
    EXPECT_TRUE(Popup("Saved To M9")) << TextLog();
    EXPECT_TRUE(PresetCell("M9")) << TextLog();
    Mark();
    ASSERT_TRUE(Panel("key L"));
    EXPECT_TRUE(Popup("Exit Preset Mode")) << TextLog();
    Send("VOLT 80");
    EXPECT_EQ(Ask("VOLT?"), "+80.0000");
    // A scanned recall names its preset as the keys' recall does; a save or recall by SCPI then names its
    // own while the cell names a preset.
    Mark();
    ASSERT_TRUE(Panel("scan Recall M9"));
    EXPECT_TRUE(PresetCell("M9")) << TextLog();
    EXPECT_EQ(Ask("VOLT?"), "+50.0000");
    Mark();
    Send("*SAV 4");
    EXPECT_TRUE(PresetCell("M4")) << TextLog();
    Mark();
    Send("*RCL MAX");
    EXPECT_TRUE(PresetCell("M9")) << TextLog();
}

// What the message popup (240, 160, 250 x 60) covered is painted again when it goes, with the values of
// that moment, and the meter cells it covered in part (L2 and L3, rows 2 and 3) are then whole: a preset
// recalled from the keys (preset mode, a save, a recall, the exit) takes the output from 50 V to 0 V into
// a different load per phase under the popups, and once they are gone the cells show what 0 V showed
// before, also where the popup left them uncovered.
TEST_F(PanelHomeKeys, WhatARecallsPopupCoveredIsPaintedAgain) {
    ASSERT_TRUE(Panel("load 10 20 10"));
    SendLocal("VOLT 50;*SAV 1;:VOLT 0;*SAV 0;:OUTP ON");
    const auto cellsBox = [] { return Box(175, 143, 518, 253); };
    // A popup's frame is gone from its corner once the page under it is painted again.
    const auto popupGone = [] {
        for (int waited = 0; waited <= 10000; waited += 20) {
            if (Pixel(240, 160) != 0x07E0 && Pixel(240, 160) != 0xF800) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    };
    const auto waitBox = [&cellsBox](const std::vector<uint16_t>& want, bool equal) {
        for (int waited = 0; waited <= 10000; waited += 20) {
            if ((cellsBox() == want) == equal) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    };
    // 0 V's screen there once two looks 300 ms apart, each without a popup, agree (the save popups come
    // one after the other; the readings at 0 V do not change).
    std::vector<uint16_t> atZero;
    for (int waited = 0; waited <= 15000; waited += 300) {
        ASSERT_TRUE(popupGone()) << "the save popups' frame stays on screen";
        const std::vector<uint16_t> now = cellsBox();
        if (now == atZero) break;
        atZero = now;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    for (int round = 0; round < 4; ++round) {
        SendLocal("*RCL 1");
        ASSERT_TRUE(waitBox(atZero, false)) << "50 V shows, round " << round;
        // Preset mode's popup is up while the save to M1 and the recall of M0 change the readings under it.
        Keys({"key N", "hold A", "key @", "key N"});
        ASSERT_TRUE(popupGone()) << "a popup's frame stays on screen, round " << round;
        EXPECT_TRUE(waitBox(atZero, true)) << "a cell by the popup kept its old pixels, round " << round;
    }
    SendLocal("OUTP OFF;:VOLT 0");
    ASSERT_TRUE(Panel("load 0"));
}

TEST_F(PanelHomeKeys, ScreenCopyGoesToTheStickWithTheSettingsText) {
    Keys({"key S", "key N"});
    ASSERT_TRUE(Panel("usb insert sda1"));
    bool mounted = false;
    for (int waited = 0; waited <= 10000 && !mounted; waited += 50) {
        mounted = std::filesystem::exists(c().root() + "/mnt/sd1");
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(mounted);
    // The copy goes to the stick only once the watch has seen it, which the status bar's stick icon shows.
    ASSERT_TRUE(WaitPixel(375, 14, 0xFFFF)) << "the stick's icon";
    Mark();
    ASSERT_TRUE(Panel("hold L"));
    EXPECT_TRUE(WaitLogged(365, 175, "Screen Saved to\\nUSB:/QXDIMC000.bmp", false, 15000)) << TextLog();
    EXPECT_EQ(ReadFile(c().root() + "/mnt/sd1/QXDIMC000.bmp").size(), 1152054u);
    const std::string info = ReadFile(c().root() + "/mnt/sd1/qx/VRN4100_Info.txt");
    EXPECT_EQ(info.size(), 1024u);
    EXPECT_EQ(info.rfind("Kernal Version\t20230316 10:32:51\nMachine Version\t1.06\n\nOutphase\t3P4W\nRange\t100V\n", 0), 0u)
        << info.substr(0, 120);
}

}  // namespace
