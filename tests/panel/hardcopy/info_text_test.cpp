// The settings text written beside a screen copy.
#include "panel/hardcopy/info_text.h"

#include <climits>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "sysadmin/sys_versions.h"
#include "tests/panel/hardcopy/hardcopy_fixture.h"

namespace hardcopytest {
namespace {

class InfoText : public HardcopyTest {
  protected:
    void SetUp() override {
        HardcopyTest::SetUp();
        SysVersionsRead();  // the kernel's build date, as the unit reads it at start
        SetOutputMode(0);   // AC+DC-INT, 3P4W, 100 V
        g_PhaseMode = 0;
        SetVoltRange(0);
    }
    std::string Text() {
        Hardcopy_WriteInfoText();
        return File("/mnt/sd1/qx/VRN4100_Info.txt");
    }
    // The line that begins with key and a TAB or its end; "?" when there is none.
    std::string Line(const std::string& key) {
        const std::string text = Text();
        for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
            const std::string line = text.substr(at, end - at);
            if (line == key || line.rfind(key + "\t", 0) == 0) return line;
        }
        return "?";
    }
    static void PutParam(uint32_t id, int32_t value) {
        ParamRec rec{};
        paramGetRecord(id, &rec, 0);
        rec.value = value;
        paramPutRecord(id, &rec, 0);
    }
};

size_t Count(const std::string& s, char c) {
    return static_cast<size_t>(std::count(s.begin(), s.end(), c));
}

TEST_F(InfoText, IsAThousandAndTwentyFourBytesOfFortyFourLinesThenZeros) {
    const std::string text = Text();
    ASSERT_EQ(text.size(), 1024u);
    EXPECT_EQ(text.rfind("Kernal Version\t20230316 10:32:51\nMachine Version\t1.06\n\nOutphase\t3P4W\n"
                         "Range\t100V\nMode\tAC+DC-INT\nACV\t",
                         0),
              0u)
        << text.substr(0, 120);
    const size_t end = text.find('\0');
    EXPECT_EQ(Count(text.substr(0, end), '\n'), 44u);
    EXPECT_EQ(text.find_first_not_of('\0', end), std::string::npos);
    EXPECT_EQ(text[end - 1], '\n');
    EXPECT_NE(text.find("\nIPK Limit-\t", 0), std::string::npos);
    EXPECT_NE(text.find("\nFreq Limit-\t"), std::string::npos);
    EXPECT_NE(text.find("\n\nPhaseMode\t"), std::string::npos) << "an empty line after line 28";
}

TEST_F(InfoText, ItemsFollowTheModeAndTheWiring) {
    struct Case {
        uint32_t mode, wiring;
        const char* key;
        size_t tabs;  // 0: the bare key
    };
    const Case cases[] = {
        {0, 0, "ACV", 3}, {0, 1, "ACV", 1},   {0, 2, "ACV", 2},  {2, 0, "ACV", 0},   {9, 0, "ACV", 0},
        {1, 0, "DCV", 0}, {2, 1, "DCV", 1},   {7, 0, "Freq", 0}, {1, 0, "Freq", 3},  {3, 0, "Wave", 0},
        {3, 0, "Gain", 3}, {1, 0, "Gain", 0}, {9, 0, "SRC", 1},  {8, 0, "SycPhs", 1}, {0, 0, "SIG", 0},
        {4, 0, "L1-L2", 0}, {0, 1, "L1-L3", 1}, {2, 0, "Irms", 3}, {2, 1, "IPK Limit+", 1}, {9, 0, "DCV", 0},
        {2, 0, "OnPhase", 0}, {3, 0, "Freq", 0},
    };
    for (const Case& c : cases) {
        g_OutputModeIdx.store(c.mode);
        g_PhaseMode = c.wiring;
        const std::string line = Line(c.key);
        EXPECT_EQ(line.rfind(c.key, 0), 0u) << line;
        EXPECT_EQ(Count(line, '\t'), c.tabs) << "mode " << c.mode << " wiring " << c.wiring << ": " << line;
    }
    g_OutputModeIdx.store(2);
    EXPECT_EQ(Line("Mode"), "Mode\tDC-INT");
    EXPECT_EQ(Line("ACV"), "ACV");
}

TEST_F(InfoText, WordsComeFromTheStoredNumbers) {
    const std::pair<uint32_t, int32_t> params[] = {
        {kParamMonitorSource2, 5}, {kParamUpdateRate, 7}, {kParamAvgCount, 16}, {kParamSlewRate, 2}};
    for (const auto& [id, value] : params)
        PutParam(id, value);
    EXPECT_EQ(Line("VI Monitor Source 2"), "VI Monitor Source 2\tL3 Current");
    EXPECT_EQ(Line("Data Update Rate"), "Data Update Rate\t10s");
    EXPECT_EQ(Line("Data Average Count"), "Data Average Count\t16");
    EXPECT_EQ(Line("Slew Rate"), "Slew Rate\tFast");
    const std::pair<int32_t, const char*> monitor[] = {{0, "VI Monitor\t2.5"}, {1, "VI Monitor\t10"}};
    for (const auto& [value, line] : monitor) {
        PutParam(kParamMonitorAmp, value);
        EXPECT_EQ(Line("VI Monitor"), line);
    }
    PutParam(kParamMonitorAmp, 2);
    EXPECT_EQ(Line("VI Monitor"), "?");
    EXPECT_NE(Text().find("L3 Current\n\nRe-lock\t"), std::string::npos) << "an empty line in its place";
}

TEST_F(InfoText, AWildValueIsCutToItsLine) {
    for (int32_t& field : g_KernelBuildTime)
        field = INT_MIN;
    const std::string text = Text();
    ASSERT_EQ(text.size(), 1024u);
    EXPECT_EQ(text.find('\n'), 63u) << "the first line with its line feed fills 64 bytes";
    EXPECT_EQ(text.substr(64, 16), "Machine Version\t");
}

}  // namespace
}  // namespace hardcopytest
