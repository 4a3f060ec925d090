#include "platform/sandbox.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "platform/root.h"
#include "tests/platform/sandbox_fixture.h"
#include "tests/support/temp_root.h"

namespace {
namespace fs = std::filesystem;
using sandboxtest::Capture;

std::string LogOf(const testsupport::TempRoot& root) {
    return root.Read("/var/log/commands.log");
}

TEST(Sandbox, SystemToolsAreRecordedNeverRun) {
    testsupport::TempRoot root;
    char hostName[256] = {};
    gethostname(hostName, sizeof hostName);
    root.Write("/dev/sda1", "");
    const char* commands[] = {
        "ifconfig eth0 10.1.2.3 netmask 255.255.255.0 up",
        "route add default gw 10.1.2.1 eth0",
        "hostname V-probe",
        "mount -t vfat /dev/sda1 /mnt/sd1\n",
        "insmod /mnt/disk/drivers/usb/libcomposite.ko",
        "kill 1",
        "killall boa",
        "flash_eraseall /dev/mtd9",
        "reboot",
    };
    for (const char* command : commands)
        EXPECT_EQ(plat::System(command), 0) << command;

    std::string log = LogOf(root);
    for (const char* line :
         {"simulated 0 ifconfig eth0 10.1.2.3 netmask 255.255.255.0 up",
          "simulated 0 mount -t vfat /dev/sda1 /mnt/sd1", "simulated 0 kill 1",
          "simulated 0 insmod /mnt/disk/drivers/usb/libcomposite.ko", "simulated 0 reboot"})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    std::string state = root.Read("/var/lib/sandbox/state");
    EXPECT_NE(state.find("mount./mnt/sd1=/dev/sda1 vfat"), std::string::npos) << state;
    EXPECT_NE(state.find("module.libcomposite=/mnt/disk/drivers/usb/libcomposite.ko"), std::string::npos);
    EXPECT_NE(state.find("reboot="), std::string::npos);
    // Nothing happened to the host: its name is unchanged and this process (and pid 1) still run.
    char after[256] = {};
    gethostname(after, sizeof after);
    EXPECT_STREQ(after, hostName);
}

TEST(Sandbox, SimulatedStateUndoes) {
    testsupport::TempRoot root;
    EXPECT_EQ(plat::System("umount /mnt/sd1 2>/dev/null"), 32);                   // nothing mounted yet
    EXPECT_EQ(plat::System("mount -t vfat /dev/sda1 /mnt/sd1 2>/dev/null"), 32);  // no stick
    root.Write("/dev/sda1", "");
    EXPECT_EQ(plat::System("mount -t vfat /dev/sda1 /mnt/sd1"), 0);
    EXPECT_EQ(plat::System("umount /dev/sda1"), 0);
    // A device named by a relative path is looked for in the root, never in the host's folders.
    EXPECT_EQ(plat::System("mount -t vfat ../../../../../../../../../../dev/null /mnt/sd1 2>/dev/null"), 127);
    EXPECT_EQ(plat::System("insmod /mnt/disk/qx_gpib.ko"), 0);
    EXPECT_EQ(plat::System("rmmod qx_gpib"), 0);
    EXPECT_EQ(plat::System("rmmod qx_gpib 2>/dev/null"), 1);
    std::string state = root.Read("/var/lib/sandbox/state");
    EXPECT_EQ(state.find("mount."), std::string::npos) << state;
    EXPECT_EQ(state.find("module."), std::string::npos) << state;
}

TEST(Sandbox, BootLoaderEnvironment) {
    testsupport::TempRoot root;
    auto missing = Capture("fw_printenv upg_ver 2>/dev/null");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(plat::System("fw_setenv upg_ver 0x261"), 0);
    auto set = Capture("fw_printenv upg_ver");
    EXPECT_EQ(set.status, 0);
    EXPECT_EQ(set.out, "upg_ver=0x261\n");
    EXPECT_EQ(plat::System("fw_setenv upg_ver"), 0);
    EXPECT_EQ(Capture("fw_printenv").out, "");
}

TEST(Sandbox, RefusesPathsOutsideTheRoot) {
    testsupport::TempRoot root;
    root.Write("/mnt/disk/a", "secret");
    // A name next to the root, unique to this root, that must never be created.
    std::string escape = fs::path(root.path()).filename().string() + "-escape";
    std::string outside = fs::path(root.path()).parent_path() / escape;
    fs::create_directory_symlink(fs::path(root.path()).parent_path(), plat::MapPath("/mnt/disk/link"));
    const std::string commands[] = {
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
        "cat ../../../../../../../../../etc/passwd",
        "rm -rf /",
        "rm -rf ..",
    };
    for (const std::string& command : commands) {
        auto result = Capture("2>/dev/null " + command);
        EXPECT_EQ(result.status, 127) << command;
        EXPECT_EQ(result.out, "") << command;
        EXPECT_FALSE(fs::exists(outside)) << command;
    }
    EXPECT_EQ(root.Read("/mnt/disk/a"), "secret");
    EXPECT_TRUE(root.Exists("/mnt/tst/seq"));
    std::string log = LogOf(root);
    EXPECT_NE(log.find("refused 127 cp /mnt/disk/a ../" + escape + " 2> /dev/null -- cp: ../" + escape +
                       ": outside the instrument root"),
              std::string::npos)
        << log;
}

TEST(Sandbox, RefusesUnknownCommands) {
    testsupport::TempRoot root;
    EXPECT_EQ(plat::System("wget http://example.com/x 2>/dev/null"), 127);
    auto result = Capture("/mnt/disk/app/qx_jtag -aprogram /mnt/disk/app/a.jam 2>/dev/null");
    EXPECT_EQ(result.status, 127);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(Capture("sh -c 'echo hi' 2>/dev/null").status, 127);
    EXPECT_EQ(Capture("echo `id` 2>/dev/null").status, 127);
    std::string log = LogOf(root);
    EXPECT_NE(log.find("refused 127 wget http://example.com/x 2> /dev/null -- wget: not available"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("refused 127 sh -c 'echo hi'"), std::string::npos) << log;
    EXPECT_EQ(plat::Popen("sync", "w"), nullptr);
}

TEST(Sandbox, EchoWritesRootedFiles) {
    testsupport::TempRoot root;
    EXPECT_EQ(plat::System("echo 0 > /sys/class/leds/gpib_rst/brightness"), 0);
    EXPECT_EQ(root.Read("/sys/class/leds/gpib_rst/brightness"), "0\n");
    EXPECT_EQ(plat::System("echo out > /sys/class/gpio/gpio96/direction"), 0);
    EXPECT_EQ(root.Read("/sys/class/gpio/gpio96/direction"), "out\n");
    EXPECT_EQ(plat::System("echo a >> /tmp/x; echo b c >> /tmp/x"), 0);
    EXPECT_EQ(root.Read("/tmp/x"), "a\nb c\n");
    // The shell opens the target before the command runs: an empty output still makes the file.
    EXPECT_EQ(plat::System("udhcpc -bR -p /var/run/udhcpc.eth0.pid -i eth0 > /tmp/udhcpc.info"), 0);
    EXPECT_TRUE(root.Exists("/tmp/udhcpc.info"));
    EXPECT_EQ(plat::System("echo x > /no/such/folder/f 2>/dev/null"), 1);
}

TEST(Sandbox, FileTools) {
    testsupport::TempRoot root;
    root.Write("/mnt/tst/seq/SEQ9.SEQ", "sequence");
    EXPECT_EQ(plat::System("cp /mnt/tst/seq/SEQ9.SEQ /mnt/tst/seq/SEQ9_tmp.SEQ"), 0);
    EXPECT_EQ(root.Read("/mnt/tst/seq/SEQ9_tmp.SEQ"), "sequence");
    EXPECT_EQ(plat::System("cp /mnt/tst/seq/SEQ9.SEQ /tmp/"), 0);  // into a folder
    EXPECT_EQ(root.Read("/tmp/SEQ9.SEQ"), "sequence");
    EXPECT_EQ(plat::System("cp /mnt/tst/seq/none /tmp/ 2>/dev/null"), 1);
    EXPECT_EQ(plat::System("rm /mnt/tst/seq/SEQ9_tmp.SEQ"), 0);
    EXPECT_FALSE(root.Exists("/mnt/tst/seq/SEQ9_tmp.SEQ"));
    EXPECT_EQ(plat::System("rm /mnt/tst/seq/SEQ9_tmp.SEQ 2>/dev/null"), 1);
    EXPECT_EQ(plat::System("rm -f /mnt/tst/seq/SEQ9_tmp.SEQ"), 0);

    EXPECT_EQ(plat::System("mkdir /mnt/disk/Update_C2000\n"), 0);
    EXPECT_EQ(plat::System("mkdir /mnt/disk/Update_C2000 2>/dev/null"), 1);
    EXPECT_EQ(plat::System("mkdir -p /tmp/httpd/images /tmp/httpd/js"), 0);
    root.Write("/tmp/httpd/index.html", "<html>");
    root.Write("/tmp/httpd/images/logo.png", "png");
    EXPECT_EQ(plat::System("cp /tmp/httpd /mnt/disk 2>/dev/null"), 1);  // a folder needs -r
    EXPECT_EQ(plat::System("cp -r /tmp/httpd /mnt/disk"), 0);
    EXPECT_EQ(root.Read("/mnt/disk/httpd/images/logo.png"), "png");
    EXPECT_EQ(plat::System("rm -r /tmp/httpd"), 0);
    EXPECT_FALSE(root.Exists("/tmp/httpd"));
    EXPECT_EQ(plat::System("rm -rf /mnt/disk/httpd/*"), 0);
    EXPECT_TRUE(fs::is_empty(plat::MapPath("/mnt/disk/httpd")));
    EXPECT_EQ(plat::System("rm -r /mnt/disk/Update_C2000\n"), 0);

    EXPECT_EQ(plat::System("mv /tmp/SEQ9.SEQ /mnt/tst/seq/SEQ3.SEQ"), 0);
    EXPECT_EQ(root.Read("/mnt/tst/seq/SEQ3.SEQ"), "sequence");
    EXPECT_FALSE(root.Exists("/tmp/SEQ9.SEQ"));
    // Relative paths start at the root.
    EXPECT_EQ(plat::System("cp mnt/tst/seq/SEQ3.SEQ tmp/rel"), 0);
    EXPECT_EQ(root.Read("/tmp/rel"), "sequence");
    EXPECT_EQ(plat::System("sync"), 0);
}

TEST(Sandbox, Md5sumNamesTheInstrumentPath) {
    testsupport::TempRoot root;
    root.Write("/tmp/VRN4100_temp", "abc");
    root.Write("/tmp/empty", "");
    auto result = Capture("md5sum /tmp/VRN4100_temp /tmp/empty");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              "900150983cd24fb0d6963f7d28e17f72  /tmp/VRN4100_temp\n"
              "d41d8cd98f00b204e9800998ecf8427e  /tmp/empty\n");
    auto missing = Capture("md5sum /mnt/sd1/qx/none 2>/dev/null");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
}

TEST(Sandbox, DdCopiesBetweenFiles) {
    testsupport::TempRoot root;
    root.Write("/mnt/disk/app/image/qx_logo.bmp", std::string(3000, 'L'));
    root.Write("/dev/mtdblock9", std::string(5000, 'X'));
    EXPECT_EQ(plat::System("dd if=/mnt/disk/app/image/qx_logo.bmp of=/dev/mtdblock9 bs=1024"), 0);
    EXPECT_EQ(root.Read("/dev/mtdblock9"), std::string(3000, 'L'));
    EXPECT_EQ(plat::System("dd if=/mnt/disk/app/image/qx_logo.bmp of=/tmp/part bs=1k count=2"), 0);
    EXPECT_EQ(root.Read("/tmp/part").size(), 2048u);
    EXPECT_EQ(plat::System("dd if=/mnt/disk/none of=/tmp/part 2>/dev/null"), 1);
    EXPECT_EQ(plat::System("dd if=/tmp/part of=/tmp/x bs=zero 2>/dev/null"), 1);
}

TEST(Sandbox, TarCreatesAndExtractsInsideTheRoot) {
    testsupport::TempRoot root;
    root.Write("/tmp/httpd/index.html", "<html>");
    root.Write("/tmp/httpd/images/logo.png", "png");
    EXPECT_EQ(plat::System("tar -czf /mnt/sd1/httpd.tar.gz -C /tmp httpd"), 0);
    EXPECT_EQ(plat::System("rm -r /tmp/httpd"), 0);
    auto listing = Capture("tar -xzvf /mnt/sd1/httpd.tar.gz -C /mnt/disk/");
    EXPECT_EQ(listing.status, 0);
    EXPECT_NE(listing.out.find("httpd/images/logo.png"), std::string::npos) << listing.out;
    EXPECT_EQ(root.Read("/mnt/disk/httpd/images/logo.png"), "png");
    // Absolute members are stored relative to "/" and land under the folder they are extracted to.
    EXPECT_EQ(plat::System("tar cf /tmp/abs.tar /mnt/disk/httpd/index.html"), 0);
    EXPECT_EQ(plat::System("tar -xf /tmp/abs.tar -C /tmp"), 0);
    EXPECT_EQ(root.Read("/tmp/mnt/disk/httpd/index.html"), "<html>");
    // Options that could run programs or reach other files are refused.
    for (const char* command : {"tar -xf /tmp/abs.tar --to-command=sh", "tar -xf /tmp/abs.tar -I sh",
                                "tar -xf /tmp/abs.tar -T /tmp/list", "tar -x -f -"})
        EXPECT_EQ(plat::System((std::string(command) + " 2>/dev/null").c_str()), 127) << command;
}

TEST(Sandbox, TarNeverLeavesALinkOutOfTheRoot) {
    testsupport::TempRoot root;
    fs::create_directories(plat::MapPath("/tmp/pack"));
    fs::create_directory_symlink("/etc", plat::MapPath("/tmp/pack/etc"));
    fs::create_symlink("index.html", plat::MapPath("/tmp/pack/home"));
    ASSERT_EQ(plat::System("tar -cf /tmp/links.tar -C /tmp pack"), 0);
    fs::remove_all(plat::MapPath("/tmp/pack"));
    EXPECT_EQ(plat::System("tar -xf /tmp/links.tar -C /mnt/disk 2>/dev/null"), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(plat::MapPath("/mnt/disk/pack/etc"))));
    EXPECT_TRUE(fs::is_symlink(plat::MapPath("/mnt/disk/pack/home")));
}

