#pragma once
// The entries of the service tuning editors (states 256-266), as the service switch rows open them.

// Each tuning editor entered with its setting's current value, limits and digit count.
void Enter_KeyProcess_9371_VoltSlewEdit();
void Enter_KeyProcess_9371_FanSlewEdit();
void Enter_KeyProcess_9371_FanDutyMaxEdit();
void Enter_KeyProcess_9371_FanDutyMinEdit();
void Enter_KeyProcess_9371_AvgCurrComp_kpEdit();
void Enter_KeyProcess_9371_AvgCurrComp_kiEdit();
void Enter_KeyProcess_9371_RD_Define1Edit();
void Enter_KeyProcess_9371_RD_Define2Edit();
void Enter_KeyProcess_9371_RD_Define3Edit();
void Enter_KeyProcess_9371_RD_Define4Edit();
void Enter_KeyProcess_9371_RD_Define5Edit();
