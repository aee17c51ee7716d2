// quodle-cli comment / uncomment: the caret's line commented out (";" in
// front) or in (one leading ";" removed) with nothing selected, printed as
// a save writes the document.
#include "cli/EditCommands.h"
#include "editor/LineConversions.h"

namespace quodle::cli {
namespace {

template <TLineEdits (*Edit)(TLineList, int)>
int RunLineComment(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail("usage: comment|uncomment [--raw] --line N FILE");
    const auto source = ReadSource(out, args.positional[0]);
    if (!source) return kExitError;
    const std::optional<int> line = CaretLineArg(args, *source);
    if (!line) return kExitError;
    return PrintEdited(out, *source, Edit(source->Lines(), *line));
}

QUODLE_CLI_COMMAND("comment", "comment [--raw] --line N FILE", {"--line"}, {}, RunLineComment<CommentLine>,
                   "The document with line N commented out (\";\" in front), as a save writes it.");
QUODLE_CLI_COMMAND("uncomment", "uncomment [--raw] --line N FILE", {"--line"}, {}, RunLineComment<UncommentLine>,
                   "The document with one leading \";\" removed from line N, as a save writes it.");

}  // namespace
}  // namespace quodle::cli
