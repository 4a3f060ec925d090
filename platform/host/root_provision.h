#pragma once
// First start of an instrument root: the folders, the sysfs stand-ins and the device files (flash
// partitions, framebuffer) a freshly installed board has. Kept apart from the path mapping in root.h,
// which the device files themselves use to find their place.

namespace plat {

// Creates the root with the folders and factory files the instrument expects (idempotent: existing
// files are kept). Returns 0, or -1 when the root cannot be made.
int PrepareRoot();

}  // namespace plat
