#include "core/system/step_obj.h"

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;

// A state outside the row table would index past it; such an object stays in its idle row.
uint32_t RowIndex(uint32_t state) {
    return state < kStepRows ? state : 0;
}
}  // namespace

int32_t StepObjRun(StepObj* obj) {
    StepRow* row = &obj->rows[RowIndex(obj->state.load(kRelaxed))];

    uint32_t pending = row->msg.load(kRelaxed);
    if (pending > kStepErrorMsgBase) {
        // The error message stays pending: the error handler sees it on every step until replaced.
        obj->rows[kStepErrorRow].handler(row, pending);
        return 0;
    }
    // Taken only if unchanged: a message another thread posts meanwhile stays for the next step
    // instead of being wiped out by the clear.
    if (pending != 0 && row->msg.compare_exchange_strong(pending, 0, kRelaxed))
        obj->msg.store(pending, kRelaxed);
    uint32_t request = row->next_state.load(kRelaxed);
    if (request != 0) {
        obj->state.store(request, kRelaxed);
        // The row we move to forgets the request it last left with, so it is not left again at once.
        row = &obj->rows[RowIndex(request)];
        row->next_state.store(0, kRelaxed);
    }
    uint32_t msg = obj->msg.load(kRelaxed);
    int32_t result = row->handler ? row->handler(row, msg) : static_cast<int32_t>(msg);
    return result == kStepRaiseResult ? 1 : static_cast<int32_t>(msg);
}

uint32_t StepObjPostMsg(uint32_t msg, StepRow* row) {
    row->msg.store(msg, kRelaxed);
    return msg;
}

uint32_t StepObjPostState(uint32_t state, uint32_t msg, StepRow* row) {
    row->next_state.store(state, kRelaxed);
    row->msg.store(msg, kRelaxed);
    return msg;
}

uint32_t StepRowSetNext(uint32_t state, StepRow* row) {
    row->next_state.store(state, kRelaxed);
    return state;
}

int32_t StepRowIdle(StepRow*, uint32_t msg) {
    return static_cast<int32_t>(msg);
}
