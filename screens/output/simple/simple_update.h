#pragma once
// The simple page's refresh: on each call the pending layout, then one turn (status and measurement turns
// alternate) that queues the windows of the first difference it finds against its cached words, then the
// flush of the queue. GUI thread only.
#include <cstdint>

namespace simple {

// The counters and caches as a freshly shown page has them: the layout is redone on the second call, and
// every cached word is taken from the instrument now (the show paints everything anyway).
void UpdateRestart();
void UpdateRun();

}  // namespace simple
