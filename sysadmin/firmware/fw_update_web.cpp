// The web pages from a gzip-compressed archive on USB memory. The archive is checked member by member
// (plain files and folders under "httpd/" only), extracted into a staging folder, and the staged pages
// are exchanged with the served ones in one rename: a failure or a kill at any point leaves the old
// pages or the new ones whole. The plain archive of the remote brand command takes the same way
// through /tmp.
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/host/root.h"
#include "platform/sandbox/sandbox.h"
#include "platform/sandbox/tools/tar_check.h"
#include "storage/brand_dir.h"
#include "storage/file_util.h"
#include "sysadmin/firmware/brand_web_images.h"
#include "sysadmin/firmware/fw_update.h"
#include "sysadmin/text_file.h"
#include "sysadmin/usb/usb_source.h"

namespace {

constexpr const char* kWebRoot = "/mnt/disk/httpd";
constexpr const char* kStaging = "/mnt/disk/httpd.stage";
constexpr const char* kStagedPages = "/mnt/disk/httpd.stage/httpd";
constexpr size_t kMaxArchive = 64u << 20;
constexpr size_t kMaxPages = 256u << 20;

int Run(const char* format, const char* a = "", const char* b = "") {
    char command[160];
    std::snprintf(command, sizeof command, format, a, b);
    return plat::System(command);
}

// The staged folder takes the web root's place and the old pages take the staged folder's, in one
// step; with no web root yet the staged folder is renamed.
bool ExchangeWebRoot() {
    const std::string staged = plat::MapPath(kStagedPages), served = plat::MapPath(kWebRoot);
    if (IsDirectory(kWebRoot) != 1) return rename(staged.c_str(), served.c_str()) == 0;
    constexpr unsigned kRenameExchange = 2;  // RENAME_EXCHANGE
    return syscall(SYS_renameat2, AT_FDCWD, staged.c_str(), AT_FDCWD, served.c_str(), kRenameExchange) == 0;
}

// Puts the pages in `staged` (the folder "httpd" below it) in place of the served ones.
bool InstallStaged() {
    const bool installed = IsDirectory(kStagedPages) == 1 && ExchangeWebRoot();
    Run("rm -rf %s", kStaging);
    plat::System("sync");
    if (installed) CopyBrandWebImages();
    return installed;
}

}  // namespace

// Set from the start: the one caller, the factory brand command, already sits behind the factory password.
std::atomic<uint8_t> g_FwUpdWebTarEnable{0x80};

int32_t FwUpd_WebFromTgz(int32_t mode) {
    if (FwUpd_FileExists("httpd.tar.gz", mode) == 0) return 1;
    char archive[96];
    std::snprintf(archive, sizeof archive, "/mnt/sd1/%s/%s", FwUpd_UsbFolder(mode), "httpd.tar.gz");
    const int32_t size = FileSize(archive);
    std::string compressed;
    if (size < 1 || static_cast<size_t>(size) > kMaxArchive ||
        !TextFileRead(archive, &compressed, static_cast<size_t>(size)) ||
        !TarGzMembersSafe(compressed, kMaxPages, "httpd"))
        return 1;
    Run("rm -rf %s", kStaging);
    Run("mkdir -p %s", kStaging);
    char command[192];
    std::snprintf(command, sizeof command, "tar -xzvf %s -C %s", archive, kStaging);
    const bool extracted = plat::System(command) == 0;
    plat::System("sync");
    if (!extracted) Run("rm -rf %s", kStaging);
    return extracted && InstallStaged() ? 0 : 1;
}

int32_t FwUpd_WebFromTar() {
    if ((g_FwUpdWebTarEnable.load(std::memory_order_acquire) & 0x80) == 0) return -1;
    char archive[96];
    std::snprintf(archive, sizeof archive, "/mnt/sd1/%s/%s", BrandDir(), "httpd.tar");
    const int32_t size = FileSize(archive);
    if (!UsbSourceReady() || size < 1 || IsDirectory(archive) != 0) return -2;
    std::string tar;
    if (static_cast<size_t>(size) > kMaxPages || !TextFileRead(archive, &tar, static_cast<size_t>(size)) ||
        !TarMembersSafe(reinterpret_cast<const uint8_t*>(tar.data()), tar.size(), "httpd"))
        return -4;
    plat::System("rm -rf /tmp/httpd");
    Run("rm -rf %s", kStaging);
    Run("mkdir -p %s", kStaging);
    char command[192];
    std::snprintf(command, sizeof command, "tar -xf %s -C /tmp", archive);
    bool installed = plat::System(command) == 0;
    plat::System("sync");
    installed = installed && Run("cp -r /tmp/httpd %s", kStaging) == 0;
    if (installed) {
        installed = InstallStaged();
    } else {
        Run("rm -rf %s", kStaging);
    }
    plat::System("rm -r /tmp/httpd");
    plat::System("sync");
    return installed ? 0 : -4;
}
