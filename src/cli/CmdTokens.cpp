// quodle-cli tokens FILE: every token of every row as the document editors
// cut it, one line each: row, byte offset, byte length and kind code.
#include <cstdio>
#include <fstream>
#include <iterator>

#include "cli/Cli.h"
#include "editor/ProgramFountains.h"

namespace quodle::cli {

namespace {

int RunTokens(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail("tokens needs exactly one FILE");
    const std::string& path = args.positional[0];
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail("cannot open '" + path + "'");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return Fail("cannot read '" + path + "'");

    const auto fountain = CreateHyphenFountain1();
    const std::string dir = ExecutableDir();
    ReplaceWordListFromFile(fountain->ReserveWordList(), dir + "/AutoLISPReserved.txt");
    ReplaceWordListFromFile(fountain->ReserveWordList2(), dir + "/HiliteWordList.txt");
    const auto parser = fountain->CreateParser();
    parser->ParseText(text, [&](std::size_t row, std::string_view, std::span<const TTokenSpan> tokens) {
        for (const TTokenSpan& t : tokens) {
            char line[96];
            const int n = std::snprintf(line, sizeof line, "%zu\t%zu\t%zu\t%d", row, t.Pos, t.Length,
                                        static_cast<int>(t.Kind));
            out.Line(std::string_view(line, static_cast<std::size_t>(n)));
        }
    });
    return kExitOk;
}

}  // namespace

QUODLE_CLI_COMMAND("tokens", "tokens [--raw] FILE   (row, offset, length and kind code of every token; rows count from 0)",
                   {}, {}, RunTokens);

}  // namespace quodle::cli
