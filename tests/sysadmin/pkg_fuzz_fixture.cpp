#include "tests/sysadmin/pkg_fuzz_fixture.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "core/system/links/usb_state.h"
#include "platform/host/clock.h"
#include "platform/host/root.h"
#include "platform/host/root_provision.h"
#include "platform/sandbox/sandbox.h"
#include "platform/sandbox/tools/tar_check.h"
#include "sysadmin/firmware/pkg_unpack.h"
#include "sysadmin/text_file.h"

namespace pkgfuzz {

namespace {

namespace fs = std::filesystem;

// Type, size, inode and change time of a root entry: a file written in place or replaced differs.
struct Entry {
    bool folder;
    off_t size;
    ino_t inode;
    int64_t mtime;
    bool operator==(const Entry&) const = default;
};
using Snapshot = std::map<std::string, Entry>;
Snapshot g_before;

void Fail(const std::string& what) {
    std::fprintf(stderr, "package fuzz: %s\n", what.c_str());
    std::abort();
}

// What an unpack may change: the brand folder it unpacks into, the files of this fixture and the
// command log.
bool MayChange(const std::string& path) {
    return path == "/tmp/qx" || path.rfind("/tmp/qx/", 0) == 0 || path == "/mnt/sd1/qx/qx.sb6" ||
           path == "/tmp/pkgfuzz.tar" || path == "/tmp/pkgfuzz.tgz" || path.rfind("/var/log/commands.log", 0) == 0;
}

Snapshot Files() {
    Snapshot files;
    const std::string root = plat::Root();
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        const std::string path = "/" + fs::relative(it->path(), root).string();
        if (MayChange(path)) continue;
        struct stat st {};
        if (lstat(it->path().c_str(), &st) != 0) continue;
        const bool folder = S_ISDIR(st.st_mode);
        // A folder's own time changes with its entries, which are compared one by one.
        files[path] = {folder, folder ? 0 : st.st_size, folder ? 0 : st.st_ino,
                       folder ? 0 : int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec};
    }
    return files;
}

void CheckRoot(const char* after) {
    const Snapshot now = Files();
    if (now == g_before) return;
    for (const auto& [path, entry] : now)
        if (auto it = g_before.find(path); it == g_before.end() || !(it->second == entry))
            Fail(std::string(after) + " changed " + path);
    for (const auto& [path, entry] : g_before)
        if (now.find(path) == now.end()) Fail(std::string(after) + " removed " + path);
}

void Unpack(const char* archive, const std::string& bytes, const char* command, const char* what) {
    if (TextFileWrite(archive, bytes) != 0) Fail("cannot write the archive");
    plat::System(command);
    CheckRoot(what);
    plat::System("rm -rf /tmp/qx");
}

}  // namespace

void StartRoot() {
    char folder[] = "/tmp/vrn-pkgfuzz-XXXXXX";
    if (mkdtemp(folder) == nullptr) Fail("no temporary root");
    plat::SetRoot(folder);
    if (plat::PrepareRoot() != 0) Fail("root not prepared");
    plat::SetTimeScale(1000.0);  // the unpack's one-second pause
}

void Ready() {
    g_UsbState.statusB.store(core::kUsbMounted);
    g_UsbState.usbAccessError.store(0);
    std::error_code ec;
    fs::create_directories(plat::MapPath("/mnt/sd1/qx"), ec);
    g_before = Files();
}

int32_t One(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (TextFileWrite("/mnt/sd1/qx/qx.sb6", bytes) != 0) Fail("cannot write the package");
    const int32_t result = PkgUnpack("qx");
    switch (result) {
        case 0: case -100: case -101: case -102: case -103: case -105: case -106: case -600:
            break;
        default:
            Fail("unpack result " + std::to_string(result));
    }
    CheckRoot("the package");
    if (fs::exists(plat::MapPath("/tmp/qx.tar"))) Fail("the package's archive is left in /tmp");

    // The web pages' checks, with the top folder of the package.
    if (TarMembersSafe(data, size, "qx"))
        Unpack("/tmp/pkgfuzz.tar", bytes, "tar -xf /tmp/pkgfuzz.tar -C /tmp", "the plain archive");
    if (TarGzMembersSafe(bytes, 1 << 20, "qx"))
        Unpack("/tmp/pkgfuzz.tgz", bytes, "tar -xzf /tmp/pkgfuzz.tgz -C /tmp", "the gzip archive");
    return result;
}

}  // namespace pkgfuzz
