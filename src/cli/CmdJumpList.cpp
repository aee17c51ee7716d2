// quodle-cli jumplist: the user-function jump list, item text and data.
#include "cli/LispSource.h"

namespace quodle::cli {
namespace {

int RunJumpList(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail("usage: jumplist [--raw] FILE");
    const auto lines = ReadSource(out, args.positional[0]);
    if (!lines) return kExitError;
    PrintPickList(out, BuildJumpList(lines->Lines(), nullptr));
    return kExitOk;
}

QUODLE_CLI_COMMAND("jumplist", "jumplist [--raw] FILE", {}, {}, RunJumpList,
                   "Every user-function definition: its text, a TAB and its line.");

}  // namespace
}  // namespace quodle::cli
