#include "tests/support/temp_root.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/root.h"

namespace testsupport {
namespace fs = std::filesystem;

int TestPortOffset() {
    return 20000 + 13 * (getpid() % 3000);
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
