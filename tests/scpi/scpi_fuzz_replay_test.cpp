// The fuzz target's harness in the ordinary suite: the seed messages and a fixed sequence of
// mutations of them go through the channel with its invariants checked (under the sanitizers in CI).
#include <dirent.h>
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/scpi/scpi_channel_fixture.h"

namespace {

std::vector<std::string> Seeds() {
    std::vector<std::string> seeds;
    const std::string dir = std::string(VRN_SOURCE_DIR) + "/tests/scpi/fuzz/seeds";
    DIR* d = opendir(dir.c_str());
    if (d == nullptr) return seeds;
    while (dirent* e = readdir(d)) {
        if (e->d_name[0] == '.') continue;
        std::ifstream in(dir + "/" + e->d_name, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        seeds.push_back(ss.str());
    }
    closedir(d);
    return seeds;
}

void FeedOne(const std::string& s) {
    scpitest::FuzzOneInput(reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

TEST(FuzzReplay, SeedsAndMutationsKeepTheParserSound) {
    std::vector<std::string> seeds = Seeds();
    ASSERT_GE(seeds.size(), 5u);
    const char* pieces[] = {":",          ";",   "?",  ",", "\n",   " ",    "#",
                            "#9",         "#15", "#0", "'", "\"",   "(",    "*",
                            "E",          "E+",  ".",  "-", "VOLT", "SOUR", "DATA:WAVE ARB1,",
                            "99999999999"};
    std::mt19937 rng(12345);
    for (const std::string& s : seeds)
        FeedOne(s);
    for (int i = 0; i < 20000; ++i) {
        std::string s = seeds[rng() % seeds.size()];
        int edits = 1 + static_cast<int>(rng() % 8);
        for (int k = 0; k < edits && !s.empty(); ++k) {
            size_t pos = 1 + rng() % s.size();
            switch (rng() % 4) {
                case 0:
                    s.insert(std::min(pos, s.size()), pieces[rng() % std::size(pieces)]);
                    break;
                case 1:
                    s.erase(pos - 1, 1 + rng() % 4);
                    break;
                case 2:
                    s[pos - 1] = static_cast<char>(rng() % 256);
                    break;
                default:
                    s += s.substr(rng() % s.size());
                    break;
            }
        }
        FeedOne(s);
    }
    SUCCEED();
}

}  // namespace
