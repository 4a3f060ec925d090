#include "core/system/seqsim_slots.h"

core::SeqSimSlots g_SeqSimSlots;
