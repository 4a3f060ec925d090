#include "tests/support/temp_root.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/host/root.h"
#include "platform/host/root_provision.h"
#include "tests/support/tcp_client.h"

namespace testsupport {
namespace fs = std::filesystem;

namespace {

// The instrument's listening ports, moved by the offset.
constexpr int kInstrumentPorts[] = {80, 81, 502, 5025, 5030};

bool PortFree(int port) {
    const int fd = Listener(port);
    if (fd >= 0) close(fd);
    return fd >= 0;
}

}  // namespace

// Offsets 10000 + 13k keep every port below the host's ephemeral range (32768 up), and their step keeps
// the five ports of one offset off those of another; the first offset from the process id whose ports are
// all free is taken, so a test does not land on ports another test program already listens on. It is
// chosen once: every controller of one test program uses the same ports.
int TestPortOffset() {
    static const int offset = [] {
        constexpr int kSlots = 1300;
        for (int i = 0; i < kSlots; ++i) {
            const int candidate = 10000 + 13 * ((getpid() + i) % kSlots);
            bool free = true;
            for (int port : kInstrumentPorts)
                free = free && PortFree(port + candidate);
            if (free) return candidate;
        }
        return 10000 + 13 * (getpid() % kSlots);
    }();
    return offset;
}

std::string MakeTempFolder(const std::string& prefix) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/" + prefix + "XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) return pattern;
    ADD_FAILURE() << "cannot make a temporary folder " << pattern;
    return "";
}

TempRoot::TempRoot() : previousRoot_(plat::Root()), previousOptions_(plat::GetOptions()) {
    path_ = MakeTempFolder("vrn-root-");
    if (path_.empty()) return;
    plat::SetRoot(path_);
    plat::Options options = previousOptions_;
    options.root = path_;
    options.portOffset = TestPortOffset();
    plat::SetOptions(options);
    if (plat::PrepareRoot() != 0) ADD_FAILURE() << "cannot prepare the instrument root " << path_;
}

TempRoot::~TempRoot() {
    plat::SetRoot(previousRoot_);
    plat::SetOptions(previousOptions_);
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
}

std::string TempRoot::Read(std::string_view instrumentPath) const {
    std::ifstream file(plat::MapPath(instrumentPath), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void TempRoot::Write(std::string_view instrumentPath, std::string_view content) const {
    std::string host = plat::MapPath(instrumentPath);
    fs::create_directories(fs::path(host).parent_path());
    std::ofstream file(host, std::ios::binary | std::ios::trunc);
    file.write(content.data(), static_cast<std::streamsize>(content.size()));
}

}  // namespace testsupport
