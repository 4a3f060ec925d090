#pragma once
// The error queue of one remote channel: 16 entries of {error index, text of the failing command}.
#include <cstdint>

constexpr int32_t kScpiErrQueueSize = 16;
constexpr uint32_t kScpiErrTextSize = 64;

struct ScpiErrorQueue {
    int32_t count;
    uint32_t writeIdx;
    uint32_t readIdx;
    int32_t index[kScpiErrQueueSize];
    char text[kScpiErrQueueSize][kScpiErrTextSize];
};

// Queues an error with the command text (may be null). -1 when the queue is full or the index is 0;
// the sixteenth entry is always "Queue overflow".
int scpiErrorQueuePush(ScpiErrorQueue* queue, int32_t index, const char* text);
// Takes the oldest entry: its index (0 when empty) and its text into textOut (64 bytes, may be null).
int32_t scpiErrorQueuePop(ScpiErrorQueue* queue, char* textOut);
int32_t scpiErrorQueuePopIndex(ScpiErrorQueue* queue);
int32_t scpiErrorQueueCount(const ScpiErrorQueue* queue);
void scpiErrorQueueClear(ScpiErrorQueue* queue);
