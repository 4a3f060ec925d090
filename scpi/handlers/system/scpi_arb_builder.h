#pragma once
// The remote commands of the waveform builder: their choice of built-in type.
#include <cstdint>

// The builder type of a BUILtin choice index 0..32 (the list keeps two spellings of each crest-factor
// waveform); -1 for any other index.
int32_t ArbBuiltinChoiceToType(int32_t choice);
