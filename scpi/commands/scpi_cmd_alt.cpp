// The alternate command set: older command names (among them the two-letter commands) whose handlers
// are those of main-set commands. Its rows take the main command's type and parameter forms unless
// they give their own.
#include "scpi/commands/scpi_cmds_alt_first.h"
#include "scpi/commands/scpi_cmds_alt_second.h"
#include "scpi/commands/scpi_cmds_main_common.h"
#include "scpi/commands/scpi_cmds_main_measure.h"
#include "scpi/commands/scpi_cmds_main_output.h"
#include "scpi/commands/scpi_cmds_main_source.h"
#include "scpi/commands/scpi_cmds_main_system.h"
#include "scpi/commands/scpi_cmds_main_trace.h"
#include "scpi/parser/scpi_tree_build.h"

namespace scpi {
namespace {

constexpr auto kMainRows = ConcatRows(kMainRowsCommon, kMainRowsMeasure, kMainRowsOutput, kMainRowsSystem,
                                      kMainRowsTrace, kMainRowsSource);

template <size_t N1, size_t N2>
constexpr auto JoinAlt(const ScpiAltCmdRow (&a)[N1], const ScpiAltCmdRow (&b)[N2]) {
    struct Joined {
        ScpiAltCmdRow rows[N1 + N2];
    } out{};
    for (size_t i = 0; i < N1; ++i)
        out.rows[i] = a[i];
    for (size_t i = 0; i < N2; ++i)
        out.rows[N1 + i] = b[i];
    return out;
}

constexpr auto kAltRows = JoinAlt(kAltRowsFirst, kAltRowsSecond);
constexpr auto kRows = ResolveAltRows(kAltRows.rows, kMainRows);
static_assert(kRows.size() == kAltCmdCount);

constexpr auto kBuilt = BuildCmdSet<1024, 512>(kRows);
constexpr auto kNodes = CopyNodes<kBuilt.nodeCount>(kBuilt);
constexpr auto kDescs = CopyDescs<kBuilt.descCount>(kBuilt);
constexpr auto kSpecs = LinkSpecs<kAltCmdCount>(kBuilt, kDescs.data());

}  // namespace

// The parser takes unit tables from the main set only.
const ScpiCmdSetDescriptor kAltCmdSetDesc = {
    kScpiCommonRoot, kScpiMainRoot, kNodes.data(), kNodes.size(), kSpecs.data(), kSpecs.size(), nullptr,
};

const std::array<uint16_t, kAltCmdCount + 1> kAltToMainId = AltToMain(kAltRows.rows);

}  // namespace scpi
