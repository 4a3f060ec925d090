#include "platform/sandbox/sandbox.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <thread>
#include <tuple>

#include "platform/host/root.h"
#include "tests/support/temp_root.h"

namespace {
namespace fs = std::filesystem;
using namespace std::string_literals;

struct Result {
    int status = -1;
    std::string out;
};

// Runs a command line through plat::Popen and collects its output and exit status.
Result Capture(const std::string& command) {
    Result result;
    FILE* stream = plat::Popen(command.c_str(), "r");
    if (stream == nullptr) return result;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, stream)) > 0;)
        result.out.append(buffer, n);
    result.status = plat::Pclose(stream);
    return result;
}

// Command lines in order on one root: {line, exit status, standard output}. Lines without output run
// through plat::System, the others through plat::Popen.
TEST(Sandbox, CommandLinesAndTheirResults) {
    testsupport::TempRoot root;
    char hostName[256] = {}, hostAfter[256] = {};
    gethostname(hostName, sizeof hostName);
    root.Write("/dev/sda1", "");
    root.Write("/mnt/tst/seq/SEQ1.SEQ", "1");
    root.Write("/mnt/tst/seq/SEQ2.SEQ", "2");
    root.Write("/mnt/tst/seq/notes", "n");
    root.Write("/tmp/VRN4100_temp", "abc");
    root.Write("/tmp/empty", "");
    root.Write("/tmp/httpd/index.html", "<html>");
    root.Write("/tmp/httpd/images/logo.png", "png");
    root.Write("/mnt/disk/app/image/qx_logo.bmp", std::string(3000, 'L'));
    root.Write("/dev/mtdblock9", std::string(5000, 'X'));
    const std::string self = std::to_string(getpid());
    const std::tuple<std::string, int, std::string> cases[] = {
        // System tools are simulated against state under the root, never run.
        {"ifconfig eth0 10.1.2.3 netmask 255.255.255.0 up", 0, ""},
        {"hostname V-probe", 0, ""},
        {"umount /mnt/sd1 2>/dev/null", 32, ""},                   // nothing mounted
        {"mount -t vfat /dev/sdb1 /mnt/sd1 2>/dev/null", 32, ""},  // no such stick
        {"mount -t vfat /dev/sda1 /mnt/sd1\n", 0, ""},
        // A device named by a relative path is looked for in the root, never in the host's folders.
        {"mount -t vfat ../../../../../../../../../../dev/null /mnt/sd1 2>/dev/null", 127, ""},
        {"insmod /mnt/disk/drivers/usb/libcomposite.ko", 0, ""},
        {"kill " + self, 0, ""},  // recorded; this process lives on
        {"reboot", 0, ""},
        {"grep 'mount./mnt/sd1=/dev/sda1 vfat' /var/lib/sandbox/state", 0, "mount./mnt/sd1=/dev/sda1 vfat\n"},
        {"umount /dev/sda1", 0, ""},
        {"rmmod libcomposite", 0, ""},
        {"rmmod libcomposite 2>/dev/null", 1, ""},
        {"grep mount. /var/lib/sandbox/state", 1, ""},
        {"fw_printenv upg_ver", 0, "upg_ver=0x260\n"},  // as the root was provisioned
        {"fw_setenv upg_ver 0x261", 0, ""},
        {"fw_printenv upg_ver", 0, "upg_ver=0x261\n"},
        {"fw_setenv upg_ver", 0, ""},
        {"fw_printenv upg_ver 2>/dev/null", 1, ""},
        {"fw_printenv", 0, ""},  // the rest of the state is not listed
        {"uname -x 2>/dev/null", 1, ""},
        {"ls /mnt 2>/dev/null", 2, ""},
        {"pgrep udhcpc", 1, ""},
        // Anything else is refused.
        {"sh -c 'echo hi' 2>/dev/null", 127, ""},
        {"echo `id` 2>/dev/null", 127, ""},
        // Globs expand inside the root; the host's folders are not looked at.
        {"echo /mnt/tst/seq/*.SEQ", 0, "/mnt/tst/seq/SEQ1.SEQ /mnt/tst/seq/SEQ2.SEQ\n"},
        {"echo /etc/pass*", 0, "/etc/pass*\n"},
        // Redirections write rooted files; the target is made before the command runs.
        {"udhcpc -bR -p /var/run/udhcpc.eth0.pid -i eth0 > /tmp/udhcpc.info", 0, ""},
        {"cat /tmp/udhcpc.info", 0, ""},
        // Sequences and substitutions.
        {"rm /tmp/none 2>/dev/null && echo yes || echo no", 0, "no\n"},
        {"sync && echo yes || echo no", 0, "yes\n"},
        {"cat /tmp/none 2>&1", 1, "cat: /tmp/none: No such file or directory\n"},
        {"echo a & echo b", 0, "a\nb\n"},
        {"echo $(echo $(echo deep))", 0, "deep\n"},
        // File tools.
        {"cp /mnt/tst/seq/SEQ1.SEQ /mnt/tst/seq/SEQ9.SEQ", 0, ""},
        {"cp /mnt/tst/seq/SEQ9.SEQ /tmp/", 0, ""},  // into a folder
        {"cat /tmp/SEQ9.SEQ", 0, "1"},
        {"cp /mnt/tst/seq/none /tmp/ 2>/dev/null", 1, ""},
        {"rm /mnt/tst/seq/SEQ9.SEQ", 0, ""},
        {"rm -f /mnt/tst/seq/SEQ9.SEQ", 0, ""},
        {"mkdir /mnt/disk/Update_C2000\n", 0, ""},
        {"mkdir /mnt/disk/Update_C2000 2>/dev/null", 1, ""},
        {"mkdir -p /tmp/httpd/images /tmp/httpd/js", 0, ""},
        {"cp /tmp/httpd /mnt/disk 2>/dev/null", 1, ""},  // a folder needs -r
        {"cp -r /tmp/httpd /mnt/disk", 0, ""},
        {"cat /mnt/disk/httpd/images/logo.png", 0, "png"},
        {"mv /tmp/SEQ9.SEQ /mnt/tst/seq/SEQ3.SEQ", 0, ""},
        {"cat /tmp/SEQ9.SEQ 2>/dev/null", 1, ""},
        {"cp mnt/tst/seq/SEQ3.SEQ tmp/rel", 0, ""},  // relative paths start at the root
        {"cat /tmp/rel", 0, "1"},
        {"md5sum /tmp/VRN4100_temp /tmp/empty", 0,
         "900150983cd24fb0d6963f7d28e17f72  /tmp/VRN4100_temp\nd41d8cd98f00b204e9800998ecf8427e  "
         "/tmp/empty\n"},
        {"dd if=/mnt/disk/app/image/qx_logo.bmp of=/dev/mtdblock9 bs=1024", 0, ""},
        {"cat /dev/mtdblock9", 0, std::string(3000, 'L')},
        // Flash partitions are files of their size: erased to 0xFF, written and read back.
        {"/mnt/disk/app/flashcp /tmp/VRN4100_temp /dev/mtd0", 0, ""},
        {"dd if=/dev/mtd0 bs=4 count=1", 0, "abc\xff"},
        {"flashcp /tmp/missing /dev/mtd0 2>/dev/null", 1, ""},
        {"flashcp /tmp/VRN4100_temp /dev/mtd7 2>/dev/null", 1, ""},
        {"flash_eraseall /dev/mtd0", 0, ""},
        {"dd if=/dev/mtd0 bs=4 count=1", 0, "\xff\xff\xff\xff"},
        {"dd if=/mnt/disk/app/image/qx_logo.bmp of=/tmp/part bs=1k count=2", 0, ""},
        {"cat /tmp/part", 0, std::string(2048, 'L')},
        {"dd if=/mnt/disk/none of=/tmp/part 2>/dev/null", 1, ""},
        {"dd if=/tmp/part of=/tmp/y bs=zero 2>/dev/null", 1, ""},
        // Archives: made and extracted inside the root; absolute members land under the target folder.
        {"tar -czf /mnt/sd1/httpd.tar.gz -C /tmp httpd", 0, ""},
        {"rm -r /tmp/httpd", 0, ""},
        {"tar -xzvf /mnt/sd1/httpd.tar.gz -C /tmp/ | grep logo", 0, "httpd/images/logo.png\n"},
        {"cat /tmp/httpd/images/logo.png", 0, "png"},
        {"tar cf /tmp/abs.tar /tmp/httpd/index.html", 0, ""},
        {"tar -xf /tmp/abs.tar -C /mnt/disk", 0, ""},
        {"cat /mnt/disk/tmp/httpd/index.html", 0, "<html>"},
        // Options that could run programs or reach other files are refused.
        {"tar -xf /tmp/abs.tar --to-command=sh 2>/dev/null", 127, ""},
        {"tar -xf /tmp/abs.tar -I sh 2>/dev/null", 127, ""},
        {"tar -x -f - 2>/dev/null", 127, ""},
    };
    for (const auto& [line, status, out] : cases) {
        if (out.empty()) {
            EXPECT_EQ(plat::System(line.c_str()), status) << line;
        } else {
            Result r = Capture(line);
            EXPECT_EQ(r.status, status) << line;
            EXPECT_EQ(r.out, out) << line;
        }
    }
    EXPECT_EQ(plat::Popen("sync", "w"), nullptr);
    // Nothing happened to the host; the log names what was simulated and what refused.
    gethostname(hostAfter, sizeof hostAfter);
    EXPECT_STREQ(hostAfter, hostName);
    const std::string log = root.Read("/var/log/commands.log");
    for (const std::string& line : {"simulated 0 ifconfig eth0 10.1.2.3 netmask 255.255.255.0 up"s,
                                    "simulated 0 kill " + self, "refused 127 sh -c 'echo hi'"s})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
}

