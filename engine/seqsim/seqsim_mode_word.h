#pragma once
// The SEQ/SIM mode word (g_SeqSimMode): which program function the instrument is in. Its numbers are also
// the SCPI function mode's (CONTinuous, SEQuence, SIMulation).
#include <cstdint>

enum SeqSimModeWord : uint32_t { kSeqSimOff = 0, kSeqSimSeq = 1, kSeqSimSim = 2 };
