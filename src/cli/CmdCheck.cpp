// quodle-cli check: the variable check report, exit status 1 when it has
// findings, so that it can gate a build.
#include "cli/LispSource.h"
#include "cli/VariableCommands.h"

namespace quodle::cli {
namespace {

constexpr const char* kUsage = "check [--raw] [--jogai FILE] [--no-star] [--no-gb] [--prefix TEXT] FILE";

int RunCheck(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail(std::string("usage: ") + kUsage);
    const auto exclusions = ExclusionsArg(args);
    if (!exclusions) return kExitError;
    const auto source = ReadSource(out, args.positional[0]);
    if (!source) return kExitError;
    const TVariableReport report =
        VariableCheck(source->Lines(), *exclusions, ExclusionSettingsArg(args), nullptr, ReportSink(out));
    PrintReport(out, report);
    return report.HasFindings() ? kExitFindings : kExitOk;
}

QUODLE_CLI_COMMAND("check", kUsage, {"--jogai", "--prefix"}, {"--no-star", "--no-gb"}, RunCheck,
                   "Unused and undeclared variables of every definition; exit status 1 when there is something to "
                   "report. --jogai FILE replaces the exclusion list, --no-star and --no-gb keep names starting "
                   "with \"*\" and \"GB_\", --prefix TEXT excludes names starting with TEXT.");

}  // namespace
}  // namespace quodle::cli
