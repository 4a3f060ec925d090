#include "platform/sandbox/sandbox_log.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <functional>
#include <string>
#include <unordered_map>

#include "platform/host/log_file.h"
#include "platform/host/root.h"

namespace plat::sandbox {
namespace {

// A controller that runs for days logs the commands its sequencers poll with (the USB device
// controller's state several times a second): the log is bounded (platform/host/log_file.h).
std::mutex g_logMutex;

// The last answer of each polled command, as a hash; a bounded set (a few pollers), emptied when full.
constexpr size_t kPollsKept = 64;
std::mutex g_pollMutex;
std::unordered_map<std::string, size_t> g_lastAnswer;

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
    LogAppend(path, line, LogLimitBytes());  // a full disk loses the entry, never the command
}

bool RepeatsLastAnswer(std::string_view command, int status, std::string_view out, std::string_view error) {
    const size_t answer = std::hash<std::string>{}(std::to_string(status) + '\0' + std::string(out) + '\0' +
                                                   std::string(error));
    std::lock_guard<std::mutex> lock(g_pollMutex);
    const auto [at, added] = g_lastAnswer.try_emplace(std::string(command), answer);
    if (added) {
        if (g_lastAnswer.size() > kPollsKept) {
            g_lastAnswer.clear();
            g_lastAnswer.emplace(std::string(command), answer);
        }
        return false;
    }
    const bool same = at->second == answer;
    at->second = answer;
    return same;
}

}  // namespace plat::sandbox
