// The update package from USB memory unpacked into /tmp: crafted archives whose names the unpacking tar
// reads otherwise than a naive check would are refused before anything is written.
#include "sysadmin/firmware/pkg_unpack.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "core/system/links/usb_state.h"
#include "tests/sysadmin/sandbox_log_fixture.h"
#include "tests/sysadmin/tar_fixture.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::string;

const Bytes kUstar(kUstarMagic, 8);
const Bytes kOldGnu(kOldGnuMagic, 8);

class PkgUnpackTest : public StickTest {
  protected:
    // Every file of the root by its instrument path with its content, leaving out the command log and
    // the package itself.
    std::map<Bytes, Bytes> Files() const {
        std::map<Bytes, Bytes> files;
        for (const auto& entry : fs::recursive_directory_iterator(root.path())) {
            const Bytes path = "/" + fs::relative(entry.path(), root.path()).string();
            if (path.rfind("/var/log/commands.log", 0) == 0 || path == "/mnt/sd1/qx/qx.sb6") continue;
            // The memory and display images are large: their size and time stand for them.
            const auto time = entry.last_write_time().time_since_epoch().count();
            files[path] = !entry.is_regular_file()   ? Bytes("<folder>")
                          : entry.file_size() > 65536 ? std::to_string(entry.file_size()) + "@" + std::to_string(time)
                                                      : root.Read(path);
        }
        return files;
    }
};

TEST_F(PkgUnpackTest, ArchivesWhoseNamesTarReadsOutsideTheBrandFolderAreRefusedWithNothingWritten) {
    const Bytes kernel = TarMember("qx/merge_vrn/zImage", '0', "kernel");
    const Bytes evil = TarMember("netconf", '0', "evil");
    const struct {
        const char* what;
        Bytes tar;
    } cases[] = {
        // tar ignores the prefix of an old GNU header: "qx" + "netconf" is /tmp/netconf.
        {"old GNU prefix", TarMemberRaw("netconf", '0', "evil", kOldGnu, "qx", 4)},
        {"old GNU prefix, absolute name", TarMemberRaw("/etc/evil", '0', "evil", kOldGnu, "qx", 4)},
        {"old GNU prefix after a sound member", kernel + TarMemberRaw("netconf", '0', "evil", kOldGnu, "qx", 4)},
        // Neither POSIX nor old GNU ("ustar " and another version): the name alone counts.
        {"odd magic with prefix", TarMemberRaw("netconf", '0', "evil", Bytes("ustar xx", 8), "qx", 4)},
        {"no magic with prefix", TarMemberRaw("netconf", '0', "evil", Bytes(8, '\0'), "qx", 4)},
        // tar reads the block after a folder's header as a header, whatever size it states.
        {"folder with data", TarMemberRaw("qx/d", '5', evil, kUstar, "", evil.size()) + kernel},
        {"file named as a folder with data", TarMemberRaw("qx/d/", '0', evil, kUstar, "", evil.size()) + kernel},
        {"old GNU folder with data", TarMemberRaw("qx/d", '5', evil, kOldGnu, "", evil.size()) + kernel},
        // Headers that rename the member after them.
        {"GNU long name", TarMember("././@LongLink", 'L', Bytes("netconf\0", 8)) + kernel},
        {"pax path", TarMember("qx/PaxHeaders/zImage", 'x', "16 path=netconf\n") + kernel},
    };
    root.Write("/tmp/netconf", "IPADDR=172.16.28.120\n");
    root.Write("/tmp/qx/old", "an earlier package");
    root.Write("/mnt/sd1/qx/qx.sb6", "");
    const auto before = Files();
    for (const auto& c : cases) {
        root.Write("/mnt/sd1/qx/qx.sb6", UpdatePackage(Tar(c.tar)));
        const size_t unpacks = Matching("tar -xf").size();
        EXPECT_EQ(PkgUnpack("qx"), -105) << c.what;
        EXPECT_EQ(Matching("tar -xf").size(), unpacks) << c.what;
        EXPECT_EQ(Files(), before) << c.what;
    }

    // What tar does put below the brand folder passes: a POSIX prefix whatever its version bytes, an
    // old GNU name, an empty folder.
    root.Write("/mnt/sd1/qx/qx.sb6",
               UpdatePackage(Tar(TarMemberRaw("merge_vrn/zImage", '0', "kernel", kUstar, "qx", 6) +
                                 TarMemberRaw("b", '0', "B", Bytes("ustar\0  ", 8), "qx", 1) +
                                 TarMemberRaw("qx/c", '0', "C", kOldGnu, "", 1) +
                                 TarMemberRaw("qx/d/", '5', "", kOldGnu, "", 0))));
    EXPECT_EQ(PkgUnpack("qx"), 0);
    EXPECT_EQ(root.Read("/tmp/qx/merge_vrn/zImage"), "kernel");
    EXPECT_EQ(root.Read("/tmp/qx/b"), "B");
    EXPECT_EQ(root.Read("/tmp/qx/c"), "C");
    EXPECT_TRUE(fs::is_directory(root.path() + "/tmp/qx/d"));
    EXPECT_EQ(root.Read("/tmp/qx/old"), "");  // the earlier package's files are gone
    EXPECT_EQ(root.Read("/tmp/netconf"), "IPADDR=172.16.28.120\n");
    EXPECT_EQ(root.Read("/tmp/qx.tar"), "");
}

// An archive that does not reach the disk whole (the file system refuses bytes past 64 KB in this child)
// is a short write, -104: nothing of it is left and tar never runs.
TEST_F(PkgUnpackTest, ArchiveCutShortByAFullDiskIsAShortWrite) {
    root.Write("/mnt/sd1/qx/qx.sb6",
               UpdatePackage(Tar(TarMember("qx/merge_vrn/zImage", '0', std::string(200000, 'k')))));
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(-PkgUnpack("qx"));
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 104);
    EXPECT_FALSE(fs::exists(root.path() + "/tmp/qx.tar"));
    EXPECT_TRUE(Matching("tar -xf").empty());
    // With room on the disk the same package unpacks.
    EXPECT_EQ(PkgUnpack("qx"), 0);
    EXPECT_EQ(root.Read("/tmp/qx/merge_vrn/zImage"), std::string(200000, 'k'));
}

}  // namespace
