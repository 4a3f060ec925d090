#include "platform/host/root.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/host/options.h"

namespace plat {
namespace fs = std::filesystem;
namespace {

std::string Absolute(const std::string& dir) {
    std::error_code ec;
    fs::path p = fs::absolute(dir, ec);
    if (ec) p = dir;
    std::string s = p.lexically_normal().string();
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

std::string g_root = Absolute(Options{}.root);

constexpr int kMaxLinks = 40;  // as the kernel, before it gives up with ELOOP

// The first element of `path` that is a symbolic link whose target does not exist, and the
// elements after it. False when there is none (the search ends at the first missing element).
bool FindDanglingLink(const fs::path& path, fs::path* link, fs::path* rest) {
    fs::path prefix;
    for (auto it = path.begin(); it != path.end(); ++it) {
        if (it->empty()) continue;
        prefix /= *it;
        std::error_code ec;
        fs::file_status own = fs::symlink_status(prefix, ec);
        if (ec || own.type() == fs::file_type::not_found) return false;
        if (own.type() != fs::file_type::symlink || fs::status(prefix, ec).type() != fs::file_type::not_found)
            continue;
        *link = prefix;
        *rest = fs::path();
        for (++it; it != path.end(); ++it)
            if (!it->empty()) *rest /= *it;
        return true;
    }
    return false;
}

// Decides the common case without resolving the root from "/": a path written as the root followed by
// plain names (no ".", "..") with no symbolic link among those of them that exist lies inside an existing
// root. A link, a dot or a missing root leaves the answer to the full resolution (nullopt).
std::optional<bool> PlainBelowRoot(const std::string& path, const std::string& root) {
    if (path.size() <= root.size() || path.compare(0, root.size(), root) != 0 || path[root.size()] != '/')
        return std::nullopt;
    std::vector<size_t> ends;  // where each name below the root ends
    for (size_t end = root.size(); end < path.size();) {
        const size_t start = end + 1;
        end = std::min(path.find('/', start), path.size());
        const std::string_view part(path.data() + start, end - start);
        if (part == "." || part == "..") return std::nullopt;
        if (!part.empty()) ends.push_back(end);
    }
    struct stat st;
    if (stat(root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
    for (size_t end : ends) {
        if (lstat(path.substr(0, end).c_str(), &st) != 0) {
            if (errno == ENOENT) return true;  // this name and those below it are new ones
            return std::nullopt;
        }
        if (S_ISLNK(st.st_mode)) return std::nullopt;
    }
    return true;
}

}  // namespace

void SetRoot(const std::string& dir) {
    g_root = Absolute(dir);
}

const std::string& Root() {
    return g_root;
}

namespace {
// Below /mnt/sd1 lies the USB stick's vfat file system, whose names match in any case.
bool OnStick(const std::vector<std::string_view>& parts, size_t i) {
    return i >= 2 && parts[0] == "mnt" && parts[1] == "sd1";
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The entry of the folder (host path ending in '/') named `part` in some case: its own spelling when
// it exists, else the first entry that matches ignoring case, else `part` as given (a new name).
std::string StickName(const std::string& folderSlash, std::string_view part) {
    std::error_code ec;
    const std::string exact(part);
    if (fs::exists(folderSlash + exact, ec)) return exact;
    for (const fs::directory_entry& e : fs::directory_iterator(folderSlash, ec)) {
        const std::string name = e.path().filename().string();
        if (SameIgnoringCase(name, part)) return name;
    }
    return exact;
}
}  // namespace

std::string MapPath(std::string_view instrumentPath) {
    if (instrumentPath.empty() || instrumentPath[0] != '/') return std::string(instrumentPath);
    // A path that already points into the root is taken as mapped, so mapping twice does no harm.
    const std::string& root = Root();
    if (instrumentPath.substr(0, root.size()) == root &&
        (instrumentPath.size() == root.size() || instrumentPath[root.size()] == '/'))
        instrumentPath.remove_prefix(root.size());
    std::vector<std::string_view> parts;
    while (!instrumentPath.empty()) {
        size_t slash = instrumentPath.find('/');
        std::string_view part = instrumentPath.substr(0, slash);
        instrumentPath.remove_prefix(slash == std::string_view::npos ? instrumentPath.size() : slash + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string mapped = root;
    for (size_t i = 0; i < parts.size(); ++i) {
        mapped += '/';
        mapped += OnStick(parts, i) ? StickName(mapped, parts[i]) : std::string(parts[i]);
    }
    // A symbolic link under the root may point anywhere on the host; what it leads out of the root to
    // is refused with a path no file call opens.
    if (!IsInsideRoot(mapped)) return std::string();
    return mapped;
}

bool IsInsideRoot(const std::string& hostPath) {
    if (hostPath.empty()) return false;
    if (const std::optional<bool> plain = PlainBelowRoot(hostPath, Root())) return *plain;
    std::error_code ec;
    fs::path path = fs::absolute(hostPath, ec);
    if (ec) return false;
    // weakly_canonical takes a link whose target is missing for a missing name, yet creating that
    // name creates the target wherever it lies: such links are followed here.
    for (int links = 0;; ++links) {
        fs::path link, rest;
        if (!FindDanglingLink(path, &link, &rest)) break;
        fs::path target = fs::read_symlink(link, ec);
        if (ec || links == kMaxLinks) return false;
        path = (target.is_absolute() ? target : link.parent_path() / target) / rest;
    }
    path = fs::weakly_canonical(path, ec);
    if (ec) return false;
    fs::path root = fs::weakly_canonical(Root(), ec);
    if (ec) return false;
    auto mismatch = std::mismatch(root.begin(), root.end(), path.begin(), path.end());
    return mismatch.first == root.end();
}

}  // namespace plat
