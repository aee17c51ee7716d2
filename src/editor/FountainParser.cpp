// The token scanner shared by every parser class. The parser classes differ
// only in data: the editor rules they switch on and the bytes a word may
// contain; the scan itself is one table-driven loop.
#include <algorithm>
#include <cstring>

#include "base/ShiftJis.h"
#include "editor/Fountain.h"

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

constexpr unsigned char AsciiUpperByte(unsigned char b) { return (b >= 'a' && b <= 'z') ? b - ('a' - 'A') : b; }

}  // namespace

TFountainParser::TFountainParser(TFountain* fountain) : fountain_(fountain), wordChars_(kWordChars.data()) {
    if (fountain == nullptr) throw TFountainError("TFountainParser.Create need instance of TFountain");
    const auto& brackets = fountain->Brackets();
    for (int i = 0; i < brackets.Count(); ++i)
        brackets_.push_back({brackets[i].LeftBracket(), brackets[i].RightBracket()});
    BuildStartTable();
}

TFountainParser::~TFountainParser() = default;

void TFountainParser::SetEditorRules(TEditorRules rules) {
    rules_ = std::move(rules);
    BuildStartTable();
}

void TFountainParser::BuildStartTable() {
    start_.fill(0);
    for (const auto& b : brackets_)
        if (!b.Left.empty()) start_[static_cast<unsigned char>(b.Left[0])] |= ruleBracket;
    if (rules_.Mail)
        for (int b = 0; b < 256; ++b)
            if (kMailChars[b] && b != '@') start_[b] |= ruleMail;
    if (rules_.Url) start_['f'] |= ruleUrl, start_['h'] |= ruleUrl, start_['w'] |= ruleUrl;
    if (!rules_.Commenter.empty()) start_[static_cast<unsigned char>(rules_.Commenter[0])] |= ruleComment;
    if (rules_.Quotation >= 0) start_[static_cast<std::size_t>(rules_.Quotation)] |= ruleQuote;
    if (rules_.ControlCode) start_['#'] |= ruleControl;
    if (!rules_.HexPrefix.empty()) {
        const auto h = static_cast<unsigned char>(rules_.HexPrefix[0]);
        start_[h] |= ruleHex;
        if (h >= 'A' && h <= 'Z') start_[h + ('a' - 'A')] |= ruleHex;
    }
}

void TFountainParser::NewData(std::string_view text, const TRowParseState& state) {
    text_ = text;
    bytes_ = reinterpret_cast<const unsigned char*>(text.data());
    pos_ = tokStart_ = tokEnd_ = 0;
    mailFailEnd_ = 0;
    token_ = tokEnd;
    bracketIndex_ = state.BracketIndex;
    tokenBracket_ = -1;
    wrappedToken_ = state.WrappedToken;
    wrappedBytes_ = state.WrappedBytes;
    continued_ = false;
}

// A lead byte counts as a double-byte character only with a valid trail byte
// after it inside the text; anything else is one byte, so a scan never reads
// past the text and never swallows the byte after a broken character.
std::size_t TFountainParser::CharLength(std::size_t p) const {
    return (IsLeadByte(bytes_[p]) && p + 1 < text_.size() && IsTrailByte(bytes_[p + 1])) ? 2 : 1;
}

bool TFountainParser::StartsWith(std::size_t p, std::string_view s) const {
    return text_.size() - p >= s.size() && std::memcmp(bytes_ + p, s.data(), s.size()) == 0;
}

std::size_t TFountainParser::RunEnd(std::size_t p, const bool* table) const {
    const std::size_t n = text_.size();
    while (p < n && table[bytes_[p]]) ++p;
    return p;
}

TTokenKind TFountainParser::NextToken() {
    const std::size_t n = text_.size();
    std::size_t p = pos_;
    while (p < n && kBlank[bytes_[p]]) ++p;
    tokStart_ = p;
    continued_ = false;
    if (p >= n) {
        SetToken(tokEnd, p);
    } else if (wrappedToken_ != 0) {
        ContinueWrapped(p);
    } else if (bracketIndex_ >= 0) {
        tokenBracket_ = bracketIndex_;
        ScanBracketBody(p);
    } else {
        const std::uint8_t rules = start_[bytes_[p]];
        if (rules == 0 || !TryEditorRules(p, rules)) ScanFirstByte(p);
    }
    return token_;
}

bool TFountainParser::TryBracket(std::size_t p) {
    for (std::size_t i = 0; i < brackets_.size(); ++i) {
        const std::string& left = brackets_[i].Left;
        if (left.empty() || !StartsWith(p, left)) continue;
        bracketIndex_ = tokenBracket_ = static_cast<int>(i);
        ScanBracketBody(p + left.size());
        return true;
    }
    return false;
}