TEST(Sandbox, NoWriteThroughALinkToAMissingOutsideFile) {
    testsupport::TempRoot root;
    // A folder outside the root that exists; the link names a file in it that does not yet.
    const std::string outsideDir = root.path() + "-outside";
    fs::create_directories(outsideDir);
    const std::string outside = outsideDir + "/made";
    fs::create_directories(plat::MapPath("/tmp/pack"));
    fs::create_symlink(outside, plat::MapPath("/tmp/pack/made"));
    ASSERT_EQ(plat::System("tar -cf /tmp/links.tar -C /tmp pack"), 0);
    // The same link as an archive brings it in, and as it was put there by hand.
    EXPECT_EQ(plat::System("tar -xf /tmp/links.tar -C /mnt/disk 2>/dev/null"), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(plat::MapPath("/mnt/disk/pack/made"))));
    for (const char* command :
         {"echo x > /tmp/pack/made", "echo x >> /tmp/pack/made", "cp /etc/../tmp/links.tar /tmp/pack/made",
          "dd if=/tmp/links.tar of=/tmp/pack/made", "mkdir -p /tmp/pack/made"}) {
        EXPECT_EQ(plat::System((std::string(command) + " 2>/dev/null").c_str()), 127) << command;
        EXPECT_FALSE(fs::exists(outside)) << command;
    }
    fs::remove_all(outsideDir);
}

