#include "engine/seqsim_runner.h"

#include "core/system/thread_ctl.h"
#include "platform/clock.h"

// The run-control object comes with the SEQ/SIM engine; until then a pass has nothing to step.
void SeqSimThread_Pass() {}

void* SeqSimThread(void*) {
    for (;;) {
        SeqSimThread_Pass();
        plat::SleepMs(2);
    }
    return nullptr;
}
