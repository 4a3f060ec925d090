#include "platform/host/root_provision.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/devices/flash_parts.h"
#include "platform/devices/framebuffer_file.h"
#include "platform/host/root.h"

namespace plat {
namespace fs = std::filesystem;
namespace {

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
    // The USB gadget modules delivered on the system disk, and those of the kernel's module tree (the
    // USB-TMC function and gadget are only there).
    // The boot loader's environment as delivered: the maker brand's version value.
    {"/var/lib/sandbox/state", "fw_env.upg_ver=0x260\n"},
    {"/mnt/disk/drivers/usb/libcomposite.ko", "stand-in module\n"},
    {"/mnt/disk/drivers/usb/u_serial.ko", "stand-in module\n"},
    {"/mnt/disk/drivers/usb/usb_f_acm.ko", "stand-in module\n"},
    {"/mnt/disk/drivers/usb/usb_f_obex.ko", "stand-in module\n"},
    {"/mnt/disk/drivers/usb/usb_f_serial.ko", "stand-in module\n"},
    {"/mnt/disk/drivers/usb/usb_f_mass_storage.ko", "stand-in module\n"},
    {"/mnt/disk/drivers/usb/g_serial.ko", "stand-in module\n"},
    {"/lib/modules/3.14.43-g875c69b/kernel/drivers/usb/gadget/libcomposite.ko", "stand-in module\n"},
    {"/lib/modules/3.14.43-g875c69b/kernel/drivers/usb/gadget/function/u_serial.ko", "stand-in module\n"},
    {"/lib/modules/3.14.43-g875c69b/kernel/drivers/usb/gadget/function/usb_f_acm.ko", "stand-in module\n"},
    {"/lib/modules/3.14.43-g875c69b/kernel/drivers/usb/gadget/function/usb_f_obex.ko", "stand-in module\n"},
    {"/lib/modules/3.14.43-g875c69b/kernel/drivers/usb/gadget/function/usb_f_serial.ko", "stand-in module\n"},
    {"/lib/modules/3.14.43-g875c69b/kernel/drivers/usb/gadget/function/usb_f_tmc.ko", "stand-in module\n"},
    {"/lib/modules/3.14.43-g875c69b/kernel/drivers/usb/gadget/function/usb_f_mass_storage.ko",
     "stand-in module\n"},
    {"/lib/modules/3.14.43-g875c69b/kernel/drivers/usb/gadget/legacy/g_serial.ko", "stand-in module\n"},
    {"/lib/modules/3.14.43-g875c69b/kernel/drivers/usb/gadget/legacy/g_usbtmc.ko", "stand-in module\n"},
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

}  // namespace

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
