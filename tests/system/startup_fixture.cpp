#include "tests/system/startup_fixture.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace startup_test {
namespace {

std::string ProgramPath() {
    const char* build = std::getenv("VRN_BUILD_DIR");
    return std::string(build ? build : "build") + "/app/vrn-controller";
}

}  // namespace

RunningController::RunningController() {
    char tmpl[] = "/tmp/vrn-startup-XXXXXX";
    if (mkdtemp(tmpl) != nullptr) dir_ = tmpl;
    root_ = dir_ + "/root";
    out_ = dir_ + "/output.txt";
}

RunningController::~RunningController() {
    if (pid_ > 0) Stop(SIGKILL);
    if (!dir_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
}

bool RunningController::Start(const std::vector<std::string>& extraArgs) {
    if (dir_.empty()) return false;
    std::string program = ProgramPath();
    std::vector<std::string> args = {program, "--root", root_};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    pid_ = fork();
    if (pid_ < 0) return false;
    if (pid_ == 0) {
        int fd = open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        dup2(fd, 2);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    return true;
}

std::string RunningController::Output() const {
    std::ifstream in(out_);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool RunningController::WaitForOutput(const std::string& text, std::chrono::milliseconds timeout) {
    auto until = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < until) {
        if (Output().find(text) != std::string::npos) return true;
        int status;
        if (pid_ > 0 && waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return Output().find(text) != std::string::npos;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

int RunningController::Stop(int signal) {
    if (pid_ <= 0) return -1;
    kill(pid_, signal);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
}

bool RunningController::PanelCommand(const std::string& line) {
    int fd = open((root_ + "/var/run/panel").c_str(), O_WRONLY | O_NONBLOCK);
    if (fd < 0) return false;
    std::string text = line + "\n";
    bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    return ok;
}

std::vector<int> HostQueueIds() {
    std::vector<int> ids;
    std::ifstream in("/proc/sysvipc/msg");
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        std::istringstream s(line);
        long key;
        int id;
        if (s >> key >> id) ids.push_back(id);
    }
    return ids;
}

}  // namespace startup_test
