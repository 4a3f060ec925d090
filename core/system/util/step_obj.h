#pragma once
// Table-driven state objects: every background task, dialog and page runs on one.
// An object is {current state, message in effect, row table}; each of its six rows holds a pending
// state request, a pending message and the handler of that state. Row 0 serves no state, rows 1-4 are
// the object's states and row 5's handler takes the error messages (above 10000).
#include <atomic>
#include <cstdint>

struct StepRow;
using StepHandler = int32_t (*)(StepRow* row, uint32_t msg);

struct StepRow {
    // Posted from other threads with single-word stores (release); read by the stepping thread (acquire).
    std::atomic<uint32_t> next_state;
    std::atomic<uint32_t> msg;
    StepHandler handler;
};

constexpr int kStepRows = 6;
constexpr uint32_t kStepErrorRow = 5;
constexpr uint32_t kStepErrorMsgBase = 10000;  // messages above this go to the error row
constexpr int32_t kStepRaiseResult = 9003;     // a handler result that makes the run step return 1

struct StepObj {
    std::atomic<uint32_t> state;
    std::atomic<uint32_t> msg;
    StepRow* rows;  // kStepRows entries
};

// One step of an object: returns 1 when the handler returned 9003, else the object's message;
// 0 after an error message.
int32_t StepObjRun(StepObj* obj);
// One step of an object whose caller wants the message in effect after it, as the owner of a sub-object
// learns that it is done.
int32_t StepObjRunMsg(StepObj* obj);
uint32_t StepObjPostMsg(uint32_t msg, StepRow* row);
uint32_t StepObjPostState(uint32_t state, uint32_t msg, StepRow* row);
uint32_t StepRowSetNext(uint32_t state, StepRow* row);
int32_t StepRowIdle(StepRow* row, uint32_t msg);
// Puts the object back into `state` with `msg` in effect and clears every row's pending request.
void StepObjRewind(StepObj* obj, uint32_t state, uint32_t msg);
