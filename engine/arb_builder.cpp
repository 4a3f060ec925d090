#include "engine/arb_builder.h"

// No shape is built until the builder exists.
int32_t ArbBuild_TaskRun() {
    return 0;
}
