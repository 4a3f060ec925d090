#pragma once
// Starts the controller program on a fresh temporary root and watches what it prints.
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace startup_test {

class RunningController {
  public:
    RunningController();
    ~RunningController();
    RunningController(const RunningController&) = delete;
    RunningController& operator=(const RunningController&) = delete;

    bool Start(const std::vector<std::string>& extraArgs = {});
    // Waits until the program's output contains text; false on time-out or when the program ended.
    bool WaitForOutput(const std::string& text, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    std::string Output() const;
    // Sends a signal and waits for the end; returns the wait status.
    int Stop(int signal);
    // Writes one line to the local panel channel.
    bool PanelCommand(const std::string& line);

    const std::string& Root() const { return root_; }
    pid_t Pid() const { return pid_; }

  private:
    std::string dir_, root_, out_;
    pid_t pid_ = -1;
};

// The message queue ids that exist on the host now.
std::vector<int> HostQueueIds();

}  // namespace startup_test