TEST(Sandbox, PipesSequencesAndSubstitutions) {
    testsupport::TempRoot root;
    root.Write("/etc/resolv.conf", "search lan\nnameserver 10.0.0.1\n");
    auto grep = Capture("cat /etc/resolv.conf | grep 'nameserver'");
    EXPECT_EQ(grep.status, 0);
    EXPECT_EQ(grep.out, "nameserver 10.0.0.1\n");
    EXPECT_EQ(Capture("cat /etc/resolv.conf | grep 'gateway'").status, 1);
    EXPECT_EQ(Capture("grep n.meserver /etc/resolv.conf").out, "nameserver 10.0.0.1\n");

    EXPECT_EQ(Capture("rm /tmp/none 2>/dev/null && echo yes || echo no").out, "no\n");
    EXPECT_EQ(Capture("sync && echo yes || echo no").out, "yes\n");
    EXPECT_EQ(Capture("rm /tmp/none 2>/dev/null; echo after").status, 0);

    EXPECT_EQ(plat::System("echo $(cat /sys/class/net/eth0/operstate) > /tmp/state"), 0);
    EXPECT_EQ(root.Read("/tmp/state"), "up\n");
    auto both = Capture("cat /tmp/none 2>&1");
    EXPECT_EQ(both.status, 1);
    EXPECT_NE(both.out.find("No such file"), std::string::npos);
    EXPECT_EQ(Capture("echo a & echo b").out, "a\nb\n");
}

