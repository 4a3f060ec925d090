#include "panel/hardcopy/info_text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <span>

#include "core/params/access/param_access.h"
#include "core/params/param_store.h"
#include "platform/stage/wiring_codes.h"
#include "storage/brand_dir.h"
#include "storage/raw_file.h"
#include "sysadmin/sys_versions.h"

namespace {

using panel::kInfoLineBytes;
using panel::kInfoTextBytes;
using Words = std::span<const char* const>;

constexpr const char* kOffOn[] = {"OFF", "ON"};
constexpr const char* kFreeFixed[] = {"FREE", "FIXED"};
constexpr const char* kWiring[] = {"3P4W", "1P2W", "1P3W"};
constexpr const char* kRanges[] = {"100V", "200V", "AUTO"};
constexpr const char* kModes[] = {"AC+DC-INT", "AC-INT",    "DC-INT", "AC+DC-EXT", "AC-EXT",
                                  "AC+DC-ADD", "AC-ADD",    "AC+DC-Sync", "AC-Sync", "AC-VCA"};
constexpr const char* kWaves[] = {"ARB1",  "ARB2",  "ARB3",  "ARB4",  "ARB5",  "ARB6",  "ARB7",  "ARB8",
                                  "ARB9",  "ARB10", "ARB11", "ARB12", "ARB13", "ARB14", "ARB15", "ARB16",
                                  "SIN",   "SQU",   "TRI",   "ARB17", "ARB18", "ARB19"};
constexpr const char* kSources[] = {"L1 Ext", "L2 Ext", "L3 Ext", "L1"};
constexpr const char* kSignals[] = {"L1 LINE", "L2 LINE", "L3 LINE", "EXT"};
constexpr const char* kBalance[] = {"Unbalance", "Balance"};
constexpr const char* kSlew[] = {"Slow", "Medium", "Fast"};
constexpr const char* kRelay[] = {"Disable", "Enable"};
constexpr const char* kThd[] = {"IEC", "CSA"};
constexpr const char* kVUnit[] = {"rms", "p-p"};
constexpr const char* kMonitorSources[] = {"L1 Voltage", "L2 Voltage", "L3 Voltage",
                                           "L1 Current", "L2 Current", "L3 Current"};
constexpr const char* kMonitorAmp[] = {"2.5", "10"};
constexpr const char* kUpdateRates[] = {"Fast", "0.1s", "0.25s", "0.5s", "1s", "2s", "5s", "10s"};

// Output modes (bit m) in which an item applies.
constexpr uint16_t Except(std::initializer_list<int> modes) {
    uint16_t mask = 0x3FF;
    for (int m : modes)
        mask &= static_cast<uint16_t>(~(1u << m));
    return mask;
}
constexpr uint16_t Only(std::initializer_list<int> modes) {
    return static_cast<uint16_t>(0x3FF & ~Except(modes));
}
constexpr uint16_t kAlways = 0x3FF;
constexpr uint16_t kInternal = Except({2, 3, 4});
constexpr uint16_t kExternal = Only({3, 4, 5, 6, 9});
constexpr uint16_t kSync = Only({7, 8});

int32_t Wiring() {
    return static_cast<int32_t>(GetPhaseMode());
}
int32_t RangeRow() {
    const int32_t r = GetVoltRange();
    return r == kUserRange100V || r == kUserRange200V ? r : kUserRangeAuto;
}
int32_t ModeRow() {
    return static_cast<int32_t>(g_OutputModeIdx.load(std::memory_order_relaxed));
}
int32_t MainSrcFirst() {
    return GetMainSrc(0);
}

// One line: a value of the whole unit (single, or the parameter's first word), or one per output phase;
// shown with format (stored integer / divisor) or as the word of its row.
struct Item {
    const char* key;
    uint16_t modes;
    int32_t (*single)();
    int32_t (*perPhase)(int);
    uint32_t paramId;
    const char* format;
    double divisor;
    Words words;
};

constexpr Item Num(const char* key, uint16_t modes, int32_t (*get)(), const char* format, double divisor) {
    return {key, modes, get, nullptr, 0, format, divisor, {}};
}
constexpr Item PhaseNum(const char* key, uint16_t modes, int32_t (*get)(int), const char* format) {
    return {key, modes, nullptr, get, 0, format, format[2] == '2' ? 100.0 : 10.0, {}};
}
constexpr Item Word(const char* key, uint16_t modes, int32_t (*get)(), Words words) {
    return {key, modes, get, nullptr, 0, nullptr, 1, words};
}
constexpr Item PhaseWord(const char* key, uint16_t modes, int32_t (*get)(int), Words words) {
    return {key, modes, nullptr, get, 0, nullptr, 1, words};
}
constexpr Item Param(const char* key, uint32_t id, Words words) {
    return {key, kAlways, nullptr, nullptr, id, words.empty() ? "%d" : nullptr, 1, words};
}

const Item kSettings[] = {
    Word("Outphase", kAlways, Wiring, kWiring),
    Word("Range", kAlways, RangeRow, kRanges),
    Word("Mode", kAlways, ModeRow, kModes),
    PhaseNum("ACV", Except({2, 3, 4, 9}), GetAcv, "%.2f"),
    PhaseNum("DCV", Except({1, 3, 4, 6, 8, 9}), GetDcv, "%.2f"),
    PhaseNum("Freq", Except({2, 3, 4, 7, 8}), GetFrequency, "%.2f"),
    Word("Irms Limit", kAlways, GetIrmsLimitMode, kOffOn),
    PhaseNum("Irms", kAlways, GetCurrLimit, "%.2f"),
    PhaseNum("OnPhase", kInternal, GetOnPhase, "%.1f"),
    PhaseNum("OffPhase", kInternal, GetOffPhase, "%.1f"),
    PhaseWord("OnPhaAct", kInternal, GetOnPhaseState, kFreeFixed),
    PhaseWord("OffPhaAct", kInternal, GetOffPhaseState, kFreeFixed),
    PhaseWord("Wave", kInternal, GetWaveform, kWaves),
    PhaseNum("Gain", kExternal, GetGain, "%.2f"),
    Word("SRC", kExternal, MainSrcFirst, kSources),
    Word("SIG", kSync, GetMainSig, kSignals),
    Num("SycPhs", kSync, GetSyncPhase, "%.1f", 10),
    Num("L1-L2", kInternal, GetPhaseAngle_L2, "%.1f", 10),
    Num("L1-L3", kInternal, GetPhaseAngle_L3, "%.1f", 10),
    Word("IPK Limit", kAlways, GetIpkLimitMode, kOffOn),
    PhaseNum("IPK Limit+", kAlways, GetIpkMax, "%.2f"),
    PhaseNum("IPK Limit-", kAlways, GetIpkMin, "%.2f"),
    Num("VPK Limit+", kAlways, GetVpkMax, "%.2f", 100),
    Num("VPK Limit-", kAlways, GetVpkMin, "%.2f", 100),
    Num("Freq Limit+", kAlways, GetFreqLimitHi, "%.2f", 100),
    Num("Freq Limit-", kAlways, GetFreqLimitLo, "%.2f", 100),
};

const Item kOptions[] = {
    Param("PhaseMode", kParamBalanceMode, kBalance),
    Param("Remote Sense", kParamRemoteSense, kOffOn),
    Param("Slew Rate", kParamSlewRate, kSlew),
    Param("Output Relay", kParamOutputRelay, kRelay),
    Param("THD Format", kParamHarmMode, kThd),
    Param("External Control", kParamExtControl, kOffOn),
    Param("V Unit", kParamAcvUnit, kVUnit),
    Param("SetChangePhase", kParamPhaseSetChange, kOffOn),
    Param("VI Monitor Source 1", kParamMonitorSource1, kMonitorSources),
    Param("VI Monitor Source 2", kParamMonitorSource2, kMonitorSources),
    Param("VI Monitor", kParamMonitorAmp, kMonitorAmp),
    Param("Re-lock", kParamRelock, kOffOn),
    Param("Data Average Count", kParamAvgCount, {}),
    Param("Data Update Rate", kParamUpdateRate, kUpdateRates),
};

// The text, assembled line by line: a line is cut so that it fits 64 bytes with its line feed, the whole
// at 1024 bytes, so that no stored value, however wild, writes past either.
class InfoText {
  public:
    InfoText() { std::memset(text_, 0, sizeof text_); }
    void Add(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        if (lineLen_ >= kInfoLineBytes - 1) return;
        va_list args;
        va_start(args, format);
        const int n = std::vsnprintf(line_ + lineLen_, kInfoLineBytes - lineLen_, format, args);
        va_end(args);
        if (n > 0) lineLen_ = std::min(lineLen_ + static_cast<size_t>(n), kInfoLineBytes - 1);
    }
    void EndLine() {
        line_[lineLen_++] = '\n';
        const size_t n = std::min(lineLen_, kInfoTextBytes - len_);
        std::memcpy(text_ + len_, line_, n);
        len_ += n;
        lineLen_ = 0;
    }
    const char* bytes() const { return text_; }

