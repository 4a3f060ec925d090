#pragma once
// The instrument root: every absolute instrument path (/mnt/disk, /mnt/tst, /mnt/sd1, /tmp/..., /etc/...,
// /sys/class/..., /dev/... device files) lives under one host directory, so that the program never
// touches the host's own files.
#include <string>
#include <string_view>

namespace plat {

// Sets the root directory (made absolute). Does not create it; see PrepareRoot in root_provision.h.
void SetRoot(const std::string& dir);
const std::string& Root();

// Maps an absolute instrument path under the root ("/mnt/disk/a" -> "<root>/mnt/disk/a"); "." and ".."
// are resolved textually and can never climb above the root. A path whose symbolic links lead out of the
// root maps to "" (which no file call opens); device nodes are opened through plat::OpenDevice instead.
// A relative path is returned unchanged.
std::string MapPath(std::string_view instrumentPath);

// True when a host path (absolute, or relative to the working directory) lies inside the root.
bool IsInsideRoot(const std::string& hostPath);

}  // namespace plat
