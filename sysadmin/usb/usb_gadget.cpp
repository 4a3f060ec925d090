#include "sysadmin/usb/usb_gadget.h"

#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/system/config/identity.h"
#include "core/system/config/iface_cfg.h"
#include "core/system/config/model_table.h"
#include "platform/host/clock.h"
#include "platform/sandbox/sandbox.h"
#include "storage/file_util.h"
#include "sysadmin/command_output.h"
#include "sysadmin/text_file.h"

sysadmin::UsbGadget g_UsbGadget;

namespace {
std::atomic<bool> g_ready{false};
}  // namespace

bool UsbGadgetReady() {
    return g_ready.load(std::memory_order_acquire);
}

namespace {

constexpr const char* kRelease = "3.14.43-g875c69b";
constexpr const char* kUdc = "/sys/class/udc/musb-hdrc.1.auto/device/";
constexpr uint8_t kUsbClassCdc = 1u << 4;  // of the third USB byte

struct UsbIds {
    uint32_t vendor;
    uint32_t product;
};
constexpr UsbIds kBrandIds[3] = {{0x1d6b, 0x0104}, {0x1d6b, 0x0105}, {0x1d6b, 0x0106}};

// The first command, else its fallback: each is run only when the module file it names is there.
struct ModuleRow {
    const char* first;
    const char* fallback;
};

constexpr ModuleRow kFunctions[] = {
    {"/mnt/disk/drivers/usb/libcomposite.ko", "/lib/modules/%s/kernel/drivers/usb/gadget/libcomposite.ko"},
    {"/mnt/disk/drivers/usb/u_serial.ko", "/lib/modules/%s/kernel/drivers/usb/gadget/function/u_serial.ko"},
    {"/mnt/disk/drivers/usb/usb_f_acm.ko", "/lib/modules/%s/kernel/drivers/usb/gadget/function/usb_f_acm.ko"},
    {"/mnt/disk/drivers/usb/usb_f_obex.ko",
     "/lib/modules/%s/kernel/drivers/usb/gadget/function/usb_f_obex.ko"},
    {nullptr, nullptr},  // the port function: by class
    {"/mnt/disk/drivers/usb/usb_f_mass_storage.ko",
     "/lib/modules/%s/kernel/drivers/usb/gadget/function/usb_f_mass_storage.ko"},
};
constexpr ModuleRow kPortFunction[2] = {
    {"/lib/modules/%s/kernel/drivers/usb/gadget/function/usb_f_tmc.ko",
     "/lib/modules/%s/kernel/drivers/usb/gadget/function/usb_f_serial.ko"},  // USB-TMC
    {"/mnt/disk/drivers/usb/usb_f_serial.ko",
     "/lib/modules/%s/kernel/drivers/usb/gadget/function/usb_f_serial.ko"},  // USB-CDC
};
constexpr ModuleRow kGadget[2] = {
    {"/lib/modules/%s/kernel/drivers/usb/gadget/legacy/g_usbtmc.ko",
     "/lib/modules/%s/kernel/drivers/usb/gadget/legacy/g_serial.ko"},
    {"/mnt/disk/drivers/usb/g_serial.ko", "/lib/modules/%s/kernel/drivers/usb/gadget/legacy/g_serial.ko"},
};

bool CdcMode() {
    return (IfaceUsbByte(2) & kUsbClassCdc) != 0;
}

void PauseAndSync() {
    plat::SleepMs(100);
    plat::System("sync");
}

// Loads the row's module with the parameters appended; a module in neither place is skipped.
void LoadModule(const ModuleRow& row, const std::string& params) {
    for (const char* pattern : {row.first, row.fallback}) {
        char path[160];
        std::snprintf(path, sizeof path, pattern, kRelease);
        if (FileSize(path) <= 0) continue;
        const std::string cmd = std::string("insmod ") + path + params;
        plat::System(cmd.c_str());
        PauseAndSync();
        return;
    }
}

bool SafeSerial(const std::string& text) {
    for (unsigned char c : text)
        if (!std::isalnum(c) && c != '-') return false;
    return true;
}

}  // namespace

void UsbGadgetInit() {
    sysadmin::UsbGadget& g = g_UsbGadget;
    const uint32_t brand = g_BrandId.load() < 3 ? g_BrandId.load() : 0;
    g.idVendor = kBrandIds[brand].vendor;
    g.idProduct = kBrandIds[brand].product;
    g.release = 0x0202;
    char serial[sizeof g_SerialNo + 1] = {};
    IdentityTextRead(g_SerialNo, sizeof g_SerialNo, serial);
    std::string text = serial;
    if (text.size() > 8) text = text.substr(text.size() - 8);
    // The serial is settable remotely and becomes a module parameter: only letters, digits and '-' pass
    // (none of them means anything to a shell or splits the parameter).
    if (text.empty() || !SafeSerial(text)) text = "01234567";
    std::snprintf(g.serial, sizeof g.serial, "%s", text.c_str());
    const uint32_t model = g_ModelId.load();
    const char* name = model < kModelTypes ? g_ModelTable[model].name[brand] : "";
    std::snprintf(g.product, sizeof g.product, "%s", name != nullptr ? name : "");
    for (const ModuleRow& row : kFunctions)
        LoadModule(row.first != nullptr ? row : kPortFunction[CdcMode() ? 1 : 0], "");
    g.kind = 0;
    g_ready.store(true, std::memory_order_release);
}

void UsbDevModeSet(uint32_t speed) {
    const sysadmin::UsbGadget& g = g_UsbGadget;
    if (TextFileWrite((std::string(kUdc) + "mode").c_str(), "peripheral") != 0)
        std::printf("==>USB Error:%s.\n", "Set to Peripheral");
    PauseAndSync();
    char params[256];
    std::snprintf(params, sizeof params,
                  " idVendor=0x%x idProduct=0x%x iSerialNumber=%s iManufacturer=%s iProduct=%s use_speed=%d",
                  g.idVendor, g.idProduct, g.serial, g.product, g.product, speed != 0 ? 2 : 5);
    LoadModule(kGadget[CdcMode() ? 1 : 0], params);
    g_UsbGadget.kind = 1;
}

void UsbDevModeClear() {
    if (g_UsbGadget.kind == 1) PauseAndSync();
    g_UsbGadget.kind = 0;
}

int UsbDevInfoRead() {
    const std::string info = std::string(kUdc) + "info";
    std::string line;
    if (FileSize(info.c_str()) < 0 || !CommandFirstLine(("cat " + info).c_str(), &line, 128)) {
        // Unknown, not the last state read: a controller that vanished is not still configured.
        for (int32_t& value : g_UsbGadget.info)
            value = -1;
        return -1;
    }
    const char* p = line.c_str();
    for (int32_t& value : g_UsbGadget.info) {
        char* end = nullptr;
        const long v = std::strtol(p, &end, 10);
        value = end == p ? -1 : static_cast<int32_t>(v);
        p = std::strchr(end, ',') != nullptr ? std::strchr(end, ',') + 1 : "";
    }
    return 0;
}

bool UsbDevStateOk() {
    const int32_t* info = g_UsbGadget.info;
    // A missing value (-1) has every bit set: it must not pass for the status bits.
    return info[0] == 3 && info[1] == 1 && info[3] >= 0 && (info[3] & 0x98) == 0x98;
}
