// quodle-cli tree: the command/function tree as indented text, each
// function with a TAB and its 1-based line; the message when the file
// defines no function.
#include "cli/LispSource.h"
#include "lisp/FunctionTree.h"

namespace quodle::cli {
namespace {

int RunTree(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail("usage: tree [--raw] FILE");
    const auto lines = ReadSource(out, args.positional[0]);
    if (!lines) return kExitError;
    for (const std::string_view line : FunctionTreeText(BuildFunctionTree(lines->Lines(), nullptr))) out.Line(line);
    return kExitOk;
}

QUODLE_CLI_COMMAND("tree", "tree [--raw] FILE", {}, {}, RunTree,
                   "The command/function tree (F6) as indented text, each function with a TAB and its line.");

}  // namespace
}  // namespace quodle::cli