TEST(Sandbox, GlobsExpandInsideTheRoot) {
    testsupport::TempRoot root;
    root.Write("/mnt/tst/seq/SEQ1.SEQ", "1");
    root.Write("/mnt/tst/seq/SEQ2.SEQ", "2");
    root.Write("/mnt/tst/seq/notes", "n");
    EXPECT_EQ(Capture("cat /mnt/tst/seq/SEQ*.SEQ").out, "12");
    EXPECT_EQ(Capture("cat mnt/tst/seq/SEQ?.SEQ").out, "12");
    EXPECT_EQ(Capture("echo /mnt/tst/seq/*.SEQ").out, "/mnt/tst/seq/SEQ1.SEQ /mnt/tst/seq/SEQ2.SEQ\n");
    EXPECT_EQ(Capture("echo '/mnt/tst/seq/*.SEQ'").out, "/mnt/tst/seq/*.SEQ\n");
    EXPECT_EQ(Capture("echo /etc/pass*").out, "/etc/pass*\n");  // the host's /etc is not looked at
}

TEST(Sandbox, EveryCommandIsLoggedOnOneLine) {
    testsupport::TempRoot root;
    plat::System("rm /tmp/VRN4100_temp\n sync\n");
    plat::System("wget x 2>/dev/null");
    std::string log = LogOf(root);
    EXPECT_NE(log.find(" ran 1 rm /tmp/VRN4100_temp -- rm: cannot remove"), std::string::npos) << log;
    EXPECT_NE(log.find(" ran 0 sync\n"), std::string::npos) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3);
}

