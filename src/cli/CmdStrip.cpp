// quodle-cli strip: the code-only lines the analyses read.
#include "cli/LispSource.h"

namespace quodle::cli {
namespace {

int RunStrip(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail("usage: strip [--raw] FILE");
    const auto lines = ReadSource(out, args.positional[0]);
    if (!lines) return kExitError;
    const TCodeLines code = StripLispSource(lines->Lines());
    for (std::size_t i = 0; i < code.size(); ++i) out.Line(code[i]);
    return kExitOk;
}

QUODLE_CLI_COMMAND("strip", "strip [--raw] FILE", {}, {}, RunStrip,
                   "The code-only lines the analyses read: strings and comments removed.");

}  // namespace
}  // namespace quodle::cli
