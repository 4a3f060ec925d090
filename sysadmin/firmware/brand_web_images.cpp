// The brand's web images copied over those the pages show.
#include "sysadmin/firmware/brand_web_images.h"

#include <cstdio>

#include "core/system/config/identity.h"
#include "core/system/config/model_table.h"
#include "platform/sandbox/sandbox.h"
#include "storage/brand_dir.h"
#include "sysadmin/firmware/brand_table.h"

namespace {

constexpr const char* kBrandImages = "/mnt/disk/httpd/ODM_image";
constexpr const char* kWebImages = "/mnt/disk/httpd/images";

// The sample picture of qx and tulve differs between the 4.5 kVA and the 6 kVA models; pelma keeps one.
const char* ModelFolder() {
    const bool large = core::VaClassOfModel(g_ModelId.load(std::memory_order_acquire)) == kFamily6k;
    return BrandRowOf(g_BrandId.load(std::memory_order_acquire)).sampleFolder[large];
}

int32_t Copy(const char* folder, const char* name) {
    char command[192];
    std::snprintf(command, sizeof command, "cp %s/%s/%s%s %s/%s", kBrandImages, BrandDir(), folder, name,
                  kWebImages, name);
    return plat::System(command);
}

constexpr const char* kLogos[] = {"logo.png", "logo-dark.svg", "logo.svg"};
constexpr const char* kSample = "sample.png";
constexpr const char* kIcon = "favicon.ico";

}  // namespace

int32_t CopyBrandWebImages() {
    // Every copy runs; the first that failed is the result, so that no failure hides behind a later copy.
    int32_t result = 0;
    const auto note = [&result](int32_t copied) {
        if (result == 0) result = copied;
    };
    for (const char* name : kLogos)
        note(Copy("", name));
    note(Copy(ModelFolder(), kSample));
    note(Copy("", kIcon));
    return result;
}

std::vector<std::string> BrandWebImageSources(uint32_t brand) {
    const BrandRow& row = BrandRowOf(brand);
    const std::string folder = std::string(kBrandImages) + "/" + g_BrandDirTable[brand < 3 ? brand : 0] + "/";
    std::vector<std::string> paths;
    for (const char* name : kLogos)
        paths.push_back(folder + name);
    for (const char* models : row.sampleFolder)
        if (paths.back() != folder + models + kSample) paths.push_back(folder + models + kSample);
    paths.push_back(folder + kIcon);
    return paths;
}
