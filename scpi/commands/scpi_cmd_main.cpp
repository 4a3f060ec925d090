// The main command set: its keyword tree and parameter specs, built from the command rows.
#include "scpi/commands/scpi_cmds_main_common.h"
#include "scpi/commands/scpi_cmds_main_measure.h"
#include "scpi/commands/scpi_cmds_main_output.h"
#include "scpi/commands/scpi_cmds_main_source.h"
#include "scpi/commands/scpi_cmds_main_system.h"
#include "scpi/commands/scpi_cmds_main_trace.h"
#include "scpi/parser/scpi_tree_build.h"

namespace scpi {
namespace {

constexpr auto kRows = ConcatRows(kMainRowsCommon, kMainRowsMeasure, kMainRowsOutput, kMainRowsSystem,
                                  kMainRowsTrace, kMainRowsSource);
static_assert(kRows.size() == kMainCmdCount);

constexpr auto kBuilt = BuildCmdSet<2048, 512>(kRows);
constexpr auto kNodes = CopyNodes<kBuilt.nodeCount>(kBuilt);
constexpr auto kDescs = CopyDescs<kBuilt.descCount>(kBuilt);
constexpr auto kSpecs = LinkSpecs<kMainCmdCount>(kBuilt, kDescs.data());

}  // namespace

const ScpiCmdSetDescriptor kMainCmdSetDesc = {
    kScpiCommonRoot, kScpiMainRoot, kNodes.data(), kNodes.size(), kSpecs.data(), kSpecs.size(), kUnitTables,
};

}  // namespace scpi
