#include "core/output_request.h"

// The power-on action is not armed by anything yet, so no request is ever outstanding.
uint32_t PowerOnOutputPending() {
    return 0;
}