// Nothing is read or written outside the root: not by paths that climb out, nor through links. An
// archive's link that leads out is dropped when extracted; a link to a missing file outside (brought in
// or put there by hand) is never written through.
TEST(Sandbox, NothingOutsideTheRootIsReachable) {
    testsupport::TempRoot root;
    root.Write("/mnt/disk/a", "secret");
    // Names next to the root, unique to it, that must never be created.
    const std::string escape = fs::path(root.path()).filename().string() + "-escape";
    const std::string outside = fs::path(root.path()).parent_path() / escape,
                      made = root.path() + "-outside/made";
    fs::create_directories(root.path() + "-outside");
    fs::create_directories(plat::MapPath("/tmp/pack"));
    fs::create_directory_symlink("/etc", plat::MapPath("/tmp/pack/etc"));
    fs::create_symlink("index.html", plat::MapPath("/tmp/pack/home"));
    fs::create_symlink(made, plat::MapPath("/tmp/pack/made"));
    ASSERT_EQ(plat::System("tar -cf /tmp/links.tar -C /tmp pack"), 0);
    EXPECT_EQ(plat::System("tar -xf /tmp/links.tar -C /mnt/disk 2>/dev/null"), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(plat::MapPath("/mnt/disk/pack/etc"))));
    EXPECT_FALSE(fs::exists(fs::symlink_status(plat::MapPath("/mnt/disk/pack/made"))));
    EXPECT_TRUE(fs::is_symlink(plat::MapPath("/mnt/disk/pack/home")));
    fs::create_directory_symlink(fs::path(root.path()).parent_path(), plat::MapPath("/mnt/disk/link"));
    for (const std::string& command : {
             "cp /mnt/disk/a ../" + escape,
             "cp /mnt/disk/a ../../../../../../../../.." + outside,
             "mv /mnt/disk/a ../" + escape,
             "cp /mnt/disk/a /mnt/disk/link/" + escape,
             "echo x > ../" + escape,
             "echo x >> /mnt/disk/link/" + escape,
             "mkdir ../" + escape,
             "dd if=/mnt/disk/a of=../" + escape,
             "tar -cf ../" + escape + " /mnt/disk",
             "tar -cf /tmp/x.tar -C / ../" + escape,
             std::string("cat ../../../../../../../../../etc/passwd"),
             std::string("rm -rf /"),
             std::string("rm -rf .."),
             std::string("echo x > /tmp/pack/made"),
             std::string("echo x >> /tmp/pack/made"),
             std::string("cp /etc/../tmp/links.tar /tmp/pack/made"),
             std::string("dd if=/tmp/links.tar of=/tmp/pack/made"),
             std::string("mkdir -p /tmp/pack/made"),
         }) {
        auto result = Capture("2>/dev/null " + command);
        EXPECT_EQ(result.status, 127) << command;
        EXPECT_EQ(result.out, "") << command;
        EXPECT_FALSE(fs::exists(outside) || fs::exists(made)) << command;
    }
    EXPECT_EQ(root.Read("/mnt/disk/a"), "secret");
    EXPECT_TRUE(fs::is_directory(plat::MapPath("/mnt/tst/seq")));
    EXPECT_NE(root.Read("/var/log/commands.log")
                  .find("refused 127 cp /mnt/disk/a ../" + escape + " 2> /dev/null -- cp: ../" + escape +
                        ": outside the instrument root"),
              std::string::npos);
    fs::remove_all(root.path() + "-outside");
}

