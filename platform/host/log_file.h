#pragma once
// Logs the controller appends to: each is kept at most a limit's size, with one older generation beside
// it ("<name>.1"), so that a controller left running for weeks does not fill its disk.
#include <sys/types.h>

#include <string>
#include <string_view>

namespace plat {

// The size limit of every log: 1 MiB, or the byte count in VRN_LOG_LIMIT_BYTES (a positive number; a
// test keeps the logs small with it). Read once, at the first call.
off_t LogLimitBytes();

// Appends `line` (which ends with its line feed) to the log at the host path `path`. A line that would
// take the log past `limit` first moves the log to "<path>.1" with one rename, which replaces the older
// generation at once; a line longer than the limit is cut to it. Callers serialise their appends to one
// log. False when the line could not be written (a full disk loses the entry, never the caller's work).
bool LogAppend(const std::string& path, std::string_view line, off_t limit);

}  // namespace plat
