#include "platform/sandbox/sandbox_parse.h"

#include <gtest/gtest.h>

namespace {

using plat::sandbox::Connector;
using plat::sandbox::ParseCommandLine;
using plat::sandbox::Pipeline;
using plat::sandbox::RedirectKind;

// A compact picture of a parse: pipelines separated by " ; ", " && ", " || " (a trailing " &" for a
// background one), stages by " | ", words in [], redirections as >file, >>file, 2>file, 2>>file, 2>&1.
std::string Picture(const std::vector<Pipeline>& pipelines) {
    static const char* const kRedirect[] = {">", ">>", "2>", "2>>", "2>&1"};
    std::string text;
    for (size_t p = 0; p < pipelines.size(); ++p) {
        const Pipeline& pipeline = pipelines[p];
        if (p > 0)
            text += pipeline.connector == Connector::kIfSuccess   ? " && "
                    : pipeline.connector == Connector::kIfFailure ? " || "
                                                                  : " ; ";
        for (size_t s = 0; s < pipeline.stages.size(); ++s) {
            if (s > 0) text += " | ";
            for (const auto& word : pipeline.stages[s].words)
                text += "[" + word.text + (word.glob ? "]*" : "]");
            for (const auto& r : pipeline.stages[s].redirects)
                text += std::string(kRedirect[static_cast<int>(r.kind)]) + r.target;
        }
        if (pipeline.background) text += " &";
    }
    return text;
}

// Substitutions answer with their own text in capitals, so the tests see where they went.
std::string Shout(const std::string& line) {
    std::string out;
    for (char c : line)
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out + "\n";
}

TEST(SandboxParse, CommandLines) {
    const std::pair<const char*, const char*> cases[] = {
        {"ifconfig eth0 down", "[ifconfig][eth0][down]"},
        {"", ""},
        {"echo 'a  b' \"c $ d\" e\\ f", "[echo][a  b][c $ d][e f]"},
        {"echo \"say \\\"hi\\\"\" ''", "[echo][say \"hi\"][]"},
        {"echo 1>>/tmp/x", "[echo]>>/tmp/x"},
        {"cat f 2>>/tmp/e 2>&1", "[cat][f]2>>/tmp/e2>&1"},
        {"a; b && c || d", "[a] ; [b] && [c] || [d]"},
        {"rm -rf /mnt/disk/httpd/*", "[rm][-rf][/mnt/disk/httpd/*]*"},
        {"ls '*' \\?", "[ls][*][?]"},
        {"kill $(pgrep udhcpc)", "[kill][PGREP][UDHCPC]"},
        {"echo \"$(pgrep a)\"", "[echo][PGREP A]"},
        {"echo x$(echo y)z", "[echo][xECHO][Yz]"},
        {"echo $(echo \"(a)\")", "[echo][ECHO][\"(A)\"]"},
    };
    for (const auto& [line, picture] : cases) {
        std::vector<Pipeline> pipelines;
        std::string error;
        ASSERT_TRUE(ParseCommandLine(line, Shout, &pipelines, &error)) << line << ": " << error;
        EXPECT_EQ(Picture(pipelines), picture) << line;
    }
    for (const char* line : {"echo 'open", "echo \"open", "echo $(open", "cat < /etc/passwd", "echo `id`",
                             "| grep x", "a |", "a &&", "&& b", "echo >", "echo > | x"}) {
        std::vector<Pipeline> pipelines;
        std::string error;
        EXPECT_FALSE(ParseCommandLine(line, Shout, &pipelines, &error)) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
}

}  // namespace
