#pragma once
// MD5 digest (RFC 1321), for the sandbox's md5sum: firmware files are checked against the digests
// their packages carry.
#include <string>
#include <string_view>

namespace plat {

// The digest as 32 lower-case hexadecimal digits.
std::string Md5Hex(std::string_view data);

}  // namespace plat
