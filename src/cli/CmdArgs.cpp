// quodle-cli args / locals: the names of the definition whose "(" stands at
// a 0-based line and column.
#include "cli/LispSource.h"

namespace quodle::cli {
namespace {

using TExtract = std::vector<std::string> (*)(const TCodeLines&, int, int);

int RunNames(const Args& args, Output& out, const char* usage, TExtract extract) {
    if (args.positional.size() != 3) return Fail(std::string("usage: ") + usage);
    const auto line = PositionArg(args.positional[1], "LINE");
    const auto col = line ? PositionArg(args.positional[2], "COL") : std::nullopt;
    if (!col) return kExitError;
    const auto lines = ReadSource(out, args.positional[0]);
    if (!lines || !PositionInFile(lines->Lines(), *line, *col)) return kExitError;
    PrintLines(out, extract(StripLispSource(lines->Lines()), *line, *col));
    return kExitOk;
}

constexpr const char* kArgsUsage = "args [--raw] FILE LINE COL";
constexpr const char* kLocalsUsage = "locals [--raw] FILE LINE COL";

QUODLE_CLI_COMMAND("args", kArgsUsage, {}, {},
                   [](const Args& a, Output& o) { return RunNames(a, o, kArgsUsage, &ExtractDefunArgs); },
                   "The argument names of the definition whose \"(\" stands at a 0-based LINE and COLUMN.");
QUODLE_CLI_COMMAND("locals", kLocalsUsage, {}, {},
                   [](const Args& a, Output& o) { return RunNames(a, o, kLocalsUsage, &ExtractDefunLocals); },
                   "The local variable names of the definition whose \"(\" stands at a 0-based LINE and COLUMN.");

}  // namespace
}  // namespace quodle::cli
