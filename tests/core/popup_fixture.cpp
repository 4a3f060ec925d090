#include "popup_fixture.h"

#include <gtest/gtest.h>

namespace test {

namespace {
bool capturing = false;
std::string seen;

void Collect() {
    if (capturing) seen += ::testing::internal::GetCapturedStdout();
    ::testing::internal::CaptureStdout();
    capturing = true;
}
}  // namespace

void EndPopups() {
    if (capturing) seen += ::testing::internal::GetCapturedStdout();
    capturing = false;
    seen.clear();
}

void ClearPopups() {
    Collect();
    seen.clear();
}

// Every free-text popup is also printed on the console as "popup: <text>".
std::vector<std::string> Popups() {
    Collect();
    std::vector<std::string> out;
    const std::string marker = "popup: ";
    for (size_t at = seen.find(marker); at != std::string::npos;) {
        const size_t start = at + marker.size();
        const size_t next = seen.find(marker, start);
        std::string text = seen.substr(start, next == std::string::npos ? std::string::npos : next - start);
        if (!text.empty() && text.back() == '\n') text.pop_back();
        out.push_back(text);
        at = next;
    }
    return out;
}

}  // namespace test
