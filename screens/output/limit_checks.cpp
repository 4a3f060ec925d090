#include "screens/output/limit_checks.h"

// The limit re-derivation belongs to the home screen's setting checks; until they exist the records keep
// the limits they were built with, and every setter still refuses values outside them.
void FreqLimitCheck(uint32_t) {}
