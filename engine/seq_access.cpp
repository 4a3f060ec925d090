#include "engine/seq_access.h"

// Until the SEQ/SIM data model exists there is no current step and no step base: every step transfer
// addresses step 0.
int32_t SeqGetAbsStep() {
    return 0;
}
