#pragma once
// The service tuning editors (states 256-266).
#include <cstdint>

// Key handlers of the tuning editors: knob and cursor keys only, enter stores and writes the register.
void KeyProcess_9371_VoltSlewEdit(uint32_t* ev);
void KeyProcess_9371_FanSlewEdit(uint32_t* ev);
void KeyProcess_9371_FanDutyMaxEdit(uint32_t* ev);
void KeyProcess_9371_FanDutyMinEdit(uint32_t* ev);
void KeyProcess_9371_AvgCurrComp_kpEdit(uint32_t* ev);
void KeyProcess_9371_AvgCurrComp_kiEdit(uint32_t* ev);
void KeyProcess_9371_RD_Define1Edit(uint32_t* ev);
void KeyProcess_9371_RD_Define2Edit(uint32_t* ev);
void KeyProcess_9371_RD_Define3Edit(uint32_t* ev);
void KeyProcess_9371_RD_Define4Edit(uint32_t* ev);
void KeyProcess_9371_RD_Define5Edit(uint32_t* ev);