bool TFountainParser::TryEditorRules(std::size_t p, std::uint8_t rules) {
    const std::size_t n = text_.size();
    // A scan from a state not computed yet (-2) never opens a region.
    if ((rules & ruleBracket) && bracketIndex_ == -1 && TryBracket(p)) return true;
    std::size_t end = 0;
    if ((rules & ruleMail) && MailEndAt(p, end)) {
        SetToken(tokMail, end);
        return true;
    }
    if (rules & ruleUrl) {
        if (const std::size_t prefix = UrlPrefixAt(p)) {
            SetToken(tokUrl, RunEnd(p + prefix, kUrlChars.data()));
            return true;
        }
    }
    if ((rules & ruleComment) && StartsWith(p, rules_.Commenter)) {
        SetToken(tokComment, n);
        return true;
    }
    if (rules & ruleQuote) {
        SetToken(tokQuoted, QuotedEnd(p + 1));
        return true;
    }
    if (rules & ruleControl) {
        if (p + 1 < n && bytes_[p + 1] == '$')
            SetToken(tokHexCharCode, RunEnd(p + 2, kHexDigit.data()));
        else
            SetToken(tokCharCode, RunEnd(p + 1, kDigit.data()));
        return true;
    }
    if (rules & ruleHex) {
        const std::string& prefix = rules_.HexPrefix;
        if (n - p >= prefix.size()) {
            std::size_t i = 0;
            while (i < prefix.size() && AsciiUpperByte(bytes_[p + i]) == static_cast<unsigned char>(prefix[i])) ++i;
            if (i == prefix.size()) {
                SetToken(tokHex, RunEnd(p + i, kHexDigit.data()));
                return true;
            }
        }
    }
    return false;
}

void TFountainParser::ScanFirstByte(std::size_t p) {
    const unsigned char b = bytes_[p];
    switch (kFirstByteProc[b]) {
        case fpTab:
            SetToken(tokTab, p + 1);
            return;
        case fpNumber: {
            TTokenKind kind = tokInteger;
            const std::size_t end = NumberEnd(p, kind);
            SetToken(kind, end);
            return;
        }
        case fpWord:
            SetToken(tokWord, RunEnd(p + 1, wordChars_));
            return;
        case fpWideSymbol:
            if (CharLength(p) == 2)
                SetToken(tokWideSymbol, p + 2);
            else
                SetToken(tokSymbol, p + 1);
            return;
        case fpWideAlnumKana: {
            if (CharLength(p) == 1) {
                SetToken(tokSymbol, p + 1);
                return;
            }
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
            SetToken(kind, kind == tokWideSymbol ? p + 2 : WideRunEnd(p, kind));
            return;
        }
        case fpKanji:
            if (CharLength(p) == 1)
                SetToken(tokSymbol, p + 1);
            else
                SetToken(tokKanji, KanjiRunEnd(p));
            return;
        case fpNarrowKanaPunct:
            SetToken(tokNarrowKanaPunct, p + 1);
            return;
        case fpNarrowKana:
            SetToken(tokNarrowKana, RunEnd(p, kNarrowKana.data()));
            return;
        default:
            SetToken(tokSymbol, p + 1);
            return;
    }
}

void TFountainParser::ContinueWrapped(std::size_t p) {
    const auto kind = static_cast<TTokenKind>(wrappedToken_);
    const int bytes = wrappedBytes_;
    wrappedToken_ = 0;
    wrappedBytes_ = 0;
    continued_ = true;
    const std::size_t n = text_.size();
    if (bytes > 0) {
        if (kind == tokBracket) {
            // The closing bracket was cut by the wrap; it ends here.
            tokenBracket_ = bracketIndex_;
            bracketIndex_ = -1;
        }
        SetToken(kind, std::min(n, p + static_cast<std::size_t>(bytes)));
        return;
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
                ScanBracketBody(p);
                return;
            }
            break;
        case cpComment:
            end = n;
            break;
        case cpReserved:
            ScanFirstByte(p);
            token_ = kind;
            return;
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
            resultKind = tokSymbol;
            end = p + 1;
            break;
    }
    if (end > p) {
        SetToken(resultKind, end);
        return;
    }
    // The row no longer starts with the rest of that token (a state left
    // from other text): scan it as a token of its own.
    continued_ = false;
    if (bracketIndex_ >= 0) {
        tokenBracket_ = bracketIndex_;
        ScanBracketBody(p);
    } else {
        const std::uint8_t rules = start_[bytes_[p]];
        if (rules == 0 || !TryEditorRules(p, rules)) ScanFirstByte(p);
    }
}

void TFountainParser::ScanBracketBody(std::size_t p) {
    const std::size_t n = text_.size();
    const std::string& right = brackets_[static_cast<std::size_t>(tokenBracket_)].Right;
    if (right.empty()) {
        // A region that never closes ends the row's tokens.
        SetToken(tokEnd, n);
        tokEnd_ = tokStart_;
        return;
    }
    const auto first = static_cast<unsigned char>(right[0]);
    while (p < n) {
        if (bytes_[p] == first && StartsWith(p, right)) {
            bracketIndex_ = -1;
            SetToken(tokBracket, p + right.size());
            return;
        }
        p += CharLength(p);
    }
    SetToken(tokBracket, n);
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

std::size_t TFountainParser::NumberEnd(std::size_t p, TTokenKind& kind) const {
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

TTokenSpan TFountainParser::CurrentToken() const {
    return {tokStart_, tokEnd_ - tokStart_, token_, static_cast<std::int8_t>(token_ == tokBracket ? tokenBracket_ : -1),
            continued_};
}

}  // namespace quodle
