// quodle-cli tokens FILE: every token of every row as the document editors
// cut it, one line each: row, byte offset, byte length and kind code.
#include <cstdio>

#include "cli/LispSource.h"
#include "syntax/EditorTokens.h"

namespace quodle::cli {
namespace {

int RunTokens(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail("usage: tokens [--raw] FILE");
    const auto source = ReadSource(out, args.positional[0], TSourceKind::skTokenized);
    if (!source) return kExitError;
    TEditorScreenStrings& rows = source->Rows();
    const auto parser = source->Document().Fountain()->CreateParser();
    if (rows.Count() == 0) return kExitOk;
    TRowScanner scanner(rows, *parser, 0);
    for (int r = 0; r < rows.Count(); ++r) {
        scanner.Visit([&](std::span<const TTokenSpan> tokens) {
            for (const TTokenSpan& t : tokens) {
                char line[96];
                const int n = std::snprintf(line, sizeof line, "%d\t%zu\t%zu\t%d", r, t.Pos, t.Length,
                                            static_cast<int>(t.Kind));
                out.Line(std::string_view(line, static_cast<std::size_t>(n)));
            }
            return true;
        });
    }
    return kExitOk;
}

QUODLE_CLI_COMMAND("tokens", "tokens [--raw] FILE   (row, byte offset, length, kind code; rows count from 0)", {},
                   {}, RunTokens,
                   "Every token of every row as the editor colours it: row, byte offset, byte length and kind code.");

}  // namespace
}  // namespace quodle::cli
