#pragma once
// The controller program as a child process, for black-box tests: its own temporary folder holds
// its instrument root ("root"), an empty working folder ("work") and its output ("output.txt").
#include <sys/types.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

// How long a controller may take to be up: its start-up self-test alone lasts about 15 s. Like every
// time-out here it is stretched in a ThreadSanitizer build.
inline constexpr int kStartupTimeoutMs = 40000;

class ControllerProcess {
  public:
    // Starts $VRN_BUILD_DIR/app/vrn-controller --root <root> --port-offset <TestPortOffset()>
    // followed by `extraArgs`, with `rootFiles` (instrument path -> content) in its root before it
    // starts. A failed start is reported as a test failure.
    explicit ControllerProcess(const std::vector<std::string>& extraArgs = {},
                               const std::map<std::string, std::string>& rootFiles = {});
    // Stops a program still running with SIGTERM (SIGKILL when it does not end) and removes the folder
    // and the message queue a killed program left. A program whose end the test did not wait for must
    // end with status 0 (a sanitizer report ends it otherwise): anything else fails the test.
    ~ControllerProcess();
    ControllerProcess(const ControllerProcess&) = delete;
    ControllerProcess& operator=(const ControllerProcess&) = delete;

    std::string root() const { return folder_ + "/root"; }
    std::string workDir() const { return folder_ + "/work"; }
    int portOffset() const { return portOffset_; }
    pid_t pid() const { return pid_; }  // -1 once it has ended

    std::string Output() const;
    // Waits until the output holds `text`; false when the program ends or the time passes first.
    bool WaitForOutput(const std::string& text, int timeoutMs = 10000);
    bool Running();
    // Waits for the program's end. Returns its exit status, 128 + the signal when a signal ended
    // it, or -1 when it had to be killed after `timeoutMs`. A stopped program saves its settings first
    // (at most 5 s); the start-up time by default leaves room for a slow build.
    int Wait(int timeoutMs = kStartupTimeoutMs);
    // Signals the program, then waits as Wait does.
    int Stop(int signal, int timeoutMs = kStartupTimeoutMs);
    // True when no process of the program's process group is left.
    bool GroupGone() const;
    // The id and key of the program's message queue, from its last start-up's output (-1 and 0 before then).
    int QueueId() const;
    key_t QueueKey() const;

  private:
    int Reap(int options);

    std::string folder_;
    int portOffset_ = 0;
    pid_t pid_ = -1;    // the running program; -1 once it has ended
    pid_t group_ = -1;  // its process group
    int status_ = -1;
    bool waited_ = false;  // the test has seen the program's end (Wait or Stop)
};

// How many times what occurs in text (overlapping occurrences count).
size_t CountOf(const std::string& text, const std::string& what);
// A reboot starts the program again in the same process: true once that new start is up (bounded), so
// that a stop is not sent into the moment of its exec.
bool StartedAgain(ControllerProcess& p);
// The lines of a text, without their line feeds.
std::vector<std::string> Lines(const std::string& text);
// The whole content of a file, "" (no bytes) when it cannot be read.
std::string FileText(const std::string& path);
std::vector<uint8_t> FileBytes(const std::string& path);
// The bytes of the memory (the simulated SPI flash) of the program on root.
inline std::vector<uint8_t> MemoryOf(const std::string& root) { return FileBytes(root + "/dev/spidev1.0"); }
// A memory block's seal: the stored little-endian sum of bytes 4..used of the block at offset matches and
// is not 0.
bool BlockSealed(const std::vector<uint8_t>& m, size_t offset, size_t used);
// Types one line into the panel channel of the program on root (the simulated instrument's own commands).
bool PanelLine(const std::string& root, const std::string& line);
// RGB565 at (x, y) of root's framebuffer file, and a bounded poll until it holds want.
uint16_t FramebufferPixel(const std::string& root, int x, int y);
bool WaitFramebufferPixel(const std::string& root, int x, int y, uint16_t want, int boundMs = 10000);

}  // namespace testsupport
