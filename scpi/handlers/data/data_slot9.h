#pragma once
// Memory 9 of SEQ and of SIM lent to the PRESent transfers: the present sequence or simulation is
// written there to be sent or taken in, and the memory is put back afterwards. One borrower at a time.
#include <cstdint>

namespace scpi {

enum class Slot9Kind : uint32_t { kSeq = 0, kSim = 1 };

// Claims memory 9 of the kind and keeps a copy of its file ("_tmp"): true, or false when another
// command holds it. A sound copy left by a borrow that never ended is put back first.
bool Slot9Borrow(Slot9Kind kind);
// Puts memory 9 back as it was before the borrow (a memory that was not stored is removed again), drops
// the copy and ends the borrow. Only the borrower calls it.
void Slot9Return(Slot9Kind kind);
// At start, for both kinds: a copy that a power cut left behind is memory 9 as it was before its borrow,
// so it is put back when it passes the checks of a stored memory; a damaged one is removed. Nothing
// happens to a kind that is borrowed meanwhile.
void Slot9RecoverAtStart();

}  // namespace scpi
