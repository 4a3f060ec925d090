#include "remote/web/web_admit.h"

#include <climits>
#include <cstdlib>
#include <string>

namespace web {
namespace {

constexpr std::string_view kScheme = "http://";
constexpr std::string_view kDefaultPort = ":80";

// Host and port as compared: lower case, the default port dropped.
std::string Authority(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (out.size() > kDefaultPort.size() && out.ends_with(kDefaultPort))
        out.resize(out.size() - kDefaultPort.size());
    return out;
}

// The real path of `path`, or "" when it does not resolve (it does not exist).
std::string Real(const std::string& path) {
    char buffer[PATH_MAX];
    return realpath(path.c_str(), buffer) != nullptr ? std::string(buffer) : std::string();
}

}  // namespace

bool WebOriginAllowed(const char* origin, const char* host) {
    if (origin == nullptr) return true;
    if (host == nullptr) return false;
    std::string_view o(origin);
    if (!o.starts_with(kScheme)) return false;
    o.remove_prefix(kScheme.size());
    if (o.empty() || o.find('/') != std::string_view::npos) return false;
    return Authority(o) == Authority(host);
}

bool WebPathInsideRoot(const char* root, std::string_view uri) {
    const std::string realRoot = Real(root);
    if (realRoot.empty()) return true;  // no web root: civetweb finds nothing to serve
    const std::string path = std::string(root) + std::string(uri);
    for (const std::string& candidate : {path, path + "/index.html", path + ".gz"}) {
        const std::string real = Real(candidate);
        if (real.empty() || real == realRoot) continue;
        if (!real.starts_with(realRoot + "/")) return false;
    }
    return true;
}

}  // namespace web