TEST(Sandbox, EveryCommandIsLoggedOnOneLineAlsoFromManyThreads) {
    testsupport::TempRoot root;
    plat::System("rm /tmp/VRN4100_temp\n sync\n");
    plat::System("wget x 2>/dev/null");
    std::string log = root.Read("/var/log/commands.log");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3) << log;
    constexpr int kThreads = 8, kRuns = 25;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < kRuns; ++i) {
                std::string n = std::to_string(t);
                plat::System(("echo " + n + " >> /tmp/t" + n).c_str());
                plat::System(("fw_setenv v" + n + " " + std::to_string(i)).c_str());
                FILE* stream = plat::Popen(("cat /tmp/t" + n).c_str(), "r");
                if (stream != nullptr) plat::Pclose(stream);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    log = root.Read("/var/log/commands.log");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3 + kThreads * kRuns * 3);
    auto env = Capture("fw_printenv");
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(root.Read("/tmp/t" + std::to_string(t)).size(), kRuns * 2u);
        EXPECT_NE(env.out.find("v" + std::to_string(t) + "=" + std::to_string(kRuns - 1)), std::string::npos);
    }
    // The log holds 1 MiB: a line that would take it past that starts a new log and the full one is
    // kept as the older generation.
    const std::string nearlyFull(1024 * 1024 - 200, 'x');
    root.Write("/var/log/commands.log", nearlyFull);
    plat::System("sync");
    log = root.Read("/var/log/commands.log");
    EXPECT_EQ(log.substr(0, nearlyFull.size()), nearlyFull);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
    const std::string full(1024 * 1024, 'x');
    root.Write("/var/log/commands.log", full);
    plat::System("sync");
    EXPECT_EQ(root.Read("/var/log/commands.log.1"), full);
    log = root.Read("/var/log/commands.log");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log.substr(0, 200);
}

