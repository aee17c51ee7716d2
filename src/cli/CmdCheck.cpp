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
    const TVariableReport report = VariableCheck(source->Lines(), *exclusions, ExclusionSettingsArg(args));
    PrintReport(out, report);
    return report.HasFindings() ? kExitFindings : kExitOk;
}

QUODLE_CLI_COMMAND("check", kUsage, {"--jogai", "--prefix"}, {"--no-star", "--no-gb"}, RunCheck);

}  // namespace
}  // namespace quodle::cli
