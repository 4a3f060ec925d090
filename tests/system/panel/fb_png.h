#pragma once
// The running program's screen as a picture: vrn-fbpng turns ROOT/dev/fb0 into an 800x480 PNG, which is
// compared with a golden picture under tests/system/panel/golden/ (VRN_UPDATE_GOLDENS=1 rewrites it).
#include <string>
#include <vector>

namespace testsupport {

// Runs vrn-fbpng with the arguments; its exit status, or -1 when it had to be killed after 10 s.
int RunFbPng(const std::vector<std::string>& args);
// Polls the screen until it equals golden/<name>.png, at most boundMs; a picture of the last screen seen
// is left at <workDir>/<name>.png. With VRN_UPDATE_GOLDENS=1 it waits boundMs / 4 for the screen to settle
// and writes the golden instead. The reason it failed, or "" when it matched.
std::string ScreenMatchesGolden(const std::string& root, const std::string& workDir, const std::string& name,
                                int boundMs = 5000);

}  // namespace testsupport
