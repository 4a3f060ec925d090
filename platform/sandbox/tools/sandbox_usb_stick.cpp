// The simulated USB stick's files: kept under the root while the stick is not mounted, moved to the
// mount point by a mount and back by the umount, so that what the instrument writes while mounted
// stays on the stick and what it writes into the bare folder does not.
#include <filesystem>

#include "platform/host/root.h"
#include "platform/sandbox/tools/sandbox_tools.h"

namespace plat::sandbox {
namespace fs = std::filesystem;
namespace {

constexpr const char* kStick = "/var/lib/sandbox/usb";
constexpr const char* kHidden = "/var/lib/sandbox/usb-covered";

// Moves `from` to `to` (replacing an empty `to`); a missing `from` leaves an empty folder at `to`.
void MoveFolder(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::remove(to, ec);  // only an empty folder goes
    if (fs::exists(from, ec)) fs::rename(from, to, ec);
    fs::create_directories(to, ec);
}

}  // namespace

void StickAttach(const std::string& folder) {
    const std::string point = MapPath(folder);
    if (point.empty()) return;
    std::error_code ec;
    if (!fs::is_empty(point, ec) && !ec) MoveFolder(point, MapPath(kHidden));
    MoveFolder(MapPath(kStick), point);
}

void StickDetach(const std::string& folder) {
    const std::string point = MapPath(folder);
    if (point.empty()) return;
    MoveFolder(point, MapPath(kStick));
    std::error_code ec;
    fs::create_directories(point, ec);
    if (fs::exists(MapPath(kHidden), ec)) {
        fs::remove(point, ec);
        fs::rename(MapPath(kHidden), point, ec);
    }
}

}  // namespace plat::sandbox
