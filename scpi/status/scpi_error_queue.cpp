#include "scpi/status/scpi_error_queue.h"

#include <cstring>

#include "scpi/parser/scpi_errors.h"

int scpiErrorQueuePush(ScpiErrorQueue* queue, int32_t index, const char* text) {
    if (queue == nullptr || index == 0 || queue->count >= kScpiErrQueueSize) return -1;
    uint32_t slot = queue->writeIdx % kScpiErrQueueSize;
    std::memset(queue->text[slot], 0, kScpiErrTextSize);
    if (queue->count == kScpiErrQueueSize - 1) {
        queue->index[slot] = kScpiErrQueueOverflow;
    } else {
        queue->index[slot] = index;
        if (text != nullptr) std::strncpy(queue->text[slot], text, kScpiErrTextSize - 1);
    }
    queue->count++;
    queue->writeIdx = (slot + 1) % kScpiErrQueueSize;
    return 0;
}

int32_t scpiErrorQueuePop(ScpiErrorQueue* queue, char* textOut) {
    if (queue == nullptr || queue->count <= 0) {
        if (textOut != nullptr) textOut[0] = '\0';
        return 0;
    }
    uint32_t slot = queue->readIdx % kScpiErrQueueSize;
    int32_t index = queue->index[slot];
    if (textOut != nullptr) {
        std::memcpy(textOut, queue->text[slot], kScpiErrTextSize);
        textOut[kScpiErrTextSize - 1] = '\0';
    }
    queue->count--;
    queue->readIdx = (slot + 1) % kScpiErrQueueSize;
    return index;
}

int32_t scpiErrorQueuePopIndex(ScpiErrorQueue* queue) {
    return scpiErrorQueuePop(queue, nullptr);
}

int32_t scpiErrorQueueCount(const ScpiErrorQueue* queue) {
    return queue == nullptr ? 0 : queue->count;
}

void scpiErrorQueueClear(ScpiErrorQueue* queue) {
    if (queue == nullptr) return;
    std::memset(queue, 0, sizeof(*queue));
}
