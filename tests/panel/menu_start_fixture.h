#pragma once
// The menu/control thread's start as a process goes through it, for the tests of what the start and a
// restart on the same root give back.
namespace paneltest {

// The panel link, the system message queue and the semaphores, as the start finds them.
void OpenPanelAndQueues();
// MenuThread_Start from a cleared status word and a reset thread.
void StartMenuThread();
// A killed process keeps only the memory's file and the root's files; a new one starts.
void RestartOnSameRoot();
// The keys' tests on a started single unit (model 1, its defaults, the home state), and back to the
// process's plain state after them: no flags, local, model 0, no queue.
void StartModelOneUnit();
void StopModelOneUnit();

}  // namespace paneltest
