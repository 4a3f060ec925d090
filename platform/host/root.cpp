#include "platform/host/root.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <vector>

#include "platform/devices/flash_parts.h"
#include "platform/devices/framebuffer_file.h"
#include "platform/host/options.h"

namespace plat {
namespace fs = std::filesystem;
namespace {

std::string Absolute(const std::string& dir) {
    std::error_code ec;
    fs::path p = fs::absolute(dir, ec);
    if (ec) p = dir;
    std::string s = p.lexically_normal().string();
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

std::string g_root = Absolute(Options{}.root);

// The folders of a freshly installed instrument: storage areas, the web root, drivers, the
// operating-system places the program writes, and the sysfs classes it drives.
constexpr const char* kFolders[] = {
    "/mnt/disk/app/image",
    "/mnt/disk/default/ARB",
    "/mnt/disk/httpd/images",
    "/mnt/disk/drivers/usb",
    "/mnt/tst/seq",
    "/mnt/tst/sim",
    "/mnt/tst/ARB",
    "/mnt/tst/Bar",
    "/mnt/sd1",
    "/tmp",
    "/etc/avahi/services",
    "/var/log",
    "/var/run",
    "/dev",
    "/sys/class/leds/display",
    "/sys/class/leds/gpib_rst",
    "/sys/devices/leds/leds/fpga_sw",
    "/sys/class/gpio",
    "/sys/class/graphics/fbcon",
    "/sys/class/net/eth0",
    "/sys/class/udc/musb-hdrc.1.auto/device",
    "/sys/class/pwm/pwmchip0/pwm0",
};

struct StandIn {
    const char* path;
    const char* content;
};

// Plain-file stand-ins for the kernel's sysfs attributes, with the values a board shows after boot:
// link up, no USB host attached, no interface card fitted (the card-detect lines read 0).
constexpr StandIn kSysFiles[] = {
    {"/sys/class/leds/display/brightness", "1\n"},
    {"/sys/class/leds/gpib_rst/brightness", "1\n"},
    {"/sys/devices/leds/leds/fpga_sw/brightness", "0\n"},
    {"/sys/class/gpio/export", ""},
    {"/sys/class/gpio/unexport", ""},
    {"/sys/class/gpio/gpio17/direction", "in\n"},
    {"/sys/class/gpio/gpio17/value", "0\n"},
    {"/sys/class/gpio/gpio96/direction", "in\n"},
    {"/sys/class/gpio/gpio96/value", "0\n"},
    {"/sys/class/gpio/gpio101/direction", "in\n"},
    {"/sys/class/gpio/gpio101/value", "0\n"},
    {"/sys/class/gpio/gpio106/direction", "in\n"},
    {"/sys/class/gpio/gpio106/value", "0\n"},
    {"/sys/class/graphics/fbcon/cursor_blink", "1\n"},
    {"/sys/class/net/eth0/operstate", "up\n"},
    {"/sys/class/net/eth0/address", "02:56:52:4e:10:60\n"},
    {"/sys/class/udc/musb-hdrc.1.auto/device/mode", "b_idle\n"},
    {"/sys/class/udc/musb-hdrc.1.auto/device/info", "0,0,0,0\n"},
    {"/sys/class/pwm/pwmchip0/export", ""},
    {"/sys/class/pwm/pwmchip0/pwm0/period", "0\n"},
    {"/sys/class/pwm/pwmchip0/pwm0/duty_cycle", "0\n"},
    {"/sys/class/pwm/pwmchip0/pwm0/polarity", "normal\n"},
    {"/sys/class/pwm/pwmchip0/pwm0/enable", "0\n"},
    // The USB gadget modules delivered on the system disk (the module tree holds no gadget modules).
    {"/mnt/disk/drivers/usb/libcomposite.ko", "stand-in module\n"},
    {"/mnt/disk/drivers/usb/u_serial.ko", "stand-in module\n"},
    {"/mnt/disk/drivers/usb/usb_f_acm.ko", "stand-in module\n"},
    {"/mnt/disk/drivers/usb/usb_f_obex.ko", "stand-in module\n"},
    {"/mnt/disk/drivers/usb/usb_f_serial.ko", "stand-in module\n"},
    {"/mnt/disk/drivers/usb/usb_f_mass_storage.ko", "stand-in module\n"},
    {"/mnt/disk/drivers/usb/g_serial.ko", "stand-in module\n"},
};

// As on the board, the LED class lists the device's own folder.
constexpr StandIn kLinks[] = {
    {"/sys/class/leds/fpga_sw", "../../devices/leds/leds/fpga_sw"},
};

// Creates the file with its content unless something already exists there.
bool CreateStandIn(const StandIn& file) {
    std::string path = MapPath(file.path);
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    if (ec) {
        errno = ec.value();
        return false;
    }
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return errno == EEXIST;
    std::string_view text = file.content;
    bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    return ok;
}

bool CreateLink(const StandIn& link) {
    std::string path = MapPath(link.path);
    std::error_code ec;
    if (fs::symlink_status(path, ec).type() != fs::file_type::not_found) return true;
    fs::create_directory_symlink(link.content, path, ec);
    if (ec) errno = ec.value();
    return !ec;
}

constexpr std::string_view kPtsFolder = "/dev/pts/";

constexpr int kMaxLinks = 40;  // as the kernel, before it gives up with ELOOP

// The first element of `path` that is a symbolic link whose target does not exist, and the
// elements after it. False when there is none (the search ends at the first missing element).
bool FindDanglingLink(const fs::path& path, fs::path* link, fs::path* rest) {
    fs::path prefix;
    for (auto it = path.begin(); it != path.end(); ++it) {
        if (it->empty()) continue;
        prefix /= *it;
        std::error_code ec;
        fs::file_status own = fs::symlink_status(prefix, ec);
        if (ec || own.type() == fs::file_type::not_found) return false;
        if (own.type() != fs::file_type::symlink || fs::status(prefix, ec).type() != fs::file_type::not_found)
            continue;
        *link = prefix;
        *rest = fs::path();
        for (++it; it != path.end(); ++it)
            if (!it->empty()) *rest /= *it;
        return true;
    }
    return false;
}

// True when `path` leads to a pseudo-terminal of the host (a character device under /dev/pts).
bool IsPseudoTerminal(const std::string& path) {
    std::error_code ec;
    fs::path target = fs::canonical(path, ec);
    if (ec) return false;
    return target.string().starts_with(kPtsFolder) && fs::is_character_file(target, ec);
}

}  // namespace

void SetRoot(const std::string& dir) {
    g_root = Absolute(dir);
}

const std::string& Root() {
    return g_root;
}

std::string MapPath(std::string_view instrumentPath) {
    if (instrumentPath.empty() || instrumentPath[0] != '/') return std::string(instrumentPath);
    // A path that already points into the root is taken as mapped, so mapping twice does no harm.
    const std::string& root = Root();
    if (instrumentPath.substr(0, root.size()) == root &&
        (instrumentPath.size() == root.size() || instrumentPath[root.size()] == '/'))
        instrumentPath.remove_prefix(root.size());
    std::vector<std::string_view> parts;
    while (!instrumentPath.empty()) {
        size_t slash = instrumentPath.find('/');
        std::string_view part = instrumentPath.substr(0, slash);
        instrumentPath.remove_prefix(slash == std::string_view::npos ? instrumentPath.size() : slash + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string mapped = root;
    for (std::string_view part : parts) {
        mapped += '/';
        mapped += part;
    }
    // A symbolic link under the root may point anywhere on the host; what it leads out of the root to
    // is refused with a path no file call opens, but for a host pseudo-terminal standing in for one of
    // the instrument's serial lines.
    if (!IsInsideRoot(mapped) && !IsPseudoTerminal(mapped)) return std::string();
    return mapped;
}

bool IsInsideRoot(const std::string& hostPath) {
    if (hostPath.empty()) return false;
    std::error_code ec;
    fs::path path = fs::absolute(hostPath, ec);
    if (ec) return false;
    // weakly_canonical takes a link whose target is missing for a missing name, yet creating that
    // name creates the target wherever it lies: such links are followed here.
    for (int links = 0;; ++links) {
        fs::path link, rest;
        if (!FindDanglingLink(path, &link, &rest)) break;
        fs::path target = fs::read_symlink(link, ec);
        if (ec || links == kMaxLinks) return false;
        path = (target.is_absolute() ? target : link.parent_path() / target) / rest;
    }
    path = fs::weakly_canonical(path, ec);
    if (ec) return false;
    fs::path root = fs::weakly_canonical(Root(), ec);
    if (ec) return false;
    auto mismatch = std::mismatch(root.begin(), root.end(), path.begin(), path.end());
    return mismatch.first == root.end();
}

int PrepareRoot() {
    // A root at the host's own "/" would hand the host's files to the instrument, also when it is
    // named through a link.
    std::error_code rootEc;
    if (Root() == "/" || fs::weakly_canonical(Root(), rootEc) == "/") {
        errno = EINVAL;
        return -1;
    }
    for (const char* folder : kFolders) {
        std::error_code ec;
        fs::create_directories(MapPath(folder), ec);
        if (ec) {
            errno = ec.value();
            return -1;
        }
    }
    for (const StandIn& file : kSysFiles)
        if (!CreateStandIn(file)) return -1;
    for (const StandIn& link : kLinks)
        if (!CreateLink(link)) return -1;
    if (!PrepareFlashPartitions()) return -1;
    return PrepareFramebufferFile();
}

}  // namespace plat
