// quodle-cli comments: the comment block above the definition on a 0-based
// line: its text lines, then the 0-based line where it starts. Nothing when
// there is no block.
#include "base/Text.h"
#include "cli/LispSource.h"

namespace quodle::cli {
namespace {

int RunComments(const Args& args, Output& out) {
    if (args.positional.size() != 2) return Fail("usage: comments [--raw] FILE LINE");
    const auto line = PositionArg(args.positional[1], "LINE");
    if (!line) return kExitError;
    const auto lines = ReadSource(out, args.positional[0]);
    if (!lines || !PositionInFile(lines->Lines(), *line)) return kExitError;
    const auto block = ReadCommentBlock(lines->Lines(), *line);
    if (!block) return kExitOk;
    for (const std::string_view line : SplitCrLf(block->Text)) out.Line(line);
    out.Line(std::to_string(block->FirstLine));
    return kExitOk;
}

QUODLE_CLI_COMMAND("comments", "comments [--raw] FILE LINE", {}, {}, RunComments,
                   "The comment block above the definition on a 0-based LINE, then the line where it starts.");

}  // namespace
}  // namespace quodle::cli
