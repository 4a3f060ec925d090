#pragma once
// The brand's own pictures of the web pages: each brand's images are kept under
// /mnt/disk/httpd/ODM_image/<brand directory>/ and the pages show those in /mnt/disk/httpd/images/.
#include <cstdint>
#include <string>
#include <vector>

// Copies the current brand's logo.png, logo-dark.svg, logo.svg, sample.png (for qx and tulve from the
// model's folder) and favicon.ico into the web images folder by cp; 0 when every copy succeeded, else the
// result of the first that failed.
int32_t CopyBrandWebImages();
// The instrument paths the copy reads for the brand (0-2), for every model: the pictures a root must
// hold so that no copy fails.
std::vector<std::string> BrandWebImageSources(uint32_t brand);
