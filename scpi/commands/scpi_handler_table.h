#pragma once
// The id-indexed handler tables of the two command sets.
#include <array>

#include "scpi/parser/scpi_tree.h"

namespace scpi {
extern const std::array<ScpiHandlerRow, kMainCmdCount + 1> kMainHandlers;
}  // namespace scpi

// The alternate command set's handler table (row 1 of g_ScpiCmdSets).
extern const std::array<ScpiHandlerRow, scpi::kAltCmdCount + 1> ScpiAltCmdTable;
