#pragma once
// The host's reboot of the unit: the program starts again in the same process, from its own executable
// and with the arguments it was started with, so on the same root and ports.

namespace plat {

// Marks every open descriptor close-on-exec and executes the program again. The caller has released
// what the kernel does not (the message queue); the root's lock and the listening sockets close with the
// exec, so that the new image takes them again. Returns only when the exec failed: -1 with errno set.
int ReExecSelf(char* const argv[]);

}  // namespace plat
