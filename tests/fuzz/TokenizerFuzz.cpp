// libFuzzer target for the tokenizer: any bytes, split into rows, give the
// same tokens by the row scan (with its shortcuts for words and one-byte
// symbols) as by the token-at-a-time road, for each parser class, with the
// state carried down the rows; scanning each row as soft-wrapped onto the
// next must stay inside the joined text (AddressSanitizer watches).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzLines.h"
#include "syntax/ProgramFountains.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto fountains = {quodle::CreateHyphenFountain1(), quodle::CreateHyphenFountain2()};
    const std::vector<std::string> rows = quodle::fuzz::SplitAtLineFeeds(data, size);
    for (const auto& fountain : fountains) {
        const auto parser = fountain->CreateParser();
        quodle::TRowParseState state;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const std::string& row = rows[i];
            const quodle::TRowParseState start = state;
            parser->NewData(row, state);
            std::vector<quodle::TTokenSpan> byToken;
            for (auto k = parser->NextToken(); k != quodle::tokEnd; k = parser->NextToken())
                byToken.push_back(parser->CurrentToken());
            const auto byRow = parser->ParseRow(row, nullptr, state);
            if (std::vector<quodle::TTokenSpan>(byRow.begin(), byRow.end()) != byToken) std::abort();
            if (i + 1 < rows.size()) {
                quodle::TRowParseState wrapped = start;
                wrapped.RowEnding = quodle::reWrapped;
                const quodle::TNextRow next{rows[i + 1], quodle::reBreak};
                for (const auto& t : parser->ParseRow(row, &next, wrapped))
                    if (t.Pos + t.Length > row.size() || t.Length == 0) std::abort();
            }
        }
    }
    return 0;
}