TEST(Sandbox, CommandsFromManyThreads) {
    testsupport::TempRoot root;
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
    std::string log = LogOf(root);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), kThreads * kRuns * 3);
    auto env = Capture("fw_printenv");
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(root.Read("/tmp/t" + std::to_string(t)).size(), kRuns * 2u);
        EXPECT_NE(env.out.find("v" + std::to_string(t) + "=" + std::to_string(kRuns - 1)), std::string::npos);
    }
}

TEST(Sandbox, DeeplyNestedSubstitutionsAreRefused) {
    testsupport::TempRoot root;
    // Each level of $( ) runs a command line of its own: deep nesting must end in a refusal, not
    // in the end of the stack.
    std::string line = "echo ";
    for (int i = 0; i < 20000; ++i)
        line += "$(echo ";
    line += "x";
    line += std::string(20000, ')');
    auto result = Capture("2>/dev/null " + line);
    EXPECT_EQ(result.out, "\n");
    EXPECT_NE(LogOf(root).find("substitutions nested too deeply"), std::string::npos);
    EXPECT_EQ(Capture("echo $(echo $(echo deep))").out, "deep\n");
}

}  // namespace

TEST(Sandbox, SystemInformationHasTheBoardsFixedAnswers) {
    testsupport::TempRoot root;
    struct Case {
        const char* command;
        int status;
        const char* out;
    };
    const Case cases[] = {
        {"uname -s", 0, "Linux\n"},
        {"uname -v", 0, "#1 Thu Mar 16 10:32:51 CST 2023\n"},
        {"ls /lib/modules/", 0, "4.14.108-qx\n"},
        {"strings /dev/mtd5 | grep \"U-Boot 2014.07-00001-g4a8e5b89e5-dirty\"", 0,
         "U-Boot 2014.07-00001-g4a8e5b89e5-dirty (Mar 07 2023 - 15:12:33)\n"},
        {"uname -x 2>/dev/null", 1, ""},
        {"ls /mnt 2>/dev/null", 2, ""},
    };
    for (const Case& c : cases) {
        auto r = Capture(c.command);
        EXPECT_EQ(r.status, c.status) << c.command;
        EXPECT_EQ(r.out, c.out) << c.command;
    }
}

TEST(Sandbox, KillEndsOnlyASimulatedProcess) {
    testsupport::TempRoot root;
    EXPECT_EQ(Capture("pgrep boa").out, "612\n");
    EXPECT_EQ(Capture("pgrep udhcpc").status, 1);
    const std::string self = std::to_string(getpid());
    EXPECT_EQ(plat::System(("kill " + self).c_str()), 0);  // recorded, this process lives on
    EXPECT_EQ(Capture("pgrep boa").out, "612\n");
    EXPECT_EQ(plat::System("kill 612"), 0);
    auto gone = Capture("pgrep boa");
    EXPECT_EQ(gone.status, 1);
    EXPECT_EQ(gone.out, "");
    EXPECT_NE(LogOf(root).find("simulated 0 kill 612"), std::string::npos);
}
