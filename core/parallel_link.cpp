#include "core/parallel_link.h"

// A single unit: no link to run until parallel operation exists.
void ParallelLink_Step() {}
