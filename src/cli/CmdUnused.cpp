// quodle-cli unused: the unused user functions, item text and data.
#include "cli/LispSource.h"

namespace quodle::cli {
namespace {

int RunUnused(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail("usage: unused [--raw] FILE");
    const auto lines = ReadSource(out, args.positional[0]);
    if (!lines) return kExitError;
    PrintPickList(out, BuildUnusedList(lines->Lines(), nullptr));
    return kExitOk;
}

QUODLE_CLI_COMMAND("unused", "unused [--raw] FILE", {}, {}, RunUnused,
                   "The user functions defined and never called, with their lines.");

}  // namespace
}  // namespace quodle::cli
