#pragma once
// The service switch list's row actions.

// The action of the current row (states 229-250): a toggle, the alarm monitor or the R&D test mode.
void menuServiceToggle();
