#pragma once
// The waveform builder's numeric settings for the remote commands that edit them.
#include <cstdint>

struct ScpiInterface;

// item 0 triangle, 1 stairs, 2 clip (answered in hundredths' units), 3 and 4 the crest-factor waveforms
// (in tenths' units); maximum and minimum in builder steps, as the calling command gives them. A set
// stores through the builder's setter and marks the builder for a rebuild.
int scpiArbEditParam(ScpiInterface* ifc, uint32_t item, int32_t maximum, int32_t minimum);
