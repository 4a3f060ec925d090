#include "sysadmin/firmware/brand_files.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "core/system/config/identity.h"
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

// Each command is composed only from the brand table's constants.
void Run(const char* format, const char* operand) {
    char command[160];
    std::snprintf(command, sizeof command, format, operand);
    plat::System(command);
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

void BootLogoWrite() {
    plat::System("flash_eraseall /dev/mtd9");
    Run("dd if=%s of=/dev/mtdblock9 bs=1024", Current().logo);
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
