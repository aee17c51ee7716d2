// The token scanner shared by every parser class. The parser classes differ
// only in data: the editor rules they switch on and the bytes a word may
// contain; the scan itself is one table-driven loop.
#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#if defined(__GNUC__)
#define QUODLE_HOT __attribute__((always_inline)) inline
#else
#define QUODLE_HOT inline
#endif

#include "base/ShiftJis.h"
#include "syntax/BracketDepth.h"
#include "syntax/Fountain.h"

namespace quodle {

namespace {

using TByteSet = std::array<bool, 256>;

constexpr TByteSet ByteSet(std::string_view chars) {
    TByteSet t{};
    for (const char c : chars) t[static_cast<unsigned char>(c)] = true;
    return t;
}

constexpr TByteSet ByteRange(TByteSet t, int from, int to) {
    for (int b = from; b <= to; ++b) t[static_cast<std::size_t>(b)] = true;
    return t;
}

// Space and the control characters other than tab.
constexpr TByteSet kBlank = ByteRange(ByteRange(TByteSet{}, 1, 8), 10, 32);
constexpr TByteSet kDigit = ByteSet("0123456789");
constexpr TByteSet kHexDigit = ByteSet("0123456789ABCDEFabcdef");
constexpr TByteSet kWordChars = ByteSet("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
constexpr TByteSet kMailChars =
    ByteSet("!$%&*,-./0123456789;=?@ABCDEFGHIJKLMNOPQRSTUVWXYZ^_abcdefghijklmnopqrstuvwxyz~");
constexpr TByteSet kUrlChars =
    ByteSet("#%&+-./0123456789:=?ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz~");
constexpr TByteSet kNarrowKana = ByteRange(TByteSet{}, 0xA6, 0xDF);

// Which dispatch steps may match at a byte (the parser's start table).
enum : std::uint8_t {
    ruleBracket = 1,
    ruleMail = 2,
    ruleUrl = 4,
    ruleComment = 8,
    ruleQuote = 16,
    ruleControl = 32,
    ruleHex = 64,
};

// Procedure by the first byte of a token.
enum TFirstByteProc : std::uint8_t {
    fpSymbol,
    fpRules,  // one of the parser's dispatch steps may match: try them first
    fpTab,
    fpNumber,
    fpWord,
    fpWideSymbol,
    fpWideAlnumKana,
    fpKanji,
    fpNarrowKanaPunct,
    fpNarrowKana,
};

constexpr std::array<std::uint8_t, 256> MakeFirstByteTable() {
    std::array<std::uint8_t, 256> t{};  // fpSymbol: NUL and every other byte
    t['\t'] = fpTab;
    for (int b = '0'; b <= '9'; ++b) t[b] = fpNumber;
    for (int b = 'A'; b <= 'Z'; ++b) t[b] = fpWord;
    for (int b = 'a'; b <= 'z'; ++b) t[b] = fpWord;
    t['_'] = fpWord;
    t[0x81] = fpWideSymbol;
    for (int b = 0x84; b <= 0x87; ++b) t[b] = fpWideSymbol;
    t[0x82] = t[0x83] = fpWideAlnumKana;
    for (int b = 0x88; b <= 0x9F; ++b) t[b] = fpKanji;
    for (int b = 0xE0; b <= 0xFC; ++b) t[b] = fpKanji;
    for (int b = 0xA1; b <= 0xA5; ++b) t[b] = fpNarrowKanaPunct;
    for (int b = 0xA6; b <= 0xDF; ++b) t[b] = fpNarrowKana;
    return t;
}
constexpr auto kFirstByteProc = MakeFirstByteTable();

// Procedure that continues a token of the given kind at the start of a row.
enum TContinueProc : std::uint8_t {
    cpSymbol,
    cpNumber,
    cpBracket,
    cpComment,
    cpReserved,
    cpWord,
    cpWideSymbol,
    cpWideRun,
    cpKanji,
    cpNarrowKanaPunct,
    cpNarrowKana,
    cpUrl,
    cpMail,
    cpHexDigits,
    cpQuoted,
    cpDigits,
};

constexpr std::array<std::uint8_t, 256> MakeContinueTable() {
    std::array<std::uint8_t, 256> t{};  // cpSymbol for any other kind
    t[tokInteger] = t[tokFloat] = cpNumber;
    t[tokBracket] = cpBracket;
    t[tokComment] = cpComment;
    t[tokReserved] = t[tokReserved2] = cpReserved;
    t[tokWord] = cpWord;
    t[tokWideSymbol] = cpWideSymbol;
    t[tokWideDigits] = t[tokWideLatin] = t[tokHiragana] = t[tokKatakana] = cpWideRun;
    t[tokKanji] = cpKanji;
    t[tokNarrowKanaPunct] = cpNarrowKanaPunct;
    t[tokNarrowKana] = cpNarrowKana;
    t[tokUrl] = cpUrl;
    t[tokMail] = cpMail;
    t[tokHex] = cpHexDigits;
    t[tokQuoted] = cpQuoted;
    t[tokCharCode] = cpDigits;
    t[tokHexCharCode] = cpHexDigits;
    return t;
}
constexpr auto kContinueProc = MakeContinueTable();

constexpr bool IsKanjiLead(unsigned char b) { return (b >= 0x88 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

constexpr bool Within(unsigned char b, int from, int to) { return b >= from && b <= to; }

// Whether the double-byte character lead/trail continues a run of kind.
constexpr bool InWideRun(TTokenKind kind, unsigned char lead, unsigned char trail) {
    const bool longVowelOrDash = lead == 0x81 && (trail == 0x5B || trail == 0x7C);
    switch (kind) {
        case tokWideDigits:
            return (lead == 0x82 && Within(trail, 0x4F, 0x58)) || (lead == 0x81 && (trail == 0x43 || trail == 0x44));
        case tokWideLatin:
            return lead == 0x82 && (Within(trail, 0x60, 0x79) || Within(trail, 0x81, 0x9A));
        case tokHiragana:
            return (lead == 0x82 && Within(trail, 0x9F, 0xF1)) || longVowelOrDash;
        case tokKatakana:
            return (lead == 0x83 && Within(trail, 0x40, 0x96)) || longVowelOrDash;
        default:
            return false;
    }
}

// The end of the run of spaces from p; indentation makes these runs long, so
// they are stepped over eight bytes at a time.
std::size_t SpacesEnd(const unsigned char* s, std::size_t p, std::size_t n) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kSpaces = 0x2020202020202020ull;
        for (; n - p >= 8; p += 8) {
            std::uint64_t w;
            std::memcpy(&w, s + p, 8);
            if (const std::uint64_t diff = w ^ kSpaces) return p + static_cast<std::size_t>(std::countr_zero(diff) / 8);
        }
    }
    while (p < n && s[p] == ' ') ++p;
    return p;
}

// WrappedBytes is kept in 8 bits; a longer rest runs on to its natural end.
constexpr std::size_t kMaxWrappedBytes = 255;

constexpr unsigned char AsciiUpperByte(unsigned char b) { return (b >= 'a' && b <= 'z') ? b - ('a' - 'A') : b; }

}  // namespace

TFountainParser::TFountainParser(TFountain* fountain) : fountain_(fountain), wordChars_(kWordChars.data()) {
    if (fountain == nullptr) throw TFountainError("TFountainParser.Create need instance of TFountain");
    const auto& brackets = fountain->Brackets();
    for (int i = 0; i < brackets.Count(); ++i)
        brackets_.push_back({brackets[i].LeftBracket(), brackets[i].RightBracket()});
    BuildStartTables();
}

TFountainParser::~TFountainParser() = default;

void TFountainParser::SetEditorRules(TEditorRules rules) {
    rules_ = std::move(rules);
    BuildStartTables();
}

void TFountainParser::BuildStartTables() {
    auto& t = startTableNoMail_;
    t.fill(0);
    for (const auto& b : brackets_)
        if (!b.Left.empty()) t[static_cast<unsigned char>(b.Left[0])] |= ruleBracket;
    if (rules_.Url) t['f'] |= ruleUrl, t['h'] |= ruleUrl, t['w'] |= ruleUrl;
    if (!rules_.Commenter.empty()) t[static_cast<unsigned char>(rules_.Commenter[0])] |= ruleComment;
    if (rules_.Quotation >= 0) t[static_cast<std::size_t>(rules_.Quotation)] |= ruleQuote;
    if (rules_.ControlCode) t['#'] |= ruleControl;
    if (!rules_.HexPrefix.empty()) {
        const auto h = static_cast<unsigned char>(rules_.HexPrefix[0]);
        t[h] |= ruleHex;
        if (h >= 'A' && h <= 'Z') t[h + ('a' - 'A')] |= ruleHex;
    }
    startTable_ = t;
    keyByte_ = rules_.Mail ? '@' : -1;
    if (rules_.Mail)
        for (int b = 0; b < 256; ++b)
            if (kMailChars[b] && b != '@') startTable_[b] |= ruleMail;
    for (int b = 0; b < 256; ++b) {
        dispatchTable_[b] = startTable_[b] ? std::uint8_t{fpRules} : kFirstByteProc[b];
        dispatchTableNoMail_[b] = startTableNoMail_[b] ? std::uint8_t{fpRules} : kFirstByteProc[b];
    }
    start_ = startTable_.data();
    dispatch_ = dispatchTable_.data();
}

QUODLE_HOT void TFountainParser::StartScan(std::string_view text, const TRowParseState& state, bool lacksKey) {
    text_ = text;
    bytes_ = reinterpret_cast<const unsigned char*>(text.data());
    pos_ = tokStart_ = tokEnd_ = 0;
    // Rows without an '@' (nearly all) hold no mail address at all.
    const bool mail = rules_.Mail && !lacksKey && text.find('@') != std::string_view::npos;
    start_ = mail ? startTable_.data() : startTableNoMail_.data();
    dispatch_ = mail ? dispatchTable_.data() : dispatchTableNoMail_.data();
    mailFailEnd_ = 0;
    token_ = tokEnd;
    // A state from before the fountain lost brackets names no region any more.
    bracketIndex_ = state.BracketIndex < static_cast<int>(brackets_.size()) ? state.BracketIndex : -1;
    tokenBracket_ = -1;
    wrappedToken_ = state.WrappedToken;
    wrappedBytes_ = state.WrappedBytes;
    continued_ = false;
}

void TFountainParser::NewData(std::string_view text, const TRowParseState& state) { StartScan(text, state, false); }

// A lead byte counts as a double-byte character only with a valid trail byte
// after it inside the text; anything else is one byte, so a scan never reads
// past the text and never swallows the byte after a broken character.
QUODLE_HOT std::size_t TFountainParser::CharLength(std::size_t p) const {
    return (IsLeadByte(bytes_[p]) && p + 1 < text_.size() && IsTrailByte(bytes_[p + 1])) ? 2 : 1;
}

QUODLE_HOT bool TFountainParser::StartsWith(std::size_t p, std::string_view s) const {
    if (text_.size() - p < s.size()) return false;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (bytes_[p + i] != static_cast<unsigned char>(s[i])) return false;
    return true;
}

QUODLE_HOT std::size_t TFountainParser::RunEnd(std::size_t p, const bool* table) const {
    const std::size_t n = text_.size();
    while (p < n && table[bytes_[p]]) ++p;
    return p;
}

// The token at p (not a blank, inside the text).
QUODLE_HOT TFountainParser::TScan TFountainParser::ScanAt(std::size_t p) {
    if (wrappedToken_ != 0 || bracketIndex_ >= 0) [[unlikely]]
        return ScanCarried(p);
    return ScanByProc(p, dispatch_[bytes_[p]]);
}

TTokenKind TFountainParser::NextToken() {
    const std::size_t n = text_.size();
    std::size_t p = pos_;
    while (p < n && kBlank[bytes_[p]]) ++p;
    tokStart_ = p;
    continued_ = false;
    if (p >= n) {
        token_ = tokEnd;
        tokEnd_ = pos_ = p;
        return tokEnd;
    }
    const TScan r = ScanAt(p);
    token_ = r.Kind;
    pos_ = r.End;
    tokEnd_ = r.Kind == tokEnd ? p : r.End;
    return token_;
}

// A token continued from the previous row, or the rest of a bracket region.
TFountainParser::TScan TFountainParser::ScanCarried(std::size_t p) {
    if (wrappedToken_ != 0) {
        const auto kind = static_cast<TTokenKind>(wrappedToken_);
        const int bytes = wrappedBytes_;
        wrappedToken_ = 0;
        wrappedBytes_ = 0;
        continued_ = true;
        const TScan r = ScanContinued(p, kind, bytes);
        if (r.End > p || r.Kind == tokEnd) return r;
        // The row no longer starts with the rest of that token (a state left
        // from other text): scan it as a token of its own.
        continued_ = false;
        if (bracketIndex_ < 0) {
            return ScanByProc(p, dispatch_[bytes_[p]]);
        }
    }
    tokenBracket_ = bracketIndex_;
    return ScanBracketBody(p);
}

TFountainParser::TScan TFountainParser::ScanContinued(std::size_t p, TTokenKind kind, int bytes) {
    const std::size_t n = text_.size();
    if (bytes > 0) {
        if (kind == tokBracket) {
            if (bracketIndex_ < 0) return {p, kind};  // no region to close
            // The closing bracket was cut by the wrap; it ends here.
            tokenBracket_ = bracketIndex_;
            bracketIndex_ = -1;
        }
        return {std::min(n, p + static_cast<std::size_t>(bytes)), kind};
    }
    TTokenKind resultKind = kind;
    std::size_t end = p;
    switch (kContinueProc[kind]) {
        case cpNumber:
            end = NumberEnd(p, resultKind);
            break;
        case cpBracket:
            if (bracketIndex_ >= 0) {
                tokenBracket_ = bracketIndex_;
                return ScanBracketBody(p);
            }
            break;
        case cpComment:
            end = n;
            break;
        case cpReserved: {
            TScan r = ScanByProc(p, kFirstByteProc[bytes_[p]]);
            r.Kind = kind;
            return r;
        }
        case cpWord:
            end = RunEnd(p, wordChars_);
            break;
        case cpWideSymbol:
            if (CharLength(p) == 2) end = p + 2;
            break;
        case cpWideRun:
            end = WideRunEnd(p, kind);
            break;
        case cpKanji:
            end = KanjiRunEnd(p);
            break;
        case cpNarrowKanaPunct:
            if (Within(bytes_[p], 0xA1, 0xA5)) end = p + 1;
            break;
        case cpNarrowKana:
            end = RunEnd(p, kNarrowKana.data());
            break;
        case cpUrl:
            end = RunEnd(p, kUrlChars.data());
            break;
        case cpMail:
            end = RunEnd(p, kMailChars.data());
            break;
        case cpHexDigits:
            end = RunEnd(p, kHexDigit.data());
            break;
        case cpQuoted:
            if (rules_.Quotation >= 0) end = QuotedEnd(p);
            break;
        case cpDigits:
            end = RunEnd(p, kDigit.data());
            break;
        default:
            return {p + 1, tokSymbol};
    }
    return {end, resultKind};
}

bool TFountainParser::TryBracket(std::size_t p, TScan& out) {
    for (std::size_t i = 0; i < brackets_.size(); ++i) {
        const std::string& left = brackets_[i].Left;
        if (left.empty() || !StartsWith(p, left)) continue;
        bracketIndex_ = tokenBracket_ = static_cast<int>(i);
        out = ScanBracketBody(p + left.size());
        return true;
    }
    return false;
}

QUODLE_HOT bool TFountainParser::TryRules(std::size_t p, std::uint8_t rules, TScan& out) {
    const std::size_t n = text_.size();
    // A scan from a state not computed yet (-2) never opens a region.
    if ((rules & ruleBracket) && bracketIndex_ == -1 && TryBracket(p, out)) return true;
    std::size_t end = 0;
    if ((rules & ruleMail) && MailEndAt(p, end)) {
        out = {end, tokMail};
        return true;
    }
    if (rules & ruleUrl) {
        if (const std::size_t prefix = UrlPrefixAt(p)) {
            out = {RunEnd(p + prefix, kUrlChars.data()), tokUrl};
            return true;
        }
    }
    if ((rules & ruleComment) && StartsWith(p, rules_.Commenter)) {
        out = {n, tokComment};
        return true;
    }
    if (rules & ruleQuote) {
        out = {QuotedEnd(p + 1), tokQuoted};
        return true;
    }
    if (rules & ruleControl) {
        if (p + 1 < n && bytes_[p + 1] == '$')
            out = {RunEnd(p + 2, kHexDigit.data()), tokHexCharCode};
        else
            out = {RunEnd(p + 1, kDigit.data()), tokCharCode};
        return true;
    }
    if (rules & ruleHex) {
        const std::string& prefix = rules_.HexPrefix;
        if (n - p >= prefix.size()) {
            std::size_t i = 0;
            while (i < prefix.size() && AsciiUpperByte(bytes_[p + i]) == static_cast<unsigned char>(prefix[i])) ++i;
            if (i == prefix.size()) {
                out = {RunEnd(p + i, kHexDigit.data()), tokHex};
                return true;
            }
        }
    }
    return false;
}

QUODLE_HOT TFountainParser::TScan TFountainParser::ScanByProc(std::size_t p, std::uint8_t proc) {
    const unsigned char b = bytes_[p];
    for (;;) switch (proc) {
        case fpRules: {
            TScan r;
            if (TryRules(p, start_[b], r)) return r;
            proc = kFirstByteProc[b];
            break;
        }
        case fpTab:
            return {p + 1, tokTab};
        case fpNumber: {
            TTokenKind kind = tokInteger;
            const std::size_t end = NumberEnd(p, kind);
            return {end, kind};
        }
        case fpWord:
            return {RunEnd(p + 1, wordChars_), tokWord};
        case fpWideSymbol:
            return CharLength(p) == 2 ? TScan{p + 2, tokWideSymbol} : TScan{p + 1, tokSymbol};
        case fpWideAlnumKana: {
            if (CharLength(p) == 1) return {p + 1, tokSymbol};
            const unsigned char t = bytes_[p + 1];
            TTokenKind kind = tokWideSymbol;
            if (b == 0x82) {
                if (Within(t, 0x4F, 0x58))
                    kind = tokWideDigits;
                else if (Within(t, 0x60, 0x79) || Within(t, 0x81, 0x9A))
                    kind = tokWideLatin;
                else if (Within(t, 0x9F, 0xF1))
                    kind = tokHiragana;
            } else if (Within(t, 0x40, 0x96)) {
                kind = tokKatakana;
            }
            return {kind == tokWideSymbol ? p + 2 : WideRunEnd(p, kind), kind};
        }
        case fpKanji:
            return CharLength(p) == 1 ? TScan{p + 1, tokSymbol} : TScan{KanjiRunEnd(p), tokKanji};
        case fpNarrowKanaPunct:
            return {p + 1, tokNarrowKanaPunct};
        case fpNarrowKana:
            return {RunEnd(p, kNarrowKana.data()), tokNarrowKana};
        default:
            return {p + 1, tokSymbol};
    }
}

TFountainParser::TScan TFountainParser::ScanBracketBody(std::size_t p) {
    const std::size_t n = text_.size();
    const std::string& right = brackets_[static_cast<std::size_t>(tokenBracket_)].Right;
    // A region that never closes ends the row's tokens.
    if (right.empty()) return {n, tokEnd};
    const auto first = static_cast<unsigned char>(right[0]);
    while (p < n) {
        if (bytes_[p] == first && StartsWith(p, right)) {
            bracketIndex_ = -1;
            return {p + right.size(), tokBracket};
        }
        p += CharLength(p);
    }
    return {n, tokBracket};
}

// From just after the opening quote: a backslash escapes the character after
// it, a doubled quote stands for one quote, and the string runs on past the
// end of the text when nothing closes it.
std::size_t TFountainParser::QuotedEnd(std::size_t p) const {
    const std::size_t n = text_.size();
    const auto quote = static_cast<unsigned char>(rules_.Quotation);
    while (p < n) {
        const unsigned char c = bytes_[p];
        if (c == quote) {
            if (p + 1 < n && bytes_[p + 1] == quote) {
                p += 2;
                continue;
            }
            return p + 1;
        }
        if (c == '\\') {
            ++p;
            if (p < n) p += CharLength(p);
            continue;
        }
        p += CharLength(p);
    }
    return n;
}

QUODLE_HOT std::size_t TFountainParser::NumberEnd(std::size_t p, TTokenKind& kind) const {
    const std::size_t n = text_.size();
    const auto isExp = [&](std::size_t i) { return i < n && (bytes_[i] == 'E' || bytes_[i] == 'e'); };
    const auto exponentEnd = [&](std::size_t i) {
        ++i;
        if (i < n && (bytes_[i] == '+' || bytes_[i] == '-')) ++i;
        return RunEnd(i, kDigit.data());
    };
    p = RunEnd(p, kDigit.data());
    if (p < n && bytes_[p] == '.') {
        kind = tokFloat;
        if (p + 1 < n && (kDigit[bytes_[p + 1]] || isExp(p + 1))) {
            p = RunEnd(p + 1, kDigit.data());
            if (isExp(p)) p = exponentEnd(p);
        }
    } else if (isExp(p)) {
        kind = tokFloat;
        p = exponentEnd(p);
    }
    return p;
}

// A run of mail characters from p is an address once a '.' follows an '@'.
// A failed run also fails from every later start inside it (a later start
// sees a subset of its '@'s), so each byte is looked at once per row.
bool TFountainParser::MailEndAt(std::size_t p, std::size_t& end) {
    if (p < mailFailEnd_) return false;
    const std::size_t n = text_.size();
    bool at = false;
    for (std::size_t q = p; q < n; ++q) {
        const unsigned char c = bytes_[q];
        if (!kMailChars[c]) {
            mailFailEnd_ = q;
            return false;
        }
        if (c == '@') {
            at = true;
        } else if (c == '.' && at) {
            end = RunEnd(q + 1, kMailChars.data());
            return true;
        }
    }
    mailFailEnd_ = n;
    return false;
}

std::size_t TFountainParser::UrlPrefixAt(std::size_t p) const {
    switch (bytes_[p]) {
        case 'f':
            return StartsWith(p, "ftp:") ? 4 : 0;
        case 'h':
            return StartsWith(p, "http:") ? 5 : (StartsWith(p, "https:") ? 6 : 0);
        case 'w':
            return StartsWith(p, "www.") ? 4 : 0;
        default:
            return 0;
    }
}

std::size_t TFountainParser::WideRunEnd(std::size_t p, TTokenKind kind) const {
    const std::size_t n = text_.size();
    while (p + 1 < n && InWideRun(kind, bytes_[p], bytes_[p + 1])) p += 2;
    return p;
}

std::size_t TFountainParser::KanjiRunEnd(std::size_t p) const {
    const std::size_t n = text_.size();
    while (p < n && IsKanjiLead(bytes_[p]) && CharLength(p) == 2) p += 2;
    return p;
}

// ------------------------------------------------------------ row states

// The tokens from p on. The state takes the region of the last token that
// ends inside the row (bracketAfter). kMayCut: text runs on past rowEnd (a
// wrapped row with the next row appended), so a token may be cut there. A
// call that fills [out, outEnd) returns with p where the next one goes on:
// the loops below pick up from any token boundary (the second one only ever
// sees no region open between its tokens).
template <bool kMayCut>
QUODLE_HOT TTokenSpan* TFountainParser::ScanTokens(std::size_t& pos, std::size_t rowEnd, TTokenSpan* out,
                                                   TTokenSpan* outEnd, int& bracketAfter, bool& done) {
    // The scan's position and tables stay in registers (the tokens written
    // would otherwise make the compiler reload them), and the position is
    // handed back however the scan ends.
    std::size_t p = pos;
    struct THandBack {
        std::size_t& to;
        const std::size_t& from;
        ~THandBack() { to = from; }
    } handBack{pos, p};
    const unsigned char* const s = bytes_;
    const std::size_t n = text_.size();
    const std::uint8_t* const dispatch = dispatch_;
    const bool* const wordChars = wordChars_;
    // Tokens are mostly one space apart: step over one without a branch,
    // by a compare rather than a table, as the next token waits for it.
    const auto skipBlanks = [&] {
        p += s[p] == ' ';
        while (p < n && kBlank[s[p]]) ++p;
    };
    // Stores a token; false when it is cut at the row end, which ends the scan.
    const auto emit = [&](const TScan& r, bool continued, int bracketBefore) {
        const auto bracket = static_cast<std::int16_t>(r.Kind == tokBracket ? tokenBracket_ : -1);
        if constexpr (kMayCut) {
            if (p < rowEnd) *out++ = {p, std::min(r.End, rowEnd) - p, r.Kind, continued, bracket};
            if (r.End > rowEnd) {
                tokStart_ = p;
                tokEnd_ = pos_ = r.End;
                token_ = r.Kind;
                continued_ = continued;
                bracketAfter = bracketBefore;
                return false;
            }
        } else {
            *out++ = {p, r.End - p, r.Kind, continued, bracket};
        }
        return true;
    };
    done = true;
    // A token carried over from the row above, or a region it left open.
    while (p < n && (wrappedToken_ != 0 || bracketIndex_ >= 0)) {
        if (out == outEnd) {
            done = false;
            return out;
        }
        skipBlanks();
        if (p >= n) break;
        const int bracketBefore = bracketIndex_;
        continued_ = false;
        const TScan r = ScanCarried(p);
        if (r.Kind == tokEnd) {
            bracketAfter = bracketBefore;
            return out;
        }
        if (!emit(r, continued_, bracketBefore)) return out;
        p = r.End;
    }
    // From here no region is open where a token starts: a region opened here
    // closes inside its token or runs to the end of the text.
    const int steady = bracketIndex_;
    // Every token takes a byte at least: the batch has room for the tokens
    // that start before `stop`.
    const std::size_t stop = std::min(n, p + static_cast<std::size_t>(outEnd - out));
    // Words and one-byte symbols, most tokens, need no dispatch.
    while (p < stop) {
        skipBlanks();
        if (p >= n) break;
        const std::uint8_t proc = dispatch[s[p]];
        if (proc == fpSymbol && (!kMayCut || p < rowEnd)) {
            *out++ = {p, 1, tokSymbol, false, -1};
            ++p;
            continue;
        }
        TScan r;
        if (proc == fpWord) {
            std::size_t end = p + 1;
            while (end < n && wordChars[s[end]]) ++end;
            r = {end, tokWord};
        } else {
            r = ScanByProc(p, proc);
            if (r.Kind == tokEnd) {
                bracketAfter = steady;
                return out;
            }
        }
        if (!emit(r, false, steady)) return out;
        p = r.End;
    }
    if (p < n) {
        done = false;
        return out;
    }
    bracketAfter = bracketIndex_;
    return out;
}

void TFountainParser::StartRow(std::string_view rowText, const TNextRow* next, TRowParseState& state) {
    // The caller's word on the key byte is about rowText alone.
    const bool lacksKey = std::exchange(keyAbsent_, false);
    rowState_ = &state;
    rowEnd_ = rowText.size();
    nextEnding_ = next ? next->RowEnding : std::uint8_t{reBreak};
    if (!batch_) batch_ = std::make_unique<TTokenSpan[]>(kTokenBatch);
    if (state.WrappedToken == tokComment) {
        // A comment cut by a wrap: the whole row is comment.
        StartScan(rowText, state, lacksKey);
        rowPhase_ = TRowPhase::rpComment;
        return;
    }
    const std::size_t indent = SpacesEnd(reinterpret_cast<const unsigned char*>(rowText.data()), 0, rowText.size());
    if (indent == rowText.size()) {
        rowPhase_ = TRowPhase::rpDone;  // an empty row or spaces only: the state stays
        return;
    }
    if (state.RowEnding == reWrapped && next != nullptr) {
        scratch_.assign(rowText);
        scratch_.append(next->Text);
        StartScan(scratch_, state, false);
    } else {
        StartScan(rowText, state, lacksKey);
    }
    rowPos_ = indent;
    rowBracketAfter_ = bracketIndex_;
    rowPhase_ = TRowPhase::rpTokens;
}

std::span<const TTokenSpan> TFountainParser::NextTokens() {
    TTokenSpan* const first = batch_.get();
    TTokenSpan* out = first;
    TTokenSpan* const end = first + kTokenBatch;
    if (rowPhase_ == TRowPhase::rpComment) {
        while (out < end) {
            if (NextToken() == tokEnd) {
                if (rowState_->RowEnding != reWrapped) rowState_->WrappedToken = 0;
                rowState_->WrappedBytes = 0;
                rowPhase_ = TRowPhase::rpDone;
                break;
            }
            *out++ = CurrentToken();
        }
    } else if (rowPhase_ == TRowPhase::rpTokens) {
        bool done = false;
        out = text_.size() > rowEnd_ ? ScanTokens<true>(rowPos_, rowEnd_, out, end, rowBracketAfter_, done)
                                     : ScanTokens<false>(rowPos_, rowEnd_, out, end, rowBracketAfter_, done);
        if (done) {
            FinishRow(out != first ? out - 1 : nullptr);
            rowPhase_ = TRowPhase::rpDone;
        }
    }
    return {first, out};
}

void TFountainParser::FinishRow(TTokenSpan* last) {
    TRowParseState& state = *rowState_;
    const std::size_t n = text_.size();
    state.BracketIndex = rowBracketAfter_;
    state.WrappedBytes = 0;
    state.WrappedToken = 0;
    if (tokEnd_ <= rowEnd_) return;  // no token runs past the row
    if (tokStart_ >= rowEnd_) {
        state.BracketIndex = -1;  // that token belongs to the next row
        return;
    }
    // The token is cut by the wrap.
    const std::size_t beyond = tokEnd_ - rowEnd_;
    if (token_ == tokBracket) {
        state.BracketIndex = tokenBracket_;
        const std::size_t rightLength = brackets_[static_cast<std::size_t>(tokenBracket_)].Right.size();
        if (bracketIndex_ == -1 && beyond < rightLength) {
            // The closing bracket itself is cut.
            state.WrappedToken = tokBracket;
            state.WrappedBytes = static_cast<int>(beyond);
        }
        return;
    }
    std::uint8_t kind = token_;
    if (!continued_ && token_ != tokComment) {
        if (IsReserveWord())
            kind = tokReserved;
        else if (IsReserveWord2())
            kind = tokReserved2;
    }
    state.WrappedToken = kind;
    // The part on this row is coloured like the part on the next one.
    if (kind != token_ && last != nullptr) last->Kind = static_cast<TTokenKind>(kind);
    if (token_ != tokComment && token_ != tokQuoted && (tokEnd_ < n || nextEnding_ != reWrapped) &&
        beyond <= kMaxWrappedBytes)
        state.WrappedBytes = static_cast<int>(beyond);
}

std::span<const TTokenSpan> TFountainParser::BeginRow(std::string_view rowText, const TNextRow* next,
                                                      TRowParseState& state) {
    return FirstBatch(rowText, next, state);
}

QUODLE_HOT std::span<const TTokenSpan> TFountainParser::FirstBatch(std::string_view rowText, const TNextRow* next,
                                                                   TRowParseState& state) {
    // Nearly every row: nothing carried over from a wrap into it, nothing cut
    // by one at its end. Such a row is begun and scanned in one go, and
    // when its tokens fit one batch it is finished there too.
    if (state.WrappedToken != 0 || (state.RowEnding == reWrapped && next != nullptr)) [[unlikely]] {
        StartRow(rowText, next, state);
        return NextTokens();
    }
    const bool lacksKey = std::exchange(keyAbsent_, false);
    rowPhase_ = TRowPhase::rpDone;
    const std::size_t n = rowText.size();
    std::size_t p = SpacesEnd(reinterpret_cast<const unsigned char*>(rowText.data()), 0, n);
    if (p == n) return {};  // an empty row or spaces only: the state stays
    if (!batch_) batch_ = std::make_unique<TTokenSpan[]>(kTokenBatch);
    StartScan(rowText, state, lacksKey);
    int bracketAfter = bracketIndex_;
    bool done = false;
    TTokenSpan* const first = batch_.get();
    TTokenSpan* const out = ScanTokens<false>(p, n, first, first + kTokenBatch, bracketAfter, done);
    if (done) {
        state.BracketIndex = bracketAfter;
        state.WrappedBytes = 0;
        return {first, out};
    }
    // The rest of the row's tokens follow a batch at a time.
    rowState_ = &state;
    rowEnd_ = n;
    nextEnding_ = next ? next->RowEnding : std::uint8_t{reBreak};
    rowPos_ = p;
    rowBracketAfter_ = bracketAfter;
    rowPhase_ = TRowPhase::rpTokens;
    return {first, out};
}

std::span<const TTokenSpan> TFountainParser::ParseRow(std::string_view rowText, const TNextRow* next,
                                                      TRowParseState& state) {
    const std::span<const TTokenSpan> first = FirstBatch(rowText, next, state);
    // A row whose tokens fit one batch, nearly every row, needs no copy.
    if (rowPhase_ == TRowPhase::rpDone) return first;
    rowTokens_.assign(first.begin(), first.end());
    for (std::span<const TTokenSpan> some; !(some = NextTokens()).empty();)
        rowTokens_.insert(rowTokens_.end(), some.begin(), some.end());
    return rowTokens_;
}

void TFountainParser::ReadRowOut(std::string_view rowText, std::span<const TTokenSpan> first) {
    if (!countBrackets_) {
        if (!first.empty())
            while (!NextTokens().empty()) {
            }
        return;
    }
    TBracketCounter counter;
    for (std::span<const TTokenSpan> some = first; !some.empty(); some = NextTokens()) counter.Add(some, rowText);
    rowBalance_ = counter.Balance();
}

TRowParseState TFountainParser::ScanRow(std::string_view rowText, const TRowParseState& start) {
    TRowParseState state = start;
    ReadRowOut(rowText, FirstBatch(rowText, nullptr, state));
    state.PrevRowEnding = start.RowEnding;
    return state;
}

TRowParseState TFountainParser::ScanWrappedRow(std::string_view rowText, const TRowParseState& start,
                                               std::string_view nextText, std::uint8_t nextEnding) {
    TRowParseState state = start;
    const TNextRow next{nextText, nextEnding};
    ReadRowOut(rowText, FirstBatch(rowText, &next, state));
    state.PrevRowEnding = start.RowEnding;
    return state;
}

}  // namespace quodle
