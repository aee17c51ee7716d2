// quodle-cli search: the user-function search list for a name prefix, item
// text and data (the detail lines of comment blocks carry 0).
#include "base/ShiftJis.h"
#include "cli/LispSource.h"

namespace quodle::cli {
namespace {

int RunSearch(const Args& args, Output& out) {
    if (args.positional.size() != 2) return Fail("usage: search [--raw] FILE PREFIX");
    const auto lines = ReadSource(out, args.positional[0]);
    if (!lines) return kExitError;
    PrintPickList(out, BuildSearchList(lines->Lines(), Utf8ToCp932(args.positional[1]), nullptr));
    return kExitOk;
}

QUODLE_CLI_COMMAND("search", "search [--raw] FILE PREFIX", {}, {}, RunSearch,
                   "The user functions whose names start with PREFIX, with their lines.");

}  // namespace
}  // namespace quodle::cli
