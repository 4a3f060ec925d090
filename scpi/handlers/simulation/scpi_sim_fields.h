#pragma once
// The SIMulation step commands are a selector and a field procedure: the selector names the SIM state
// (0 Initial, 1 Normal 1, 2 Transition 1, 3 Abnormal, 4 Transition 2, 5 Normal 2), the procedure sets or
// queries one field of it. A set runs on the menu/control thread and works on the current state, which
// the selector makes the addressed one; a query runs on its channel's thread while the panel may be
// editing, so it only reads the addressed state and leaves the current state and the dirty mark alone.
#include <cstdint>
#include <initializer_list>

struct ScpiInterface;

// False, with "-310,"System error"", while a run is in progress or the SEQ/SIM mode is not SIM.
bool SimRemoteEditAllowed(ScpiInterface* ifc);

// The state each addresses; a set also makes it the current state.
int32_t SimRemoteSelectInitial(ScpiInterface* ifc);
int32_t SimRemoteSelectNormal(ScpiInterface* ifc);      // by the NORMal suffix: 1 Normal 1, 2 Normal 2
int32_t SimRemoteSelectTransition(ScpiInterface* ifc);  // by the TRANsition suffix: 1 and 2
int32_t SimRemoteSelectAbnormal(ScpiInterface* ifc);
int32_t SimRemoteSelectNormal2(ScpiInterface* ifc);

// Query: the field of `state` (the per-phase ones of the phase chosen for remote SIM editing), or with
// MINimum/MAXimum its limit. Set: the value (or the limit), checked against the limits of the state and of
// every phase it goes to (L1 writes all three), then written through the field's clamping setter; a value
// it would store otherwise is "-222,"Data out of range"", so is a negative one or one whose scaled form
// does not fit 32 bits, and none of them is written.
int SimRemoteOnPhaseEnable(ScpiInterface* ifc, int32_t state);
int SimRemoteOffPhaseEnable(ScpiInterface* ifc, int32_t state);
int SimRemoteOnPhase(ScpiInterface* ifc, int32_t state);
int SimRemoteOffPhase(ScpiInterface* ifc, int32_t state);
int SimRemoteTime(ScpiInterface* ifc, int32_t state);
int SimRemoteCode(ScpiInterface* ifc, int32_t state);
int SimRemoteRepeatCount(ScpiInterface* ifc, int32_t state);
int SimRemoteRepeatEnable(ScpiInterface* ifc, int32_t state);
// The voltage and frequency a simulation keeps equal in several states: a set writes the value into each
// state in turn (the last one ends current), after checking it against every one of them, and a query
// answers for the last state.
int SimRemoteVoltage(ScpiInterface* ifc, std::initializer_list<int32_t> states);
int SimRemoteFrequency(ScpiInterface* ifc, std::initializer_list<int32_t> states);
// Initial's voltage: a set is written into the end state as well, on which the run ends.
int SimRemoteInitialVoltage(ScpiInterface* ifc);
