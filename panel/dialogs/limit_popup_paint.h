#pragma once
// The paint callbacks of the limit popups and dialogs, frame then child, in the order of their windows.
// Each draws on the paint message from the instrument's words and passes every other message on.
#include "GUI/wm/wm.h"

void IpkKindPopup_Paint(WM_MSG_RECORD* msg);
void IpkKindButtons_Paint(WM_MSG_RECORD* msg);
void IpkHiPopup_Paint(WM_MSG_RECORD* msg);
void IpkHiValue_Paint(WM_MSG_RECORD* msg);
void IpkLoPopup_Paint(WM_MSG_RECORD* msg);
void IpkLoValue_Paint(WM_MSG_RECORD* msg);
void VpkKindPopup_Paint(WM_MSG_RECORD* msg);
void VpkKindButtons_Paint(WM_MSG_RECORD* msg);
void VpkHiPopup_Paint(WM_MSG_RECORD* msg);
void VpkHiValue_Paint(WM_MSG_RECORD* msg);
void VpkLoPopup_Paint(WM_MSG_RECORD* msg);
void VpkLoValue_Paint(WM_MSG_RECORD* msg);
void VoltLimitPopup_Paint(WM_MSG_RECORD* msg);
void VoltLimitValue_Paint(WM_MSG_RECORD* msg);
void FreqKindPopup_Paint(WM_MSG_RECORD* msg);
void FreqKindButtons_Paint(WM_MSG_RECORD* msg);
void FreqHiPopup_Paint(WM_MSG_RECORD* msg);
void FreqHiValue_Paint(WM_MSG_RECORD* msg);
void FreqLoPopup_Paint(WM_MSG_RECORD* msg);
void FreqLoValue_Paint(WM_MSG_RECORD* msg);

void CfgPhaseDialog_Paint(WM_MSG_RECORD* msg);
void CfgPhaseChoice_Paint(WM_MSG_RECORD* msg);
void WiringWarnDialog_Paint(WM_MSG_RECORD* msg);
void WiringWarnButtons_Paint(WM_MSG_RECORD* msg);
void CfgPhaseConfirm_Paint(WM_MSG_RECORD* msg);
void CfgPhaseConfirmButtons_Paint(WM_MSG_RECORD* msg);
void ParallelFailDialog_Paint(WM_MSG_RECORD* msg);
void ParallelFailButtons_Paint(WM_MSG_RECORD* msg);
