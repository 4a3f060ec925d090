#include "platform/sandbox/sandbox_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <string>

#include "platform/host/root.h"

namespace plat::sandbox {
namespace {

std::mutex g_logMutex;
// A controller that runs for days logs the commands its sequencers poll with; past this size the log
// starts over and keeps one older generation beside it ("commands.log.1").
constexpr off_t kLogMaxBytes = 4 * 1024 * 1024;

// Keeps the entry on one line: control characters are written as escapes.
void AppendEscaped(std::string& line, std::string_view text) {
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            line += "\\n";
        } else if (byte < 0x20 || byte == 0x7f) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            line += escape;
        } else {
            line += c;
        }
    }
}

std::string LocalTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    char text[40];
    size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    std::snprintf(text + n, sizeof text - n, ".%03ld", now.tv_nsec / 1000000);
    return text;
}

}  // namespace

void LogCommand(std::string_view verdict, int status, std::string_view command, std::string_view error) {
    std::string line = LocalTime() + " " + std::string(verdict) + " " + std::to_string(status) + " ";
    AppendEscaped(line, command);
    std::string_view firstError = error.substr(0, error.find('\n'));
    if (!firstError.empty()) {
        line += " -- ";
        AppendEscaped(line, firstError);
    }
    line += '\n';

    std::lock_guard<std::mutex> lock(g_logMutex);
    std::string path = MapPath("/var/log/commands.log");
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && st.st_size >= kLogMaxBytes)
        std::rename(path.c_str(), (path + ".1").c_str());
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    ssize_t written = write(fd, line.data(), line.size());
    (void)written;  // a full disk loses the entry, never the command
    close(fd);
}

}  // namespace plat::sandbox
