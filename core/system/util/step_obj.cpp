#include "core/system/util/step_obj.h"

namespace {
// A poster writes what the message or state acts on before it posts: posts are stored with release
// and taken with acquire. The object's own state and message are published the same way to threads
// that look at them.
constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr auto kRelease = std::memory_order_release;
constexpr auto kAcquire = std::memory_order_acquire;

// A state outside the row table would index past it; such an object stays in its idle row.
uint32_t RowIndex(uint32_t state) {
    return state < kStepRows ? state : 0;
}
}  // namespace

int32_t StepObjRun(StepObj* obj) {
    StepRow* row = &obj->rows[RowIndex(obj->state.load(kAcquire))];

    uint32_t pending = row->msg.load(kAcquire);
    if (pending > kStepErrorMsgBase) {
        // The error message stays pending: the error handler sees it on every step until replaced.
        obj->rows[kStepErrorRow].handler(row, pending);
        return 0;
    }
    // Taken only if unchanged: a message another thread posts meanwhile stays for the next step
    // instead of being wiped out by the clear.
    if (pending != 0 && row->msg.compare_exchange_strong(pending, 0, kAcquire))
        obj->msg.store(pending, kRelease);
    uint32_t request = row->next_state.load(kAcquire);
    if (request != 0) {
        obj->state.store(request, kRelease);
        // The row we move to forgets the request it last left with, so it is not left again at once.
        row = &obj->rows[RowIndex(request)];
        row->next_state.store(0, kRelaxed);
    }
    uint32_t msg = obj->msg.load(kAcquire);
    int32_t result = row->handler ? row->handler(row, msg) : static_cast<int32_t>(msg);
    return result == kStepRaiseResult ? 1 : static_cast<int32_t>(msg);
}

int32_t StepObjRunMsg(StepObj* obj) {
    StepObjRun(obj);
    return static_cast<int32_t>(obj->msg.load(kAcquire));
}

uint32_t StepObjPostMsg(uint32_t msg, StepRow* row) {
    row->msg.store(msg, kRelease);
    return msg;
}

uint32_t StepObjPostState(uint32_t state, uint32_t msg, StepRow* row) {
    row->next_state.store(state, kRelease);
    row->msg.store(msg, kRelease);
    return msg;
}

uint32_t StepRowSetNext(uint32_t state, StepRow* row) {
    row->next_state.store(state, kRelease);
    return state;
}

int32_t StepRowIdle(StepRow*, uint32_t msg) {
    return static_cast<int32_t>(msg);
}

void StepObjRewind(StepObj* obj, uint32_t state, uint32_t msg) {
    obj->state.store(state);
    obj->msg.store(msg);
    for (int i = 0; i < kStepRows; ++i) {
        obj->rows[i].next_state.store(0);
        obj->rows[i].msg.store(0);
    }
}
