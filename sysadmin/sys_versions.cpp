#include "sysadmin/sys_versions.h"

#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/regbus/reg_read.h"
#include "platform/host/clock.h"
#include "platform/sandbox/sandbox.h"

char g_KernelName[16];
char g_KernelRelease[64];
char g_KernelVersion[64];
int32_t g_KernelBuildTime[7];
char g_UbootName[16];
char g_UbootVersion[64];
char g_UbootDateText[64];
int32_t g_UbootBuildTime[6];
char g_UbootVersionText[128];
VersionWords g_VersionWords;

void VersionWordsRead() {
    for (int phase = 0; phase < 3; ++phase)
        g_VersionWords.logic[phase].store(static_cast<uint32_t>(BusReg_GetModuleWord(phase)), std::memory_order_relaxed);
    g_VersionWords.hwRevision.store(BusReg_GetStatusHigh(), std::memory_order_relaxed);
    g_VersionWords.psVersion.store(static_cast<uint32_t>(BusReg_GetBootStatus()), std::memory_order_relaxed);
    g_VersionWords.plVersion.store(0, std::memory_order_relaxed);
}

namespace {

constexpr size_t kReadBuffer = 128;
constexpr int kMaxFields = 9;
constexpr size_t kFieldChars = 7;

constexpr char kWeekdays[7][4] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr char kMonths[12][4] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

using Fields = char[kMaxFields][kFieldChars + 1];

// Splits the text, up to its first line end, at any of `separators` into at most nine fields of at most
// seven characters (longer ones are cut). Runs of separators count as one; missing fields stay empty.
void Split(const char* text, const char* separators, Fields fields) {
    std::memset(fields, 0, sizeof(Fields));
    int n = 0;
    size_t len = 0;
    bool inField = false;
    for (const char* p = text; *p != '\0' && *p != '\n' && *p != '\r'; ++p) {
        if (std::strchr(separators, *p) != nullptr) {
            if (inField) ++n;
            inField = false;
            len = 0;
            continue;
        }
        if (n >= kMaxFields) break;
        inField = true;
        if (len < kFieldChars) fields[n][len++] = *p;
    }
}

// Row + 1 of the name in a table of three-letter names (any case), 0 when not found.
template <size_t N>
int32_t Lookup(const char (&table)[N][4], const char* name) {
    for (size_t i = 0; i < N; ++i)
        if (name[0] != '\0' && strcasecmp(table[i], name) == 0) return static_cast<int32_t>(i) + 1;
    return 0;
}

int32_t Number(const char* field) {
    if (field[0] == '\0') return 0;
    const long v = std::strtol(field, nullptr, 10);
    return v < 0 ? 0 : static_cast<int32_t>(v);
}

// Runs the command, waits for its output and reads at most size - 1 bytes of it; always terminated.
void ReadCommand(const char* command, char* buffer, size_t size) {
    std::memset(buffer, 0, size);
    std::FILE* pipe = plat::Popen(command, "r");
    if (pipe == nullptr) return;
    plat::SleepMs(100);
    const size_t got = std::fread(buffer, 1, size - 1, pipe);
    buffer[got] = '\0';
    plat::Pclose(pipe);
}

// The first line of `text`, at most size - 1 characters, without its line end.
void CopyFirstLine(char* dst, size_t size, const char* text) {
    size_t n = std::strcspn(text, "\r\n");
    if (n > size - 1) n = size - 1;
    std::memcpy(dst, text, n);
    dst[n] = '\0';
}

// Copies at most size - 1 characters of [from, from + n).
void CopyBounded(char* dst, size_t size, const char* from, size_t n) {
    if (n > size - 1) n = size - 1;
    std::memcpy(dst, from, n);
    dst[n] = '\0';
}

}  // namespace

namespace sysadmin {

void ReadCommandLine(const char* command, char* dst, size_t size) {
    char buffer[kReadBuffer];
    ReadCommand(command, buffer, sizeof buffer);
    CopyFirstLine(dst, size, buffer);
}

}  // namespace sysadmin

int32_t KernelDateParse(const char* text) {
    if (text == nullptr) return -1;
    Fields f;
    Split(text, " :", f);
    g_KernelBuildTime[6] = Lookup(kWeekdays, f[1]);
    g_KernelBuildTime[1] = Lookup(kMonths, f[2]);
    g_KernelBuildTime[2] = Number(f[3]);
    g_KernelBuildTime[3] = Number(f[4]);
    g_KernelBuildTime[4] = Number(f[5]);
    g_KernelBuildTime[5] = Number(f[6]);
    g_KernelBuildTime[0] = Number(f[8]);
    return 0;
}

void UbootDateParse(const char* text) {
    if (text == nullptr) return;
    Fields f;
    Split(text, " :(", f);
    g_UbootBuildTime[1] = Lookup(kMonths, f[0]);
    g_UbootBuildTime[2] = Number(f[1]);
    g_UbootBuildTime[0] = Number(f[2]);
    g_UbootBuildTime[3] = Number(f[4]);
    g_UbootBuildTime[4] = Number(f[5]);
    g_UbootBuildTime[5] = Number(f[6]);
}

int32_t UbootVersionRead() {
    char buffer[kReadBuffer];
    ReadCommand("strings /dev/mtd5 | grep \"U-Boot 2014.07-00001-g4a8e5b89e5-dirty\"", buffer, sizeof buffer);
    // Banner: NAME VERSION (DATE)
    buffer[std::strcspn(buffer, "\r\n")] = '\0';
    const char* p = buffer;
    size_t n = std::strcspn(p, " ");
    CopyBounded(g_UbootName, sizeof g_UbootName, p, n);
    p += n;
    if (*p == ' ') ++p;
    n = std::strcspn(p, " ");
    CopyBounded(g_UbootVersion, sizeof g_UbootVersion, p, n);
    p += n;
    if (*p == ' ') ++p;
    if (*p == '(') ++p;
    CopyBounded(g_UbootDateText, sizeof g_UbootDateText, p, std::strcspn(p, ")"));
    UbootDateParse(g_UbootDateText);
    const int32_t* t = g_UbootBuildTime;
    int len = std::snprintf(g_UbootVersionText, sizeof g_UbootVersionText,
                            "Uboot_Version\n%4d%02d%02d %02d:%02d:%02d", t[0], t[1], t[2], t[3], t[4], t[5]);
    return len < 0 ? 0 : static_cast<int32_t>(std::strlen(g_UbootVersionText));
}

int32_t SysVersionsRead() {
    struct Row {
        const char* command;
        char* text;
        size_t size;
    };
    const Row rows[] = {
        {"uname -s", g_KernelName, sizeof g_KernelName},
        {"ls /lib/modules/", g_KernelRelease, sizeof g_KernelRelease},
        {"uname -v", g_KernelVersion, sizeof g_KernelVersion},
    };
    for (const Row& row : rows)
        sysadmin::ReadCommandLine(row.command, row.text, row.size);
    KernelDateParse(g_KernelVersion);
    return UbootVersionRead();
}
