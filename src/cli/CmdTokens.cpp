// quodle-cli tokens FILE: every token of every row as the document editors
// cut it, one line each: row, byte offset, byte length and kind code.
#include <cstdio>

#include "app/WordLists.h"
#include "cli/Cli.h"
#include "editor/EditorStrings.h"
#include "editor/ProgramFountains.h"
#include "editor/TextFile.h"

namespace quodle::cli {

namespace {

int RunTokens(const Args& args, Output& out) {
    if (args.positional.size() != 1) {
        std::fprintf(stderr, "usage: quodle-cli tokens [--raw] FILE\n");
        return kExitError;
    }
    TEditorScreenStrings rows;
    try {
        TEditorStrings(rows).LoadFromFile(args.positional[0]);
    } catch (const EFileError& e) {
        return Fail("cannot read " + e.Path().string() + ": " + e.Reason());
    }
    const auto fountain = CreateHyphenFountain1();
    const std::filesystem::path dir = ExecutableDir();
    ReplaceReserveWordLists(*fountain, LoadWordList(dir / kReservedWordsFile), LoadWordList(dir / kReservedWords2File));
    const auto parser = fountain->CreateParser();
    // No word wrap: each row is a line, and its state comes from the row above.
    TRowParseState state;
    for (int r = 0; r < rows.Count(); ++r) {
        state.RowEnding = rows.RowEnding(r);
        for (const TTokenSpan& t : parser->ParseRow(rows.View(r), nullptr, state)) {
            char line[96];
            const int n = std::snprintf(line, sizeof line, "%d\t%zu\t%zu\t%d", r, t.Pos, t.Length,
                                        static_cast<int>(t.Kind));
            out.Line(std::string_view(line, static_cast<std::size_t>(n)));
        }
        state.PrevRowEnding = state.RowEnding;
    }
    return kExitOk;
}

}  // namespace

QUODLE_CLI_COMMAND("tokens", "tokens [--raw] FILE   (row, byte offset, length, kind code; rows count from 0)", {},
                   {}, RunTokens);

}  // namespace quodle::cli
