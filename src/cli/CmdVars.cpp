// quodle-cli vars: the variable list report.
#include "cli/LispSource.h"
#include "cli/VariableCommands.h"

namespace quodle::cli {
namespace {

constexpr const char* kUsage = "vars [--raw] [--jogai FILE] FILE";

int RunVars(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail(std::string("usage: ") + kUsage);
    const auto exclusions = ExclusionsArg(args);
    if (!exclusions) return kExitError;
    const auto source = ReadSource(out, args.positional[0]);
    if (!source) return kExitError;
    PrintReport(out, VariableList(source->Lines(), *exclusions, nullptr, ReportSink(out)));
    return kExitOk;
}

QUODLE_CLI_COMMAND("vars", kUsage, {"--jogai"}, {}, RunVars,
                   "Every definition with its arguments, locals, used symbols, globals and unused names; --jogai "
                   "FILE replaces the exclusion list.");

}  // namespace
}  // namespace quodle::cli
