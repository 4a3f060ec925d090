#pragma once
// SEQ/SIM commands run with the engine's step tables held. A query runs on its channel thread while the
// runner thread selects the tables and the menu/control thread edits them (set commands and keys, which
// already hold the lock there: it is recursive). A table held longer than the bounded wait fails the
// command with a system error rather than reading a step half-written.
#include "engine/seqsim/seqsim_data.h"
#include "scpi/channels/scpi_interface.h"
#include "scpi/parser/scpi_errors.h"
#include "scpi/parser/scpi_tree.h"
#include "storage/image_hold.h"

namespace scpi {

template <ScpiHandler Handler>
int HoldingSeqSimTables(ScpiInterface* ifc) {
    const storage::ImageHold tables(g_SeqSimTableLock);
    if (!tables.owns_lock()) {
        scpiSetError(ifc, kScpiErrSystem);
        return 0;
    }
    return Handler(ifc);
}

}  // namespace scpi
