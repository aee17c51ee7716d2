// quodle-cli usecounts: the use-count list, item text and data.
#include "cli/LispSource.h"

namespace quodle::cli {
namespace {

int RunUseCounts(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail("usage: usecounts [--raw] FILE");
    const auto lines = ReadSource(out, args.positional[0]);
    if (!lines) return kExitError;
    PrintPickList(out, BuildUseCounts(lines->Lines(), nullptr));
    return kExitOk;
}

QUODLE_CLI_COMMAND("usecounts", "usecounts [--raw] FILE", {}, {}, RunUseCounts,
                   "Every user-function definition with its use count and line.");

}  // namespace
}  // namespace quodle::cli
