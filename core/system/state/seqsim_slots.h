#pragma once
// The SEQ and SIM memories last stored or recalled; the one loaded again at start-up. Kept in the
// configuration text.
#include <cstdint>

namespace core {

struct SeqSimSlots {
    uint16_t seq;
    uint16_t sim;
};

}  // namespace core

extern core::SeqSimSlots g_SeqSimSlots;
