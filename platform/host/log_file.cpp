#include "platform/host/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace plat {
namespace {

constexpr off_t kDefaultLimit = 1024 * 1024;

off_t LimitFromEnvironment() {
    const char* text = std::getenv("VRN_LOG_LIMIT_BYTES");
    if (text == nullptr || text[0] == '\0') return kDefaultLimit;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || value <= 0) {
        std::fprintf(stderr, "VRN_LOG_LIMIT_BYTES=%s is not a positive byte count: logs keep %lld bytes\n",
                     text, static_cast<long long>(kDefaultLimit));
        return kDefaultLimit;
    }
    return static_cast<off_t>(value);
}

}  // namespace

off_t LogLimitBytes() {
    static const off_t limit = LimitFromEnvironment();
    return limit;
}

bool LogAppend(const std::string& path, std::string_view line, off_t limit) {
    if (limit <= 0 || line.empty()) return false;
    std::string cut;
    if (static_cast<off_t>(line.size()) > limit) {
        // Still one whole line: the log's readers split at line feeds.
        cut.assign(line.substr(0, static_cast<size_t>(limit) - 1));
        cut += '\n';
        line = cut;
    }
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && st.st_size + static_cast<off_t>(line.size()) > limit)
        std::rename(path.c_str(), (path + ".1").c_str());
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const ssize_t written = write(fd, line.data(), line.size());
    close(fd);
    return written == static_cast<ssize_t>(line.size());
}

}  // namespace plat
