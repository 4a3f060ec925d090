// The web pages from a gzip-compressed archive on USB memory. The archive is checked member by member
// (plain files and folders under "httpd/" only), extracted into a staging folder, and the staged pages
// are exchanged with the served ones in one rename: a failure or a kill at any point leaves the old
// pages or the new ones whole.
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/root.h"
#include "platform/sandbox.h"
#include "storage/file_util.h"
#include "sysadmin/fw_update.h"
#include "sysadmin/tar_check.h"
#include "sysadmin/text_file.h"

namespace {

constexpr const char* kWebRoot = "/mnt/disk/httpd";
constexpr const char* kStaging = "/mnt/disk/httpd.stage";
constexpr const char* kStagedPages = "/mnt/disk/httpd.stage/httpd";
constexpr size_t kMaxArchive = 64u << 20;
constexpr size_t kMaxPages = 256u << 20;

void Run(const char* format, const char* a = "", const char* b = "") {
    char command[160];
    std::snprintf(command, sizeof command, format, a, b);
    plat::System(command);
}

// The staged folder takes the web root's place and the old pages take the staged folder's, in one
// step; with no web root yet the staged folder is renamed.
bool ExchangeWebRoot() {
    const std::string staged = plat::MapPath(kStagedPages), served = plat::MapPath(kWebRoot);
    if (IsDirectory(kWebRoot) != 1) return rename(staged.c_str(), served.c_str()) == 0;
    constexpr unsigned kRenameExchange = 2;  // RENAME_EXCHANGE
    return syscall(SYS_renameat2, AT_FDCWD, staged.c_str(), AT_FDCWD, served.c_str(), kRenameExchange) == 0;
}

}  // namespace

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
    const bool extracted = plat::System(command) == 0 && IsDirectory(kStagedPages) == 1;
    plat::System("sync");
    const bool installed = extracted && ExchangeWebRoot();
    Run("rm -rf %s", kStaging);
    plat::System("sync");
    return installed ? 0 : 1;
}
