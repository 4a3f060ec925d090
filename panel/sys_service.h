#pragma once
// The periodic services of the menu/control thread, one call per 2 ms pass.
void sysServiceStep();
