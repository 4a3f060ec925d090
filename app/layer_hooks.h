#pragma once
// Hands the services of higher layers to the lower layers that must reach them (the register bus's SEQ
// step, the resets' panel and RS232 services, the SEQ/SIM power-on entries, the start-up screen, the
// scanner's code-table file). Runs once at start-up before any thread; tests that drive those paths call it
// too.
void WireLayerHooks();
