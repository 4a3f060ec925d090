#pragma once
// The web pages' icon (favicon.ico): a white "V" on a dark blue square, 16x16 pixels, 32 bits each.
#include <string>

namespace web {

// The icon file's bytes (an ICO holding one uncompressed bitmap).
std::string WebIconIco();

}  // namespace web