  private:
    char line_[kInfoLineBytes];
    size_t lineLen_ = 0;
    char text_[kInfoTextBytes];
    size_t len_ = 0;
};

void AddValue(InfoText& t, const Item& item, int32_t v) {
    if (item.format == nullptr && v >= 0 && static_cast<size_t>(v) < item.words.size()) {
        t.Add("\t%s", item.words[static_cast<size_t>(v)]);
    } else if (item.format == nullptr || item.format[1] == 'd') {
        t.Add("\t%d", v);  // a number outside the word list shows as itself
    } else {
        t.Add(item.format[2] == '2' ? "\t%.2f" : "\t%.1f", v / item.divisor);
    }
}

int PhaseCount() {
    const uint32_t wiring = GetPhaseMode();
    return wiring < kWirings ? static_cast<int>(PhasesOfWiring(wiring)) : 3;
}

void AddItem(InfoText& t, const Item& item, uint32_t mode) {
    if (item.paramId != 0) {
        ParamRec rec{};
        paramGetRecord(item.paramId, &rec, 0);
        // The monitor's amplitude has two settings; any other gives an empty line, key and all.
        if (item.paramId == kParamMonitorAmp && rec.value != 0 && rec.value != 1) return t.EndLine();
        t.Add("%s", item.key);
        AddValue(t, item, rec.value);
    } else {
        t.Add("%s", item.key);
        const bool applies = mode < 10 && ((item.modes >> mode) & 1u) != 0;
        if (applies && item.perPhase != nullptr) {
            for (int p = 0; p < PhaseCount(); ++p)
                AddValue(t, item, item.perPhase(p));
        } else if (applies) {
            AddValue(t, item, item.single());
        }
    }
    t.EndLine();
}

}  // namespace

void Hardcopy_WriteInfoText() {
    InfoText t;
    const int32_t* k = g_KernelBuildTime;
    t.Add("Kernal Version\t%4d%02d%02d %02d:%02d:%02d", k[0], k[1], k[2], k[3], k[4], k[5]);
    t.EndLine();
    t.Add("Machine Version\t%s", kMachineVersionText);
    t.EndLine();
    t.EndLine();
    const uint32_t mode = g_OutputModeIdx.load(std::memory_order_relaxed);
    for (const Item& item : kSettings)
        AddItem(t, item, mode);
    t.EndLine();
    for (const Item& item : kOptions)
        AddItem(t, item, mode);
    FileWriteRaw(0, BrandDir(), "VRN4100_Info.txt", t.bytes(), kInfoTextBytes);
}
