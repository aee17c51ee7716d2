// quodle-cli text FILE: the document as the editor holds it; with --raw the
// bytes a save of it would write.
#include "cli/LispSource.h"

namespace quodle::cli {
namespace {

int RunText(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail("usage: text [--raw] FILE");
    const auto source = ReadSource(out, args.positional[0]);
    if (!source) return kExitError;
    return PrintDocument(out, source->Rows());
}

QUODLE_CLI_COMMAND("text", "text [--raw] FILE", {}, {}, RunText,
                   "The document as the editor holds it; with --raw the bytes a save of it writes.");

}  // namespace
}  // namespace quodle::cli
