// libFuzzer target for the search engine: a text, a pattern (often a piece
// of the text, long or short, here and there changed) and any set of
// options, searched forward and backward from a place in it. One search
// over the whole text must find what the plain candidate-by-candidate
// search finds; the search over the rows in chunks of a few bytes (with and
// without word wrap) what the whole-text search finds; replace-all what
// replacing match after match on a plain string gives.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "search/PlainSearch.h"
#include "search/RowsSearch.h"
#include "support/FakeEditor.h"

namespace {

using namespace quodle;

// Shift-JIS traps (trail bytes that look like '\\', '@' or letters, a lone
// lead byte), half-width kana with their voiced marks, letters of both
// cases and widths, Greek, every blank and break the options pass over,
// word delimiters.
constexpr const char* kPieces[] = {
    "a", "b", "A", "c", "ab", "abc", " ", "  ", "\t", "\r\n", "\r", "\n", "_", "-", "(", ")", "\\", "@",
    "\xB6", "\xDE", "\xDF", "\xCA", "\xB3", "\xB1",       // ｶ ﾞ ﾟ ﾊ ｳ ｱ
    "\x83\x4B", "\x83\x6F", "\x83\x94",                    // ガ バ ヴ
    "\x82\x81", "\x82\x60", "\x81\x40", "\x83\x5C", "\x81\x4A", // ａ Ａ 　 ソ ゛
    "\x8A\xBF", "\x83\xBF", "\x83\x9F", "\x81",           // 漢 α Α, a lone lead byte
};

std::string Pieces(FuzzedDataProvider& in, std::size_t most) {
    std::string text;
    for (std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, most); n > 0 && in.remaining_bytes() > 0; --n)
        text += kPieces[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kPieces) - 1)];
    return text;
}

// Often a stretch of the text itself, so that candidates run long; else
// pieces.
std::string Pattern(FuzzedDataProvider& in, const std::string& text) {
    if (text.empty() || in.ConsumeIntegralInRange(0, 3) == 0) return Pieces(in, 12);
    const std::size_t from = in.ConsumeIntegralInRange<std::size_t>(0, text.size() - 1);
    std::string out = text.substr(from, in.ConsumeIntegralInRange<std::size_t>(1, text.size() - from));
    for (int k = in.ConsumeIntegralInRange(0, 2); k > 0 && !out.empty(); --k)
        out[in.ConsumeIntegralInRange<std::size_t>(0, out.size() - 1)] = kPieces[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kPieces) - 1)][0];
    return out;
}

std::string Found(const std::string& text, std::size_t start, const std::string& pattern, TSearchOptions options) {
    std::int64_t s = static_cast<std::int64_t>(start), l = 0;
    if (!SearchBuffer(text, s, l, pattern, options)) return "-";
    return std::to_string(s) + " " + std::to_string(l);
}

std::int64_t TextOffset(const TEditorScreenStrings& rows, TRowOffset pos) {
    std::int64_t offset = pos.Offset;
    for (int r = 0; r < pos.Row; ++r)
        offset += static_cast<std::int64_t>(rows.View(r).size()) + (rows.RowEnding(r) == reBreak ? 2 : 0);
    return offset;
}

