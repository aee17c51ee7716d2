// Random rows of the bytes that matter to the tokenizer (quotes, escapes,
// comment and bracket characters, lead and trail bytes, broken pairs): both
// scanning roads agree, tokens stay inside the row, in order, and never
// start or end inside a double-byte character.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/ShiftJis.h"
#include "syntax/ProgramFountains.h"

namespace quodle {
namespace {

std::string RandomRow(std::mt19937& rng) {
    static const std::string alphabet =
        std::string("\"\\;|()' \t.@-_>#$0123456789aeEhpstw:/") + std::string("\x00\x01\x7F\x80\xA0\xA1\xB0\xFD\xFF", 9) +
        "\x81\x82\x83\x88\x95\xE0\xFC" + "\x40\x5B\x5C\x7C\x9F\xBF\xF1";
    std::uniform_int_distribution<std::size_t> len(0, 40), pick(0, alphabet.size() - 1);
    std::string row(len(rng), ' ');
    for (char& c : row) c = alphabet[pick(rng)];
    return row;
}

// Character starts by the tokenizer's rule: a lead byte with a valid trail
// byte after it is one character.
std::vector<bool> CharStarts(const std::string& row) {
    std::vector<bool> starts(row.size() + 1, false);
    for (std::size_t i = 0; i < row.size();) {
        starts[i] = true;
        i += (IsLeadByte(row[i]) && i + 1 < row.size() && IsTrailByte(static_cast<unsigned char>(row[i + 1]))) ? 2 : 1;
    }
    starts[row.size()] = true;
    return starts;
}

TEST(TokenizerProperties, RandomRowsKeepTheInvariants) {
    std::mt19937 rng(20240611);
    const auto fountains = {CreateHyphenFountain1(), CreateHyphenFountain2()};
    for (const auto& fountain : fountains) {
        const auto parser = fountain->CreateParser();
        TRowParseState state;  // carried down the random rows
        for (int i = 0; i < 20000; ++i) {
            const std::string row = RandomRow(rng);
            const std::vector<bool> starts = CharStarts(row);
            parser->NewData(row, state);
            std::vector<TTokenSpan> byNext;
            for (TTokenKind k = parser->NextToken(); k != tokEnd; k = parser->NextToken())
                byNext.push_back(parser->CurrentToken());
            const TRowParseState before = state;
            const auto byRow = parser->ParseRow(row, nullptr, state);
            ASSERT_EQ(std::vector<TTokenSpan>(byRow.begin(), byRow.end()), byNext) << testing::PrintToString(row);
            std::size_t end = 0;
            for (const TTokenSpan& t : byRow) {
                ASSERT_GE(t.Pos, end) << testing::PrintToString(row);
                ASSERT_GE(t.Length, 1u);
                ASSERT_LE(t.Pos + t.Length, row.size());
                ASSERT_TRUE(starts[t.Pos] && starts[t.Pos + t.Length]) << testing::PrintToString(row);
                end = t.Pos + t.Length;
            }
            // Rows are not wrapped: nothing is carried but the region.
            ASSERT_EQ(state.WrappedToken, 0);
            ASSERT_EQ(state.WrappedBytes, 0);
            ASSERT_GE(state.BracketIndex, -1);
            ASSERT_LT(state.BracketIndex, fountain->Brackets().Count());
            if (row.find_first_not_of(' ') == std::string::npos) {
                ASSERT_EQ(state.BracketIndex, before.BracketIndex);
            }
        }
    }
}

}  // namespace
}  // namespace quodle
