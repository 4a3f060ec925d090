#pragma once
// Field access of the SEQUENCE and SIMULATE data: the parts the register bus needs.
#include <cstdint>

// The effective SEQ step (current step + step base): the step copy of the power stage's step registers
// (768-803) that every step transfer addresses. The start-up hands it to the register bus.
int32_t SeqGetAbsStep();
