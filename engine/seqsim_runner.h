#pragma once
// The SEQ/SIM runner thread: steps the run-control object every 2 ms.
void* SeqSimThread(void* arg);
void SeqSimThread_Pass();
