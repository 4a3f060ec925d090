#pragma once
// The periodic services of the menu/control thread, one call per 2 ms pass.
void sysServiceStep();
// The SEQUENCE and SIMULATE preparation steps of the screens above the panel, run on every pass after the
// other services; handed over at start-up. Unset, a step does nothing.
struct SeqSimPreparationSteps {
    void (*seq)() = nullptr;
    void (*sim)() = nullptr;
};
void SysService_SetPreparationSteps(const SeqSimPreparationSteps& steps);
