#pragma once
// What an installed unit carries for a brand: its boot-logo bitmap (the boot loader's 480 x 272 picture,
// 24 bits, 391,734 bytes) and the five web images of its folder, written into an instrument root.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// A boot-logo bitmap: BMP header, 480 x 272 pixels bottom-up, all grey.
inline std::string LogoBitmap() {
    constexpr uint32_t kSize = 54 + 480 * 272 * 3;
    std::string b(kSize, '\x80');
    const auto put = [&b](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b[at + i] = static_cast<char>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, kSize, 4);
    put(6, 0, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, 480, 4);
    put(22, 272, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(30, 0, 4);
    put(34, kSize - 54, 4);
    for (size_t at = 38; at < 54; ++at)
        b[at] = 0;
    return b;
}

// Writes the brand's logo bitmap and its web images (sample.png in the sample folder given, "" for the
// brand folder itself) through write(instrument path, content).
inline void WriteBrandMedia(const std::function<void(const std::string&, std::string_view)>& write,
                            const std::string& dir, const std::string& sampleFolder) {
    write("/mnt/disk/app/image/" + dir + "_logo.bmp", LogoBitmap());
    const std::string images = "/mnt/disk/httpd/ODM_image/" + dir + "/";
    for (const char* name : {"logo.png", "logo-dark.svg", "logo.svg", "favicon.ico"})
        write(images + name, std::string("image ") + name);
    write(images + sampleFolder + "sample.png", "image sample.png");
}

// The commands a brand change runs, in their order: the boot loader's upgrade word, the brand's web images
// copied into place, the boot logo's flash partition erased and written.
inline std::vector<std::string> BrandChangeCommands(const std::string& dir, const std::string& sampleFolder,
                                                    const std::string& upgradeWord) {
    const std::string from = "cp /mnt/disk/httpd/ODM_image/" + dir + "/", to = " /mnt/disk/httpd/images/";
    return {
        "sync",
        "fw_setenv upg_ver " + upgradeWord,
        "sync",
        from + "logo.png" + to + "logo.png",
        from + "logo-dark.svg" + to + "logo-dark.svg",
        from + "logo.svg" + to + "logo.svg",
        from + sampleFolder + "sample.png" + to + "sample.png",
        from + "favicon.ico" + to + "favicon.ico",
        "flash_eraseall /dev/mtd9",
        "dd if=/mnt/disk/app/image/" + dir + "_logo.bmp of=/dev/mtdblock9 bs=1024",
    };
}

}  // namespace testsupport
