#pragma once
// The tools the command sandbox knows, one row each: file tools carried out inside the instrument
// root, and system tools that are only simulated.
#include <string>
#include <string_view>
#include <vector>

namespace plat::sandbox {

constexpr int kRefused = 127;  // exit status of a refused command, as the shell's "not found"

// Standard input, output and error of one command; the sandbox connects them to pipes, files or
// the caller.
struct ToolIo {
    std::string in;
    std::string out;
    std::string err;
};

using Args = std::vector<std::string>;  // args[0] is the tool's name
using ToolFn = int (*)(const Args& args, ToolIo& io);

struct Tool {
    const char* name;
    ToolFn run;
    bool simulated;  // never carried out on the host: only recorded
    // Only reads: a run that answers as the one before it is a poll, logged again only once its answer
    // changes.
    bool reads = false;
};

// The row for a command word (a path such as "/mnt/disk/app/flashcp" selects by its last part),
// or nullptr.
const Tool* FindTool(std::string_view command);

// Splits leading option bundles ("-rf", "-p") from the operands. Options outside `allowed` give
// the tool's usage error (false, message in io.err).
bool SplitOptions(const Args& args, std::string_view allowed, std::string* options, Args* operands,
                  ToolIo& io);

// File tools.
int Cat(const Args& args, ToolIo& io);
// cjpeg [-quality N] [-outfile FILE] [FILE]: a 24-bit BMP to a JPEG.
int Cjpeg(const Args& args, ToolIo& io);
int Cp(const Args& args, ToolIo& io);
int Dd(const Args& args, ToolIo& io);
int Echo(const Args& args, ToolIo& io);
int Grep(const Args& args, ToolIo& io);
int Md5sum(const Args& args, ToolIo& io);
int Mkdir(const Args& args, ToolIo& io);
int Mv(const Args& args, ToolIo& io);
int Rm(const Args& args, ToolIo& io);
int Sync(const Args& args, ToolIo& io);
int Tar(const Args& args, ToolIo& io);

// Simulated system tools.
int Record(const Args& args, ToolIo& io);
// flash_eraseall /dev/mtdN and flashcp [-v] FILE /dev/mtdN on the partition files.
int FlashEraseall(const Args& args, ToolIo& io);
int Flashcp(const Args& args, ToolIo& io);
int QxJtag(const Args& args, ToolIo& io);
int Insmod(const Args& args, ToolIo& io);
int Rmmod(const Args& args, ToolIo& io);
int Mount(const Args& args, ToolIo& io);
// The stick's files (kept under <root>/var/lib/sandbox/usb) appear at a mount point when mounted
// and go back when unmounted; what the folder held before is hidden meanwhile, as under a mount.
void StickAttach(const std::string& folder);
void StickDetach(const std::string& folder);
int Umount(const Args& args, ToolIo& io);
// Every simulated mount ends as at a boot, the stick's files going back to it.
void EndMounts();
int FwPrintenv(const Args& args, ToolIo& io);
int FwSetenv(const Args& args, ToolIo& io);
// Fixed answers about the system (uname, ls of the module tree, strings of the boot flash), and the
// simulated processes.
int FixedTool(const Args& args, ToolIo& io);
int Pgrep(const Args& args, ToolIo& io);
// Network: eth0 and its alias, the default route, the DHCP client, name lookup, background programs.
int Ifconfig(const Args& args, ToolIo& io);
int Route(const Args& args, ToolIo& io);
int Udhcpc(const Args& args, ToolIo& io);
int Nslookup(const Args& args, ToolIo& io);
int StartProcess(const Args& args, ToolIo& io);
int Kill(const Args& args, ToolIo& io);

}  // namespace plat::sandbox
