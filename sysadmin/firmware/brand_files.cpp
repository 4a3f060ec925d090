#include "sysadmin/firmware/brand_files.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "core/system/config/identity.h"
#include "platform/host/root.h"
#include "platform/sandbox/sandbox.h"
#include "sysadmin/firmware/brand_table.h"
#include "sysadmin/text_file.h"

namespace {

constexpr const char* kBrandFile = "/mnt/disk/firm";
constexpr size_t kFirstLineMax = 128, kEnvLineMax = 1000;
constexpr const char* kUpgVerKey = "upg_ver=";

const BrandRow& Current() {
    return BrandRowOf(g_BrandId.load(std::memory_order_acquire));
}

// The boot loader's logo: 480 x 272 pixels of three bytes, rows of 1440 bytes (a multiple of four).
constexpr uint32_t kLogoWidth = kBootLogoWidth, kBmpHeader = 54, kBmpInfoHeader = 40;
constexpr int32_t kLogoHeight = kBootLogoHeight;
constexpr size_t kLogoRowBytes = kLogoWidth * 3;
// A logo file larger than this is none (the picture needs 391,734 bytes).
constexpr size_t kLogoFileMax = 1024 * 1024;

uint32_t Le16(const uint8_t* at) {
    return at[0] | static_cast<uint32_t>(at[1]) << 8;
}
uint32_t Le32(const uint8_t* at) {
    return Le16(at) | Le16(at + 2) << 16;
}

bool ReadLogo(const char* path, std::string* out) {
    std::ifstream file(plat::MapPath(path), std::ios::binary);
    if (!file) return false;
    out->resize(kLogoFileMax + 1);
    file.read(out->data(), static_cast<std::streamsize>(out->size()));
    out->resize(static_cast<size_t>(file.gcount()));
    return out->size() <= kLogoFileMax;
}

// Each command is composed only from the brand table's constants; the command's result.
int Run(const char* format, const char* operand) {
    char command[160];
    std::snprintf(command, sizeof command, format, operand);
    return plat::System(command);
}

// The text without its line end (CR, LF or both).
std::string WithoutLineEnd(const char* text) {
    std::string s(text);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
        s.pop_back();
    return s;
}

}  // namespace

int32_t BrandFileWrite() {
    const BrandRow& brand = Current();
    const int32_t written =
        TextFileWrite(kBrandFile, std::string("firm=") + brand.fileCode + "\n") == 0 ? 0 : -1;
    plat::System("sync");
    Run("fw_setenv upg_ver %s", brand.upgVer);
    plat::System("sync");
    return written;
}

int32_t BrandFileRead() {
    std::string text;
    if (!TextFileRead(kBrandFile, &text, kFirstLineMax)) return -1;
    text = text.substr(0, text.find('\n'));
    const size_t eq = text.find('=');
    if (eq == std::string::npos) return -1;
    const std::string code = text.substr(eq + 1);
    if (code.find("TULVE") != std::string::npos) return 1;
    if (code.find("PL") != std::string::npos) return 2;
    if (code.find("QX") != std::string::npos) return 0;
    return -1;
}

bool BootLogoBitmapFits(const uint8_t* data, size_t size) {
    if (data == nullptr || size < kBmpHeader || data[0] != 'B' || data[1] != 'M') return false;
    const uint32_t pixelsAt = Le32(data + 10);
    const auto height = static_cast<int32_t>(Le32(data + 22));
    return Le32(data + 2) == size && pixelsAt >= kBmpHeader && Le32(data + 14) >= kBmpInfoHeader &&
           Le32(data + 18) == kLogoWidth && (height == kLogoHeight || height == -kLogoHeight) &&
           Le16(data + 26) == 1 && Le16(data + 28) == 24 && Le32(data + 30) == 0 &&
           pixelsAt <= size && size - pixelsAt >= kLogoRowBytes * kLogoHeight;
}

int32_t BootLogoWrite() {
    // The partition is erased only for a logo that can take its place: a failed write leaves no logo.
    std::string bitmap;
    if (!ReadLogo(Current().logo, &bitmap) ||
        !BootLogoBitmapFits(reinterpret_cast<const uint8_t*>(bitmap.data()), bitmap.size()))
        return -1;
    if (plat::System("flash_eraseall /dev/mtd9") != 0) return -1;
    return Run("dd if=%s of=/dev/mtdblock9 bs=1024", Current().logo) == 0 ? 0 : -1;
}

int32_t BrandBootLogoCheck() {
    FILE* pipe = plat::Popen("fw_printenv upg_ver", "r");
    if (pipe == nullptr) return 1;
    bool matches = false;
    char line[kEnvLineMax + 1];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        const char* key = std::strstr(line, kUpgVerKey);
        if (key != nullptr && WithoutLineEnd(key + std::strlen(kUpgVerKey)) == Current().upgVer)
            matches = true;
    }
    plat::Pclose(pipe);
    if (!matches) BootLogoWrite();
    return 0;
}
