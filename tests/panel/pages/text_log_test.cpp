// The text log is kept like every log of the controller: a line that would take it past the limit first
// moves it to "<file>.1", so that a panel left running keeps at most two files of the limit's size.
#include "panel/pages/text_log.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/host/log_file.h"
#include "tests/support/temp_root.h"

namespace {

std::string Text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

TEST(TextLog, TurnsOverAtTheLogLimit) {
    const std::string log = testsupport::MakeTempFolder("text-log") + "/gui-text.log";
    const std::string full = std::string(static_cast<size_t>(plat::LogLimitBytes()) - 8, 'x') + "\n";
    std::ofstream(log, std::ios::binary) << full;

    ASSERT_EQ(TextLog_Start(log), 0);
    TextLog_CharsDrawn("L1\\Set\n", 10, 20);
    TextLog_Stop();
    EXPECT_EQ(Text(log + ".1"), full);
    const std::string line = Text(log);
    EXPECT_EQ(line.find('\n'), line.size() - 1) << line;  // one line, the new one
    EXPECT_TRUE(line.ends_with(" L1\\\\Set\\n\n")) << line;
}

}  // namespace
