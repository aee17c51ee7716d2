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

// The name the token-kind display shows for a kind; "???" for a code no
// name is given to.
constexpr const char* TokenKindName(int kind) {
    switch (kind) {
        case tokEnd: return "EOF";
        case tokSymbol: return "Symbol";
        case tokInteger: return "Integer";
        case tokFloat: return "Float";
        case tokBracket: return "Bracket";
        case tokComment: return "Comment";
        case tokReserved: return "Reserve";
        case tokTab: return "Tab";
        case tokWord: return "Ank";
        case tokWideSymbol: return "DBSymbol";
        case tokWideDigits: return "DBInt";
        case tokWideLatin: return "DBAlph";
        case tokHiragana: return "DBHira";
        case tokKatakana: return "DBKana";
        case tokKanji: return "DBKanji";
        case tokNarrowKanaPunct: return "KanaSymbol";
        case tokNarrowKana: return "Kana";
        case tokUrl: return "Url";
        case tokMail: return "Mail";
        case tokHex: return "Hex";
        case 24: return "SingleQuotation";
        case 25: return "DoubleQuotation";
        case tokQuoted: return "Quotation";
        case tokReserved2: return "Reserve2";
        default: return "???";
    }
}

}  // namespace quodle
