// quodle-cli slips: the full-width characters that stand in code where an
// ASCII one was meant, one line each as the output pane lists them; exit
// status 1 when there are any, so that it can gate a build.
#include "cli/LispSource.h"
#include "lisp/CodeSlips.h"

namespace quodle::cli {
namespace {

constexpr const char* kUsage = "slips [--raw] FILE";

int RunSlips(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail(std::string("usage: ") + kUsage);
    const auto source = ReadSource(out, args.positional[0]);
    if (!source) return kExitError;
    const std::vector<TCodeSlip> slips = FindCodeSlips(source->Lines());
    const TSlipReport report = CodeSlipReport(slips);
    PrintLines(out, report.Lines);
    if (slips.empty()) PrintMessage(out, report.Message);
    return slips.empty() ? kExitOk : kExitFindings;
}

QUODLE_CLI_COMMAND("slips", kUsage, {}, {}, RunSlips,
                   "Full-width signs, letters, digits and blanks in code (outside strings and comments) with their "
                   "line and column and the ASCII character meant; exit status 1 when there are any. "
                   "fix --slips replaces them.");

}  // namespace
}  // namespace quodle::cli
