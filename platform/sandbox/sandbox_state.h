#pragma once
// The simulated system state of the command sandbox: key=value lines in
// <root>/var/lib/sandbox/state, read and written whole under one lock.
#include <map>
#include <mutex>
#include <string>

namespace plat::sandbox {

using State = std::map<std::string, std::string>;

std::mutex& StateMutex();
State LoadState();
// Written whole and renamed into place, so that a reader never sees half a file.
void SaveState(const State& state);

// Runs `change` on the state under the lock and saves it; returns what `change` returns.
template <typename Change>
int UpdateState(Change change) {
    std::lock_guard<std::mutex> lock(StateMutex());
    State state = LoadState();
    int status = change(state);
    SaveState(state);
    return status;
}

template <typename Look>
int InspectState(Look look) {
    std::lock_guard<std::mutex> lock(StateMutex());
    return look(LoadState());
}

}  // namespace plat::sandbox
