// quodle-cli text FILE: the document as the editor holds it and would save
// it (Lines.Text after LoadFromFile).
#include "cli/LispSource.h"

namespace quodle::cli {
namespace {

int RunText(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail("usage: text [--raw] FILE");
    const auto source = ReadSource(args.positional[0]);
    if (!source) return kExitError;
    const TEditorScreenStrings& rows = source->Rows();
    // Row by row, so a large file is never held twice; each row that ends a
    // line gets the form's line end, as saving writes CR LF.
    for (int r = 0; r < rows.Count(); ++r) {
        if (rows.RowEnding(r) == reBreak) out.Line(rows.View(r));
        else out.Bytes(rows.View(r));
    }
    return kExitOk;
}

QUODLE_CLI_COMMAND("text", "text [--raw] FILE", {}, {}, RunText);

}  // namespace
}  // namespace quodle::cli
