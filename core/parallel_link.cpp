#include "core/parallel_link.h"

ParallelLinkRec g_ParallelLink;
