#include "tests/support/controller_process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/msg.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "tests/support/temp_root.h"

namespace testsupport {
namespace fs = std::filesystem;
namespace {

constexpr auto kPoll = std::chrono::milliseconds(10);

// A controller built with ThreadSanitizer starts and stops several times slower (its bring-up sends every
// waveform table through the simulated bus byte by byte), so the waits for it are longer there.
#if defined(__SANITIZE_THREAD__)
constexpr int kSlowdown = 4;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
constexpr int kSlowdown = 4;
#else
constexpr int kSlowdown = 1;
#endif
#else
constexpr int kSlowdown = 1;
#endif

std::chrono::steady_clock::time_point Deadline(int timeoutMs) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs) * kSlowdown;
}
const std::regex kQueueLine("message queue: id (\\d+) key 0x([0-9a-f]+)");

// Field 1 (the id) or 2 (the key) of the last start-up's queue line (a reboot starts the program again
// in the same process, with a queue of its own); "" before then.
std::string QueueField(const std::string& out, int field) {
    std::string found;
    for (std::sregex_iterator m(out.begin(), out.end(), kQueueLine), end; m != end; ++m)
        found = (*m)[field].str();
    return found;
}

}  // namespace

ControllerProcess::ControllerProcess(const std::vector<std::string>& extraArgs,
                                     const std::map<std::string, std::string>& rootFiles)
    : portOffset_(TestPortOffset()) {
    const char* buildDir = std::getenv("VRN_BUILD_DIR");
    if (buildDir == nullptr || buildDir[0] == '\0') {
        ADD_FAILURE() << "VRN_BUILD_DIR is not set (ctest sets it)";
        return;
    }
    std::string program = std::string(buildDir) + "/app/vrn-controller";
    folder_ = MakeTempFolder("vrn-run-");
    if (folder_.empty()) return;
    fs::create_directory(workDir());
    for (const auto& [path, content] : rootFiles) {
        const fs::path file = root() + path;
        fs::create_directories(file.parent_path());
        std::ofstream(file) << content;
    }

    std::vector<std::string> args = {program, "--root", root(), "--port-offset", std::to_string(portOffset_)};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::string work = workDir(), output = folder_ + "/output.txt";

    pid_ = fork();
    if (pid_ == 0) {
        setpgid(0, 0);
        int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int in = open("/dev/null", O_RDONLY);
        if (out < 0 || in < 0 || chdir(work.c_str()) != 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 ||
            dup2(out, 2) < 0)
            _exit(126);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    if (pid_ < 0) ADD_FAILURE() << "cannot start " << program;
    // Also from here, so that the group exists before the test signals it.
    if (pid_ > 0) setpgid(pid_, pid_);
    group_ = pid_;
}

ControllerProcess::~ControllerProcess() {
    if (!waited_ && (pid_ > 0 || status_ != -1)) {
        int status = Stop(SIGTERM);
        if (status != 0) ADD_FAILURE() << "the controller ended with status " << status << ":\n" << Output();
    }
    // A killed program leaves its queue; the id alone could meanwhile name another program's queue.
    int id = QueueId();
    struct msqid_ds ds;
    if (id >= 0 && msgctl(id, IPC_STAT, &ds) == 0 && ds.msg_perm.__key == QueueKey())
        msgctl(id, IPC_RMID, nullptr);
    std::error_code ec;
    if (!folder_.empty()) fs::remove_all(folder_, ec);
}

std::string ControllerProcess::Output() const {
    return FileText(folder_ + "/output.txt");
}

int ControllerProcess::Reap(int options) {
    int status = 0;
    pid_t done;
    while ((done = waitpid(pid_, &status, options)) < 0 && errno == EINTR) {
    }
    if (done == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        pid_ = -1;
    }
    return done;
}

bool ControllerProcess::Running() {
    if (pid_ <= 0) return false;
    Reap(WNOHANG);
    return pid_ > 0;
}

bool ControllerProcess::WaitForOutput(const std::string& text, int timeoutMs) {
    auto end = Deadline(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        if (Output().find(text) != std::string::npos) return true;
        if (!Running()) return Output().find(text) != std::string::npos;
        std::this_thread::sleep_for(kPoll);
    }
    return false;
}

int ControllerProcess::Stop(int signal, int timeoutMs) {
    if (Running()) kill(pid_, signal);
    return Wait(timeoutMs);
}

int ControllerProcess::Wait(int timeoutMs) {
    waited_ = true;
    auto end = Deadline(timeoutMs);
    while (Running()) {
        if (std::chrono::steady_clock::now() >= end) {
            kill(pid_, SIGKILL);
            Reap(0);
            return -1;
        }
        std::this_thread::sleep_for(kPoll);
    }
    return status_;
}

int ControllerProcess::QueueId() const {
    std::string id = QueueField(Output(), 1);
    return id.empty() ? -1 : std::stoi(id);
}

key_t ControllerProcess::QueueKey() const {
    return static_cast<key_t>(std::stoul("0" + QueueField(Output(), 2), nullptr, 16));
}

bool ControllerProcess::GroupGone() const {
    return group_ > 0 && kill(-group_, 0) == -1 && errno == ESRCH;
}

bool PanelLine(const std::string& root, const std::string& line) {
    const int fd = open((root + "/var/run/panel").c_str(), O_WRONLY | O_NONBLOCK);
    if (fd < 0) return false;
    const std::string text = line + "\n";
    const bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    return ok;
}

size_t CountOf(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

bool StartedAgain(ControllerProcess& p) {
    for (int waited = 0; waited <= kStartupTimeoutMs; waited += 100) {
        if (CountOf(p.Output(), "GuiThread: system ready") >= 2) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

std::vector<std::string> Lines(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<uint8_t> FileBytes(const std::string& path) {
    const std::string text = FileText(path);
    return {text.begin(), text.end()};
}

bool BlockSealed(const std::vector<uint8_t>& m, size_t offset, size_t used) {
    if (m.size() < offset + used) return false;
    uint32_t sum = 0;
    for (size_t i = offset + 4; i < offset + used; ++i)
        sum += m[i];
    uint32_t stored = m[offset] | m[offset + 1] << 8 | m[offset + 2] << 16 | uint32_t{m[offset + 3]} << 24;
    return stored != 0 && stored == sum;
}

uint16_t FramebufferPixel(const std::string& root, int x, int y) {
    std::ifstream fb(root + "/dev/fb0", std::ios::binary);
    fb.seekg(2 * (800 * y + x));
    unsigned char b[2] = {};
    fb.read(reinterpret_cast<char*>(b), 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

bool WaitFramebufferPixel(const std::string& root, int x, int y, uint16_t want, int boundMs) {
    for (int waited = 0; waited <= boundMs; waited += 20) {
        if (FramebufferPixel(root, x, y) == want) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

}  // namespace testsupport
