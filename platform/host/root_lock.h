#pragma once
// One controller per instrument root. A running controller holds an exclusive lock on
// <root>/var/run/vrn-controller.lock for its whole life; the kernel drops it with the process, so a
// controller ended by SIGKILL leaves no lock behind. The root's System V IPC key is derived from the
// root itself, so a start finds what an earlier controller of the same root left.
#include <sys/types.h>

namespace plat {

// Takes the root's lock (after PrepareRoot). Returns 0, or -1 with errno set; errno is EWOULDBLOCK when
// another process holds the lock, and `*holder` then gets that process's id (0 while it is writing it).
int LockRoot(pid_t* holder);

// The root's IPC key: a hash of the root's real path, so the key is the same however the root is named.
// Never IPC_PRIVATE.
key_t RootIpcKey();

}  // namespace plat
