#include "platform/sandbox/sandbox.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "platform/sandbox/sandbox_log.h"
#include "platform/sandbox/sandbox_run.h"
#include "platform/sandbox/tools/sandbox_tools.h"

namespace plat {
namespace {

using sandbox::kRefused;
using sandbox::ToolIo;

std::mutex g_streamsMutex;
std::unordered_map<FILE*, int> g_streamStatus;  // open Popen streams and their commands' exit status

void Forward(const std::string& data, FILE* stream) {
    if (data.empty()) return;
    std::fwrite(data.data(), 1, data.size(), stream);
    std::fflush(stream);
}

// A readable stream over the command's whole output, held in anonymous memory.
FILE* OutputStream(const std::string& output) {
    int fd = memfd_create("vrn-popen", MFD_CLOEXEC);
    if (fd < 0) return nullptr;
    bool written =
        output.empty() || write(fd, output.data(), output.size()) == static_cast<ssize_t>(output.size());
    FILE* stream = written && lseek(fd, 0, SEEK_SET) == 0 ? fdopen(fd, "r") : nullptr;
    if (stream == nullptr) close(fd);
    return stream;
}

}  // namespace

int System(const char* command) {
    if (command == nullptr) {
        sandbox::LogCommand("refused", kRefused, "", "no command");
        return kRefused;
    }
    ToolIo io;
    int status = sandbox::RunLine(command, io);
    Forward(io.out, stdout);
    Forward(io.err, stderr);
    return status;
}

FILE* Popen(const char* command, const char* mode) {
    // Only reading is offered: no caller feeds a command's input.
    if (command == nullptr || mode == nullptr || mode[0] != 'r' || std::strpbrk(mode, "w+") != nullptr) {
        sandbox::LogCommand("refused", kRefused, command ? command : "", "only mode \"r\" is offered");
        errno = EINVAL;
        return nullptr;
    }
    ToolIo io;
    int status = sandbox::RunLine(command, io);
    Forward(io.err, stderr);
    FILE* stream = OutputStream(io.out);
    if (stream == nullptr) return nullptr;
    std::lock_guard<std::mutex> lock(g_streamsMutex);
    g_streamStatus[stream] = status;
    return stream;
}

int Pclose(FILE* stream) {
    int status;
    {
        std::lock_guard<std::mutex> lock(g_streamsMutex);
        auto it = g_streamStatus.find(stream);
        if (it == g_streamStatus.end()) {
            errno = ECHILD;
            return -1;
        }
        status = it->second;
        g_streamStatus.erase(it);
    }
    std::fclose(stream);
    return status;
}

void SandboxBoot() {
    sandbox::EndMounts();
}

}  // namespace plat
