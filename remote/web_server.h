#pragma once
#include "core/system/links/web_capture.h"
#include "remote/web/web_lock_release.h"

// The HTTP servers on ports 80 and 81 (moved by the port offset). Each thread sets its running word while
// it runs; on the interface stop request its server stops (the port is free again), the word clears and
// the thread ends. Port 80 also runs the web channel's SCPI passes.
void* WebServerThread80(void* arg);
void* WebServerThread81(void* arg);
