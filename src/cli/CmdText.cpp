// quodle-cli text FILE: the document as the editor holds it and would save
// it (Lines.Text after LoadFromFile).
#include "cli/LispSource.h"

namespace quodle::cli {
namespace {

int RunText(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail("usage: text [--raw] FILE");
    const auto source = ReadSource(args.positional[0]);
    if (!source) return kExitError;
    PrintDocument(out, source->Rows());
    return kExitOk;
}

QUODLE_CLI_COMMAND("text", "text [--raw] FILE", {}, {}, RunText);

}  // namespace
}  // namespace quodle::cli
