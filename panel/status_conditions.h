#pragma once
// Publishes the instrument's conditions into the CONDition registers of every remote channel's status
// groups (OPERation, QUEStionable, WARNing, LOCK), once per menu/control pass, and counts the channels
// whose error queue holds an error.
#include <atomic>
#include <cstdint>

extern std::atomic<uint32_t> g_ScpiErrorIfCount;

void UpdateStatusConditions();

namespace panel {
// The four condition words in the order OPERation, QUEStionable, WARNing, LOCK.
struct StatusConditions {
    uint16_t oper, ques, warn, lock;
};
StatusConditions BuildStatusConditions();
}  // namespace panel
