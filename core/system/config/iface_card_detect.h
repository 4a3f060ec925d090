#pragma once
#include <cstdint>

// Detects the optional interface card from its three detect lines (GPIO 101, 17 and 106): 3 when line 106
// reads 1, else 2 when line 17 does, else 1 when line 101 does, else 0. Sets the card-present words of
// g_IfaceCfg (at most one of them 1); when no line could be read at all, clears them and returns 0.
// Callable from any thread: detections run one at a time, and the words are stored (release) without
// passing through "no card"; a reader on another thread loads them through std::atomic_ref (acquire).
int32_t IfaceCardDetect();
