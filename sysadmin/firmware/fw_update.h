#pragma once
// Updates of the instrument's own parts from USB memory: the application program in /mnt/disk/app and
// the web pages under /mnt/disk/httpd, with the status and progress texts the panel shows meanwhile.
// A bad file or a failed copy leaves the old part in place, also when the program is killed midway.
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "core/system/state/fw_update_state.h"

// The mode of the further service page: files are taken from the service folder "VRN4100".
constexpr int32_t kFwUpdServiceMode = 100;

// 1 for the model's A variant, whose FPGA and boot-image files carry "VRN4100A_".
extern std::atomic<uint32_t> g_ModelVariantA;
// 1 while the boot image is being written.
extern std::atomic<uint32_t> fwBusy;

// Progress of the size-driven codes and the dots of the progress texts.
extern std::atomic<uint32_t> fwPercent;
extern std::atomic<uint32_t> fwThreshold;
extern std::atomic<uint32_t> fwDots;

// Shows status text `code` (0-13, waiting 1 s after it) or progress code 14-19 (texts of the shown
// popup replaced, 200 ms).
void FwUpd_ShowStatus(int32_t code, int32_t a, int32_t b);

// The USB folder of a mode: "VRN4100" for the service mode, else "tulve" for brand 1, "QX" otherwise.
const char* FwUpd_UsbFolder(int32_t mode);

// 1 when the file of that name in the mode's USB folder has a size above 0, else 0 (also while USB
// memory is not usable).
int32_t FwUpd_FileExists(const char* name, int32_t mode);

// The program "VRN4100" from the mode's USB folder: copied beside the installed one, its md5 and size
// checked against the source, then renamed over it. 0 (a reboot follows when asked), 1 on any failure
// with the installed program untouched.
int32_t FwUpd_App(int32_t reboot, int32_t mode);

// The web pages from "httpd.tar.gz" in the mode's USB folder: members checked, extracted into a staging
// folder and exchanged with /mnt/disk/httpd in one rename. 0, or 1 with the old pages in place.
int32_t FwUpd_WebFromTgz(int32_t mode);

// Bit 7 allows the plain web-page archive of the remote brand command (FwUpd_WebFromTar).
extern std::atomic<uint8_t> g_FwUpdWebTarEnable;
// The web pages from "httpd.tar" in the brand directory on USB memory, checked, extracted through /tmp
// and exchanged with /mnt/disk/httpd as FwUpd_WebFromTgz does. 0; -1 not enabled; -2 no archive (or
// USB memory not usable); -4 archive refused or unpack or copy failed, the old pages in place.
int32_t FwUpd_WebFromTar();

// The FPGA from "VRN4100[A]_SPWM_3pof.jam" (the mode's USB folder, or /mnt/disk/app for the service
// mode with source 1) by qx_jtag, then the FPGA reset sequence. 0, or 1 when the tool fails or ends
// without its "Exit code" line (the reset sequence then does not run).
int32_t FwUpd_Fpga(int32_t reboot, int32_t source, int32_t mode);

// The boot image "VRN4100[A]_BOOT.bin" (source 0 USB memory, copied to /tmp and checked; 1
// /mnt/disk/app) written to /dev/mtd0 by flashcp, up to three attempts. 0 when a write succeeded and the
// stage booted; 1 after three failed attempts.
int32_t FwUpd_Boot(int32_t reboot, int32_t source, int32_t mode);

// The pending-update check of the menu/control thread's loop (runs once, after the ready bit).
void FwUpd_C2000Pending();

// Commands first..first+count-1 of the nine-step FPGA reset sequence; with progress, code 17 with
// progress[k] after each.
void FwUpd_ResetFpga(size_t first, size_t count, const int32_t* progress);
const char* FwUpd_BootName();
// The FPGA file of the hardware variant: "VRN4100[A]_SPWM_3pof.jam".
const char* FwUpd_FpgaName();

// Before a boot-image (value 4) or application (value 2) update while the unit works in a parallel
// system: a master sends the slaves item 25 with the value, leaves parallel operation and waits (at most
// 5 s) until the link is down; a slave drops its link. False when the link stays up.
bool FwUpd_PrepareParallel(uint32_t updateValue);

// The reboot after an update: the front-panel controller's output to 0 and the reboot request (remote
// set commands refused from then on; the menu thread saves and reboots, also after an earlier restart).
void FwUpd_Reboot();
