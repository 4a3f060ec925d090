#pragma once
// The id-indexed handler tables of the two command sets.
#include <array>

#include "scpi/scpi_tree.h"

namespace scpi {
extern const std::array<ScpiHandlerRow, kMainCmdCount + 1> kMainHandlers;
extern const std::array<ScpiHandlerRow, kAltCmdCount + 1> kAltHandlers;
}  // namespace scpi
