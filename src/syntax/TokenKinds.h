#pragma once
// Token kinds. The codes are stored in the rows (WrappedToken) and printed by
// quodle-cli, so they never change; gaps are codes no parser produces (24 and
// 25 stay reserved for single- and double-quoted strings).
#include <cstdint>

namespace quodle {

enum TTokenKind : std::uint8_t {
    tokEnd = 0,               // end of the row text
    tokSymbol = 1,            // any other single byte
    tokInteger = 3,           // run of ASCII digits
    tokFloat = 4,             // digits with fraction or exponent
    tokBracket = 6,           // a bracket region (block comment)
    tokComment = 7,           // Commenter to the end of the row
    tokReserved = 8,          // token cut by a wrap whose text is a reserved word
    tokTab = 9,               // one tab byte
    tokWord = 11,             // run of word characters
    tokWideSymbol = 12,       // one double-byte symbol
    tokWideDigits = 14,       // run of full-width digits
    tokWideLatin = 15,        // run of full-width Latin letters
    tokHiragana = 16,         // run of hiragana
    tokKatakana = 17,         // run of full-width katakana
    tokKanji = 18,            // run of kanji
    tokNarrowKanaPunct = 19,  // one half-width kana punctuation byte
    tokNarrowKana = 20,       // run of half-width katakana
    tokUrl = 21,
    tokMail = 22,
    tokHex = 23,              // HexPrefix and hex digits
    tokQuoted = 26,           // Quotation string
    tokCharCode = 27,         // '#' and decimal digits
    tokHexCharCode = 28,      // "#$" and hex digits
    tokReserved2 = 30,        // like tokReserved, for the second word list
};

}  // namespace quodle
