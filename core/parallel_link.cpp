#include "core/parallel_link.h"

ParallelLinkRec g_ParallelLink;

// A single unit: no link to run until parallel operation exists.
void ParallelLink_Step() {}
