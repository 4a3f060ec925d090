#pragma once
// The kernel and boot-loader versions and build dates, read once at start-up before the threads that
// show them start.
#include <atomic>
#include <cstddef>
#include <cstdint>

extern char g_KernelName[16];         // "uname -s"
extern char g_KernelRelease[64];      // the module tree's release directory
extern char g_KernelVersion[64];      // "uname -v"
extern int32_t g_KernelBuildTime[7];  // year, month 1-12, day, hour, minute, second, weekday 1 (Mon)-7
extern char g_UbootName[16];
extern char g_UbootVersion[64];
extern char g_UbootDateText[64];
extern int32_t g_UbootBuildTime[6];  // year, month, day, hour, minute, second
extern char g_UbootVersionText[128];
// The version of this program, as the settings text beside a screen copy names it.
inline constexpr char kMachineVersionText[] = "1.06";

// The version words of the system information, read once at start-up after the power stage's bus is up:
// the programmable-logic versions are the three module words (registers 2081-2083), the hardware
// revision is the stage's identification byte (bits 8-15 of 2048), the processor-side version word is
// the stage controller's boot word (2080); the logic-side version word has no source on this stage and
// stays 0. Written before the threads that read them start.
struct VersionWords {
    std::atomic<uint32_t> logic[3];
    std::atomic<uint32_t> hwRevision;
    std::atomic<uint32_t> psVersion;
    std::atomic<uint32_t> plVersion;
};
extern VersionWords g_VersionWords;
void VersionWordsRead();

// Reads the three kernel texts, parses the kernel build time and reads the boot-loader version.
// Returns the length of g_UbootVersionText.
int32_t SysVersionsRead();
// Parses a "uname -v" line ("#1 Thu Mar 16 10:32:51 CST 2023") into g_KernelBuildTime; 0, or -1 for null.
int32_t KernelDateParse(const char* text);
// Parses the boot loader's date text ("Mar 07 2023 - 15:12:33") into g_UbootBuildTime.
void UbootDateParse(const char* text);
// Reads the boot loader's banner from its flash partition; returns the length of g_UbootVersionText.
int32_t UbootVersionRead();

namespace sysadmin {
// Runs a command and keeps the first line of the first 127 bytes of its output, cut to size - 1
// characters, without its line end; always terminated (empty when there is no output).
void ReadCommandLine(const char* command, char* dst, size_t size);
}  // namespace sysadmin
