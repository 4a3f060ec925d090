#include "tests/sysadmin/tar_fixture.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>

#include "core/system/util/text_util.h"

std::string TarMember(const std::string& name, char type, const std::string& content) {
    return TarMemberRaw(name, type, content, std::string(kUstarMagic, 8), "", content.size());
}

std::string TarMemberRaw(const std::string& name, char type, const std::string& content,
                         const std::string& magic, const std::string& prefix, size_t statedSize) {
    std::string header(512, '\0');
    std::memcpy(&header[0], name.data(), std::min<size_t>(name.size(), 100));
    std::snprintf(&header[100], 8, "%07o", 0644);
    std::snprintf(&header[124], 12, "%011o", static_cast<unsigned>(statedSize));
    header[156] = type;
    if (type == '2') std::memcpy(&header[157], "/etc", 4);
    std::memcpy(&header[257], magic.data(), std::min<size_t>(magic.size(), 8));
    std::memcpy(&header[345], prefix.data(), std::min<size_t>(prefix.size(), 155));
    std::memset(&header[148], ' ', 8);
    unsigned sum = 0;
    for (unsigned char c : header)
        sum += c;
    std::snprintf(&header[148], 8, "%06o", sum);
    return header + content + std::string((512 - content.size() % 512) % 512, '\0');
}

std::string Tar(const std::string& members) {
    return members + std::string(1024, '\0');
}

std::string Gzip(const std::string& data) {
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, data.size()) + 64, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

std::string UpdatePackage(std::string tar) {
    std::string header = "#028";
    header += '\0';
    header += "abc" + std::string("\0\0\0\x10", 4) + "0001" + "V1.0V2.0" + "xxxxxxxx";
    unsigned sum = 0;
    for (size_t i = 5; i < 32; ++i)
        sum += static_cast<unsigned char>(header[i]);
    header[4] = static_cast<char>(sum);
    NibbleSwapBuffer(reinterpret_cast<uint8_t*>(tar.data()), tar.size());
    return header + tar;
}
