// PLACEHOLDER: replaced by the screen copy.
#include "panel/hardcopy/hardcopy.h"

void Hardcopy_KeyRequest() {}
