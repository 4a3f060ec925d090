#pragma once
// A fresh instrument root for one test: made in the temporary folder, prepared like a first start,
// set as the process's root and port offset, and removed again at the end of the test.
#include <string>
#include <string_view>

#include "platform/host/options.h"

namespace testsupport {

// A port offset of this test process, so that test programs running side by side listen on
// different ports (steps of 13 keep the instrument's own port numbers from meeting).
int TestPortOffset();
// Makes a fresh folder "<$TMPDIR or /tmp>/<prefix>XXXXXX"; "" (and a test failure) when it cannot.
std::string MakeTempFolder(const std::string& prefix);

class TempRoot {
  public:
    TempRoot();
    ~TempRoot();
    TempRoot(const TempRoot&) = delete;
    TempRoot& operator=(const TempRoot&) = delete;

    const std::string& path() const { return path_; }

    // Reads or writes a file by its instrument path ("/mnt/tst/seq/SEQ1.SEQ"); Read gives "" for a
    // missing file.
    std::string Read(std::string_view instrumentPath) const;
    void Write(std::string_view instrumentPath, std::string_view content) const;

  private:
    std::string path_;
    std::string previousRoot_;
    plat::Options previousOptions_;
};

}  // namespace testsupport
