// quodle-cli text FILE: the document as the editor holds it and would save
// it (Lines.Text after LoadFromFile).
#include "cli/Cli.h"
#include "editor/EditorStrings.h"
#include "editor/TextFile.h"

namespace quodle::cli {
namespace {

int RunText(const Args& args, Output& out) {
    if (args.positional.size() != 1) {
        std::fprintf(stderr, "usage: quodle-cli text [--raw] FILE\n");
        return kExitError;
    }
    TEditorScreenStrings rows;
    try {
        TEditorStrings(rows).LoadFromFile(args.positional[0]);
    } catch (const EFileError& e) {
        return Fail("cannot read " + e.Path().string() + ": " + e.Reason());
    }
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
