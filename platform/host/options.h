#pragma once
// Command-line options of the controller program.
#include <string>

namespace plat {

struct Options {
    std::string root = "./vrnroot";  // instrument root: every absolute instrument path lives under it
    int portOffset = 0;              // added to every listening port (tests run side by side)
    bool realtime = false;           // request the thread table's real-time policies
    int model = 1;                   // model type given to a unit on its first start (0: none)
    bool textLog = false;            // log every string the panel draws to <root>/var/log/gui-text.log
};

// Parses "--root DIR", "--port-offset N", "--realtime", "--model N", "--text-log" and "--help". Returns 0 on success, 1
// when help was printed, -1 on a bad option (usage printed on stderr). The result becomes the process
// options.
int ParseOptions(int argc, char** argv);

const Options& GetOptions();
// Tests set the options a start would parse through it.
void SetOptions(const Options& options);

// The listening port for a port number of the instrument, moved by the port offset.
int Port(int instrumentPort);

}  // namespace plat