// A command that only reads and answers as before is a poll: logged once, and again when the answer
// changes. A command that acts, or a read written to a file, is logged every time.
TEST(Sandbox, APollThatFindsNothingChangedIsLoggedOnce) {
    testsupport::TempRoot root;
    root.Write("/sys/state", "0,0,0,0\n");
    const auto lines = [&root] {
        const std::string log = root.Read("/var/log/commands.log");
        return std::count(log.begin(), log.end(), '\n');
    };
    const struct {
        const char* command;
        const char* state;  // written before the run, or nullptr
        long logged;        // lines in the log after it
    } steps[] = {
        {"cat /sys/state", nullptr, 1},     {"cat /sys/state", nullptr, 1},
        {"cat /sys/state", "3,1,0,152\n", 2}, {"cat /sys/state", nullptr, 2},
        // In a pipeline each command is its own poll: the cat's answer is the one before.
        {"cat /sys/state | grep 3", nullptr, 3}, {"cat /sys/state | grep 3", nullptr, 3},
        {"cat /sys/state > /tmp/copy", nullptr, 4}, {"cat /sys/state > /tmp/copy", nullptr, 5},
        {"cp /sys/state /tmp/copy", nullptr, 6},    {"cp /sys/state /tmp/copy", nullptr, 7},
        {"cat /sys/state", "0,0,0,0\n", 8},
    };
    for (const auto& step : steps) {
        if (step.state != nullptr) root.Write("/sys/state", step.state);
        FILE* stream = plat::Popen(step.command, "r");
        ASSERT_NE(stream, nullptr);
        plat::Pclose(stream);
        EXPECT_EQ(lines(), step.logged) << step.command << "\n" << root.Read("/var/log/commands.log");
    }
}

TEST(Sandbox, DeeplyNestedSubstitutionsAreRefused) {
    testsupport::TempRoot root;
    // Each level of $( ) runs a command line of its own: deep nesting must end in a refusal, not
    // in the end of the stack.
    std::string line = "echo ";
    for (int i = 0; i < 20000; ++i)
        line += "$(echo ";
    line += "x" + std::string(20000, ')');
    EXPECT_EQ(Capture("2>/dev/null " + line).out, "\n");
    EXPECT_NE(root.Read("/var/log/commands.log").find("substitutions nested too deeply"), std::string::npos);
}

}  // namespace
