#include "core/system/state/seqsim_slots.h"

core::SeqSimSlots g_SeqSimSlots;