void CheckRows(FuzzedDataProvider& in, const std::string& source, const std::string& pattern, TSearchOptions options) {
    test::TFocusedRows doc({2, 8});
    TEditorScreenStrings& rows = doc.rows;
    rows.SetAllText(source);
    if (in.ConsumeBool()) {
        rows.WrapOption().SetWrapByte(in.ConsumeIntegralInRange(20, 40));
        rows.SetWordWrap(true);
    }
    const std::string text = rows.AllText();
    const TSearchPattern prepared(pattern, options);
    const std::size_t chunk = in.ConsumeIntegralInRange<std::size_t>(1, 64);
    TRowOffset pos{in.ConsumeIntegralInRange(0, rows.Count() - 1), 0};
    const std::string_view row = rows.View(pos.Row);
    pos.Offset = in.ConsumeIntegralInRange(0, static_cast<int>(row.size()));
    if (static_cast<std::size_t>(pos.Offset) < row.size() && IsTrailByteAt(row, static_cast<std::size_t>(pos.Offset))) --pos.Offset;
    const bool down = HasOption(options, sfDown);
    const std::optional<TRowsMatch> m =
        down ? SearchRowsForward(rows, pos, prepared, {}, chunk) : SearchRowsBackward(rows, pos, prepared, {}, chunk);
    const std::string rowsFound = m ? std::to_string(TextOffset(rows, m->Start)) + " " + std::to_string(m->Length) : "-";
    if (rowsFound != Found(text, static_cast<std::size_t>(TextOffset(rows, pos)), pattern, options)) std::abort();
}

// CR and LF only as CR LF: the rows hold no other line break, so replacing
// half of one would make texts that a plain string and the rows keep apart.
bool WholeBreaks(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && (i + 1 == s.size() || s[i + 1] != '\n')) return false;
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) return false;
    }
    return true;
}

void CheckReplaceAll(FuzzedDataProvider& in, const std::string& source, const std::string& pattern, TSearchOptions options) {
    test::TFocusedRows doc({2, 8});
    TEditorScreenStrings& rows = doc.rows;
    rows.SetAllText(source);
    std::string text = rows.AllText();
    const std::string with = Pieces(in, 3);
    if (!WholeBreaks(pattern) || !WholeBreaks(with)) return;
    // A replacement that ends with half a character would take the byte
    // after it as its trail: the search after it goes on by the old text's
    // characters, replacing one by one reads the new ones.
    if (!with.empty() && IsLeadByte(with.back()) && !IsTrailByteAt(with, with.size() - 1)) return;
    const TRowOffset from{in.ConsumeIntegralInRange(0, rows.Count() - 1), 0};
    int count = 0;
    for (std::int64_t pos = TextOffset(rows, from);;) {
        std::int64_t s = pos, l = 0;
        if (!SearchBuffer(text, s, l, pattern, options)) break;
        text.replace(static_cast<std::size_t>(s), static_cast<std::size_t>(l), with);
        pos = HasOption(options, sfDown) ? s + static_cast<std::int64_t>(with.size()) : s;
        ++count;
    }
    // Rewritten a few bytes at a time, or all at once.
    const std::size_t batch = in.ConsumeBool() ? kReplaceBatchBytes : in.ConsumeIntegralInRange<std::size_t>(1, 32);
    const TReplaceAll all = ReplaceAll(rows, from, TSearchPattern(pattern, options), with, kReplaceMaxBytes, nullptr, nullptr, batch);
    if (all.Count != count || rows.AllText() != text) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    static constexpr TSearchOption kOptions[] = {sfDown, sfMatchCase, sfWholeWord, sfNoMatchZenkaku, sfIncludeCRLF, sfIncludeSpace};
    TSearchOptions options = 0;
    const auto bits = in.ConsumeIntegral<std::uint8_t>();
    for (std::size_t k = 0; k < std::size(kOptions); ++k)
        if (bits & (1u << k)) options |= kOptions[k];
    std::string text = in.ConsumeBool() ? Pieces(in, 300) : in.ConsumeRandomLengthString(1024);
    const std::string pattern = Pattern(in, text);
    const std::size_t start = in.ConsumeIntegralInRange<std::size_t>(0, text.size());
    const test::TPlainSearch plain(text, pattern, options);
    const std::string expected = HasOption(options, sfDown) ? plain.Forward(start) : plain.Backward(start);
    if (Found(text, start, pattern, options) != expected) std::abort();
    if (text.empty()) return 0;
    CheckRows(in, text, pattern, options);
    if (text.size() <= 600) CheckReplaceAll(in, text, pattern, options);
    return 0;
}
