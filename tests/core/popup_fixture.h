#pragma once
// The free-text popups posted since the last ClearPopups, oldest first.
#include <string>
#include <vector>

namespace test {
void ClearPopups();
// Ends the watch (call at the end of each test that cleared).
void EndPopups();
std::vector<std::string> Popups();
}  // namespace test
