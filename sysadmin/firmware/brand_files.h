#pragma once
// The brand's traces outside the program: the brand file /mnt/disk/firm ("firm=<code>\n"), the boot
// loader's "upg_ver" variable and the boot logo in flash partition 9.
#include <cstddef>
#include <cstdint>

// Writes the brand file for g_BrandId, then "sync", "fw_setenv upg_ver <value>", "sync". 0, or -1 when the
// file cannot be written (the commands still run, so the boot loader keeps in step with the brand).
int32_t BrandFileWrite();
// The brand named by the brand file's first line: 1 TULVE, 2 PL, 0 QX, -1 no file or no known code.
// Tests and the brand file's fuzz target read the file back through it.
int32_t BrandFileRead();
// The boot loader's screen, which its logo fills.
inline constexpr uint32_t kBootLogoWidth = 480;
inline constexpr int32_t kBootLogoHeight = 272;
// True when the bytes are a picture the boot loader shows as its logo: a 24-bit BMP of 480 x 272 pixels
// whose header gives the file's own size and leaves room for every row.
bool BootLogoBitmapFits(const uint8_t* data, size_t size);
// Erases the boot-logo partition and writes g_BrandId's logo bitmap into it: 0; -1 when the bitmap is
// missing or no logo (nothing is run and the partition keeps the logo it has), or when the erase or the
// copy failed.
int32_t BootLogoWrite();
// Rewrites the boot logo unless the boot loader's "upg_ver" names g_BrandId already. 0, or 1 when
// "fw_printenv" cannot be started.
int32_t BrandBootLogoCheck();
