#include "remote/web/web_range.h"

#include <civetweb.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

namespace web {
namespace {

constexpr std::string_view kUnit = "bytes";
constexpr size_t kFileChunk = 16384;  // a part of a file is read and written this much at a time
constexpr std::string_view kGzipTwin = ".gz";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Leading digits taken off *text as a number, held at the largest value when longer: a position past
// any file is as good as a huge one. False when there is no digit.
bool TakeNumber(std::string_view* text, uint64_t* value) {
    constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
    size_t i = 0;
    uint64_t v = 0;
    for (; i < text->size() && IsDigit((*text)[i]); ++i) {
        const uint64_t digit = static_cast<uint64_t>((*text)[i] - '0');
        v = v > (kMax - digit) / 10 ? kMax : v * 10 + digit;
    }
    text->remove_prefix(i);
    *value = v;
    return i > 0;
}

// A file of the web root that a GET or HEAD gets.
struct ServedFile {
    std::string path;
    bool gzipped = false;  // the ".gz" twin of a missing file, for a client that takes gzip
};

bool IsFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The file itself, a folder's index.html when the URI names the folder with its final slash (without it
// civetweb redirects), or the ".gz" twin of a missing file. False for anything else, which civetweb
// answers: nothing, a folder, the password file's name that it never serves.
bool FindServedFile(mg_connection* conn, const char* root, std::string_view uri, ServedFile* found) {
    if (uri.ends_with(".htpasswd")) return false;
    const std::string path = std::string(root) + std::string(uri);
    const char* encodings = mg_get_header(conn, "Accept-Encoding");
    const bool takesGzip = encodings != nullptr && std::strstr(encodings, "gzip") != nullptr;
    const ServedFile candidates[] = {{path},
                                     {uri.ends_with('/') ? path + "index.html" : ""},
                                     {takesGzip ? path + std::string(kGzipTwin) : "", true}};
    for (const ServedFile& candidate : candidates) {
        if (candidate.path.empty() || !IsFile(candidate.path)) continue;
        *found = candidate;
        return true;
    }
    return false;
}

bool IsHead(mg_connection* conn) {
    return std::strcmp(mg_get_request_info(conn)->request_method, "HEAD") == 0;
}

void SendUnsatisfiable(mg_connection* conn, uint64_t size) {
    static constexpr char kText[] = "Range Not Satisfiable\n";
    mg_response_header_start(conn, 416);
    mg_response_header_add(conn, "Content-Type", "text/plain", -1);
    mg_response_header_add(conn, "Content-Length", std::to_string(sizeof kText - 1).c_str(), -1);
    mg_response_header_add(conn, "Content-Range", ("bytes */" + std::to_string(size)).c_str(), -1);
    mg_response_header_send(conn);
    if (!IsHead(conn)) mg_write(conn, kText, sizeof kText - 1);
}

// The part the range names (206), or the whole file (200).
void SendFileRange(mg_connection* conn, const ServedFile& file, int fd, uint64_t size, const ByteRange& range) {
    const bool part = range.kind == ByteRange::kPart;
    const uint64_t count = part ? range.last - range.first + 1 : size;
    const std::string name =
        file.gzipped ? file.path.substr(0, file.path.size() - kGzipTwin.size()) : file.path;
    mg_response_header_start(conn, part ? 206 : 200);
    mg_response_header_add(conn, "Content-Type", mg_get_builtin_mime_type(name.c_str()), -1);
    if (file.gzipped) mg_response_header_add(conn, "Content-Encoding", "gzip", -1);
    mg_response_header_add(conn, "Content-Length", std::to_string(count).c_str(), -1);
    mg_response_header_add(conn, "Accept-Ranges", "bytes", -1);
    if (part) {
        const std::string where = "bytes " + std::to_string(range.first) + "-" + std::to_string(range.last) +
                                  "/" + std::to_string(size);
        mg_response_header_add(conn, "Content-Range", where.c_str(), -1);
    }
    mg_response_header_send(conn);
    if (IsHead(conn)) return;
    char buffer[kFileChunk];
    off_t at = part ? static_cast<off_t>(range.first) : 0;
    for (uint64_t left = count; left > 0;) {
        const ssize_t n = pread(fd, buffer, std::min<uint64_t>(left, sizeof buffer), at);
        if (n <= 0 || mg_write(conn, buffer, static_cast<size_t>(n)) != n) return;
        left -= static_cast<uint64_t>(n);
        at += n;
    }
}

}  // namespace

ByteRange ParseByteRange(std::string_view header, uint64_t size) {
    const ByteRange whole{}, unsatisfiable{ByteRange::kUnsatisfiable};
    const size_t equals = header.find('=');
    if (equals == std::string_view::npos) return whole;
    const std::string_view unit = header.substr(0, equals);
    if (!std::equal(unit.begin(), unit.end(), kUnit.begin(), kUnit.end(),
                    [](char a, char b) { return Lower(a) == b; }))
        return whole;
    std::string_view spec = header.substr(equals + 1);
    uint64_t first = 0, last = 0;
    if (spec.starts_with('-')) {
        // The last `suffix` bytes: a file shorter than that is sent whole, an empty one has none to send.
        spec.remove_prefix(1);
        uint64_t suffix = 0;
        if (!TakeNumber(&spec, &suffix) || !spec.empty()) return whole;
        if (suffix == 0) return unsatisfiable;
        if (size == 0) return whole;
        return {ByteRange::kPart, size - std::min(suffix, size), size - 1};
    }
    if (!TakeNumber(&spec, &first) || !spec.starts_with('-')) return whole;
    spec.remove_prefix(1);
    const bool toEnd = spec.empty();
    // What is left after the last byte is another range (several are served as the whole file).
    if (!toEnd && (!TakeNumber(&spec, &last) || !spec.empty() || last < first)) return whole;
    if (first >= size) return unsatisfiable;
    return {ByteRange::kPart, first, toEnd ? size - 1 : std::min(last, size - 1)};
}

bool WebServeRange(mg_connection* conn, const char* root, const char* uri, const char* header) {
    ServedFile file;
    if (!FindServedFile(conn, root, uri, &file)) return false;
    const int fd = open(file.path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0) {
        if (fd >= 0) close(fd);
        return false;  // gone meanwhile: civetweb answers as for any missing file
    }
    const uint64_t size = static_cast<uint64_t>(st.st_size);
    const ByteRange range =
        mg_get_header(conn, "If-Range") != nullptr ? ByteRange{} : ParseByteRange(header, size);
    if (range.kind == ByteRange::kUnsatisfiable)
        SendUnsatisfiable(conn, size);
    else
        SendFileRange(conn, file, fd, size, range);
    close(fd);
    return true;
}

}  // namespace web
