// quodle-cli brackets FILE: what the whole-document bracket count shows:
// the status-bar count, the 1-based balance line (0 when none) and the
// message text.
#include "cli/LispSource.h"
#include "lisp/RowLineTokens.h"

namespace quodle::cli {
namespace {

int RunBrackets(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail("usage: brackets [--raw] FILE");
    const auto source = ReadSource(out, args.positional[0], TSourceKind::skTokenized);
    if (!source) return kExitError;
    const TRowLineTokens tokens(source->Rows(), *source->Document().Fountain());
    const TBracketReport report = CountAllBracketsCommand(tokens, nullptr);
    out.Line(report.Panel);
    out.Line(std::to_string(report.Count.BalanceLine + 1));
    PrintMessage(out, report.Message);
    return kExitOk;
}

QUODLE_CLI_COMMAND("brackets", "brackets [--raw] FILE", {}, {}, RunBrackets,
                   "The bracket count (F4): the status-bar count, the last line where the counts were equal (0 for "
                   "none), then the message the command shows.");

}  // namespace
}  // namespace quodle::cli
