// PLACEHOLDER: replaced by the limit popups and dialogs.
#include "panel/dialogs/limit_popups.h"

LimitPopupWins g_LimitPopups[kLimitPopupCount]{};

void LimitPopups_Create() {}
