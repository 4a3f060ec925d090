#pragma once
// Requests with a Range for a file of the web root, which the server answers itself: civetweb's own
// answer has a wrong length for a range that ends past the file or whose last byte comes before its
// first, and sends a part of nothing for one that starts past the end.
#include <cstdint>
#include <string_view>

struct mg_connection;

namespace web {

// What a Range header asks of a file: one part of it (206), the whole file (200: a header the server does
// not take, such as another unit, several ranges or a malformed one, which a server may ignore), or
// nothing it can serve (416: the range starts past the end).
struct ByteRange {
    enum Kind { kWhole, kPart, kUnsatisfiable } kind = kWhole;
    uint64_t first = 0;
    uint64_t last = 0;  // inclusive
};

// The range `header` ("bytes=first-last", "bytes=first-", "bytes=-suffix") asks of a file of `size` bytes.
// A part ends inside the file (a last byte past it counts as the file's last).
ByteRange ParseByteRange(std::string_view header, uint64_t size);

// Answers a GET or HEAD of `uri` that carries the Range `header`, when the URI names a file of the web
// root `root` as civetweb would serve it (the file, a folder's index.html, a missing file's ".gz" twin
// for a client that takes gzip). False, with nothing sent, for any other URI, which civetweb answers.
// With If-Range the whole file is sent, which is right whether or not the client's copy is current.
bool WebServeRange(mg_connection* conn, const char* root, const char* uri, const char* header);

}  // namespace web
