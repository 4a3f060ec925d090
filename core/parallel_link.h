#pragma once
// The parallel-link object, stepped every 20 ms by the timer thread.
void ParallelLink_Step();
