#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/ShiftJis.h"
#include "search/PlainSearch.h"
#include "search/RowsSearch.h"
#include "support/FakeEditor.h"

namespace quodle {
namespace {

std::string S(const char* utf8) { return Utf8ToCp932(utf8); }

// ---------------------------------------------------------------- random texts

class TRandomText {
public:
    explicit TRandomText(unsigned seed,
                         std::initializer_list<const char*> pieces = {"a", "b", "A", "c", " ", "_", "ｶ", "ﾞ", "ﾟ", "ﾊ",
                                                                      "ガ", "ａ", "Ａ", "　", "ソ", "\\", "@", "漢", "\t",
                                                                      "-", "α", "Α"})
        : rng_(seed) {
        for (const char* p : pieces) pieces_.push_back(S(p));
    }
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    std::string Piece() { return pieces_[static_cast<std::size_t>(Below(static_cast<int>(pieces_.size())))]; }
    std::string Text(int pieces, int breakChance) {
        last_.clear();
        for (int i = 0; i < pieces; ++i) last_.push_back(Below(100) < breakChance ? std::string("\r\n") : Piece());
        std::string out;
        for (const std::string& p : last_) out += p;
        return out;
    }
    // A pattern: mostly a few pieces of the last text, some of them changed,
    // so that matches are frequent.
    std::string Pattern() {
        const int length = 1 + Below(4);
        if (last_.empty() || Below(3) == 0) return Text(length, 3);
        const int from = Below(static_cast<int>(last_.size()));
        std::string out;
        for (int i = from; i < std::min(from + length, static_cast<int>(last_.size())); ++i)
            out += Below(5) == 0 ? Piece() : last_[static_cast<std::size_t>(i)];
        return out;
    }
    // A long stretch of the last text with a few pieces changed.
    std::string Stretch(int length, int changes) {
        const int from = Below(static_cast<int>(last_.size()));
        std::vector<std::string> out(last_.begin() + from, last_.begin() + std::min(from + length, static_cast<int>(last_.size())));
        for (; changes > 0; --changes) out[static_cast<std::size_t>(Below(static_cast<int>(out.size())))] = Piece();
        std::string joined;
        for (const std::string& p : out) joined += p;
        return joined;
    }
    TSearchOptions Options() {
        TSearchOptions o = 0;
        for (const TSearchOption f : {sfDown, sfMatchCase, sfWholeWord, sfNoMatchZenkaku, sfIncludeCRLF, sfIncludeSpace})
            if (Below(3) == 0) o |= f;
        return o;
    }

private:
    std::mt19937 rng_;
    std::vector<std::string> pieces_;
    std::vector<std::string> last_;
};

std::string BufferResult(const std::string& text, std::size_t start, const std::string& pattern, TSearchOptions o) {
    std::int64_t s = static_cast<std::int64_t>(start), l = 0;
    if (!SearchBuffer(text, s, l, pattern, o)) return "-";
    return std::to_string(s) + " " + std::to_string(l);
}

TEST(SearchBufferRandom, AgreesWithThePlainModel) {
    TRandomText random(7);
    for (int round = 0; round < 4000; ++round) {
        const std::string text = random.Text(1 + random.Below(30), 8);
        const std::string pattern = random.Pattern();
        const TSearchOptions o = random.Options();
        const auto start = static_cast<std::size_t>(random.Below(static_cast<int>(text.size()) + 1));
        const test::TPlainSearch reference(text, pattern, o);
        const std::string expected = HasOption(o, sfDown) ? reference.Forward(start) : reference.Backward(start);
        ASSERT_EQ(BufferResult(text, start, pattern, o), expected)
            << "round " << round << " options " << o << " start " << start << "\ntext " << Cp932ToUtf8(text)
            << "\npattern " << Cp932ToUtf8(pattern);
    }
}

// Patterns whose matches vary in length are found by a linear scan that
// jumps and reads back: long patterns over texts of a few pieces, where
// candidates run long and overlap, must find what trying every candidate
// finds.
TEST(SearchBufferRandom, LongPatternsOverRepetitiveTexts) {
    TRandomText random(31, {"a", "b", "A", " ", "\t", "ｶ", "ﾞ", "ガ", "　", "ソ", "_"});
    for (int round = 0; round < 1500; ++round) {
        const std::string text = random.Text(20 + random.Below(400), 5);
        const std::string pattern = random.Stretch(2 + random.Below(120), random.Below(3));
        static constexpr TSearchOptions kVarying[] = {sfNoMatchZenkaku, sfIncludeCRLF, sfIncludeSpace,
                                                      sfIncludeCRLF | sfIncludeSpace};
        const TSearchOptions o = random.Options() | kVarying[random.Below(4)];
        const auto start = static_cast<std::size_t>(random.Below(static_cast<int>(text.size()) + 1));
        const test::TPlainSearch reference(text, pattern, o);
        const std::string expected = HasOption(o, sfDown) ? reference.Forward(start) : reference.Backward(start);
        ASSERT_EQ(BufferResult(text, start, pattern, o), expected)
            << "round " << round << " options " << o << " start " << start << "\ntext " << Cp932ToUtf8(text)
            << "\npattern " << Cp932ToUtf8(pattern);
    }
}

// ---------------------------------------------------------------- the rows in chunks

struct RowsFixture : ::testing::Test, test::TFocusedRows {
    RowsFixture() : TFocusedRows({2, 8}) {}

    std::int64_t TextOffset(TRowOffset pos) const {
        std::int64_t offset = pos.Offset;
        for (int r = 0; r < pos.Row; ++r)
            offset += static_cast<std::int64_t>(rows.View(r).size()) + (rows.RowEnding(r) == reBreak ? 2 : 0);
        return offset;
    }
    std::string Str(const std::optional<TRowsMatch>& m) const {
        if (!m) return "-";
        return std::to_string(TextOffset(m->Start)) + " " + std::to_string(m->Length);
    }
};

// Both routes over the rows (chunks; the packed texts for a pattern of fixed
// length without a break when no row is soft-wrapped) against one
// SearchBuffer over the whole text.
TEST_F(RowsFixture, RowsSearchAgreesWithOneBufferOverTheWholeText) {
    TRandomText random(11);
    for (int round = 0; round < 3000; ++round) {
        const bool wrap = random.Below(3) == 0;
        rows.SetWordWrap(false);
        const std::string source = random.Text(1 + random.Below(90), 6);
        const std::string pattern = random.Pattern();
        rows.SetAllText(source);
        if (wrap) {
            rows.WrapOption().SetWrapByte(20);
            rows.SetWordWrap(true);
        }
        const std::string text = rows.AllText();
        const TSearchOptions o = random.Options();
        const TSearchPattern prepared(pattern, o);
        const std::size_t chunk = static_cast<std::size_t>(1 + random.Below(24));
        for (int probe = 0; probe < 4; ++probe) {
            TRowOffset pos{random.Below(rows.Count()), 0};
            const std::string_view row = rows.View(pos.Row);
            pos.Offset = random.Below(static_cast<int>(row.size()) + 1);
            if (static_cast<std::size_t>(pos.Offset) < row.size() && IsTrailByteAt(row, static_cast<std::size_t>(pos.Offset))) --pos.Offset;
            const auto start = static_cast<std::size_t>(TextOffset(pos));
            const bool down = HasOption(o, sfDown);
            const std::string found =
                Str(down ? SearchRowsForward(rows, pos, prepared, {}, chunk) : SearchRowsBackward(rows, pos, prepared, {}, chunk));
            ASSERT_EQ(found, BufferResult(text, start, pattern, o))
                << "round " << round << " options " << o << " chunk " << chunk << " wrap " << wrap << " at " << pos.Row
                << "," << pos.Offset << "\ntext " << Cp932ToUtf8(text) << "\npattern " << Cp932ToUtf8(pattern);
        }
    }
}

TEST_F(RowsFixture, MatchAcrossChunkBordersAndRows) {
    // Rows of 3 bytes and chunks of 4: every match below crosses borders.
    rows.SetAllText("xab\r\ncd \r\n ef\r\ngh");
    const TSearchPattern skipping("abcdefgh", sfDown | sfIncludeCRLF | sfIncludeSpace);
    EXPECT_EQ(Str(SearchRowsForward(rows, {0, 0}, skipping, {}, 4)), "1 16");
    EXPECT_EQ(Str(SearchRowsBackward(rows, {3, 2}, TSearchPattern("abcdefgh", sfIncludeCRLF | sfIncludeSpace), {}, 4)),
              "1 16");
    // One row longer than a chunk, the match at its end running into the next.
    rows.SetAllText(std::string(40, 'x') + "ab\r\ncd");
    EXPECT_EQ(Str(SearchRowsForward(rows, {0, 0}, TSearchPattern("abcd", sfDown | sfIncludeCRLF), {}, 8)), "40 6");
    EXPECT_EQ(Str(SearchRowsBackward(rows, {1, 2}, TSearchPattern("abcd", sfIncludeCRLF), {}, 8)), "40 6");
}

TEST_F(RowsFixture, WrappedRowsJoinWithoutABreak) {
    rows.WrapOption().SetWrapByte(20);
    rows.SetWordWrap(true);
    rows.SetAllText(std::string(19, 'x') + S("漢cad") + "\r\ncad");
    ASSERT_EQ(rows.Count(), 3);  // the kanji wraps onto row 1
    const TSearchPattern word("cad", sfDown | sfWholeWord);
    // "cad" after the kanji is no word; the one on the next line is.
    EXPECT_EQ(Str(SearchRowsForward(rows, {1, 0}, word, {}, 2)), "26 3");
    EXPECT_EQ(Str(SearchRowsForward(rows, {0, 0}, TSearchPattern("x漢", sfDown), {}, 2)), "-");
    EXPECT_EQ(Str(SearchRowsForward(rows, {0, 0}, TSearchPattern(S("x漢"), sfDown), {}, 2)), "18 3");
}

// A long search tells a watch how far it got, and stops when told.
TEST_F(RowsFixture, AWatchSeesTheRowsPassedAndStopsTheSearch) {
    std::string text = "abc\r\n";
    for (int i = 0; i < 59; ++i) text += "xy z\r\n";
    rows.SetAllText(text + "end");
    const struct {
        const char* name;
        TSearchOptions options;
        std::size_t chunk;
    } cases[] = {
        {"packed rows", sfDown, 0},
        {"chunks", sfDown | sfIncludeSpace, 8},
        {"backward chunks", sfIncludeCRLF, 8},
        {"backward packed", 0, 0},
    };
    for (const auto& c : cases) {
        const bool down = HasOption(c.options, sfDown);
        const TRowOffset from = down ? TRowOffset{0, 0} : TRowOffset{60, 3};
        const TSearchPattern pattern(down ? "end" : "abc", c.options);
        std::vector<std::pair<long long, long long>> steps;
        TSearchWatch all([&](long long done, long long total) {
            steps.emplace_back(done, total);
            return true;
        });
        const auto search = [&](TSearchWatch& w) {
            return down ? SearchRowsForward(rows, from, pattern, {}, c.chunk, &w)
                        : SearchRowsBackward(rows, from, pattern, {}, c.chunk, &w);
        };
        ASSERT_TRUE(search(all)) << c.name;
        ASSERT_FALSE(steps.empty()) << c.name;
        // 61 rows to pass from the first to the last, either way.
        for (std::size_t i = 0; i < steps.size(); ++i) {
            EXPECT_EQ(steps[i].second, 61) << c.name;
            EXPECT_TRUE(steps[i].first >= 0 && steps[i].first <= steps[i].second) << c.name;
            EXPECT_TRUE(i == 0 || steps[i - 1].first <= steps[i].first) << c.name;
        }
        int asked = 0;
        TSearchWatch stop([&](long long, long long) { return ++asked < 2; });
        EXPECT_FALSE(search(stop)) << c.name;
        EXPECT_TRUE(stop.Stopped()) << c.name;
        EXPECT_EQ(asked, 2) << c.name;
    }
}

// ---------------------------------------------------------------- replace-all

// Replace-all without a limit, in batches of `batch` bytes; the text after.
std::string ReplaceAllOf(TEditorScreenStrings& rows, TRowOffset from, const TSearchPattern& pattern,
                         std::string_view with, TReplaceAll* result = nullptr, std::size_t batch = kReplaceBatchBytes) {
    const TReplaceAll r = ReplaceAll(rows, from, pattern, with, kReplaceMaxBytes, nullptr, nullptr, batch);
    if (result) *result = r;
    return rows.AllText();
}

TEST_F(RowsFixture, ReplaceAllIsOneUndoStep) {
    for (const std::size_t batch : {kReplaceBatchBytes, std::size_t{1}}) {
        rows.SetAllText("a a\r\na\r\nb");
        TReplaceAll r;
        EXPECT_EQ(ReplaceAllOf(rows, {0, 0}, TSearchPattern("a", sfDown), "xyz", &r, batch), "xyz xyz\r\nxyz\r\nb");
        EXPECT_EQ(r.Count, 3);
        EXPECT_EQ(r.Bytes, 15u);
        // The caret after the last text inserted.
        EXPECT_EQ(r.Caret, (TRowOffset{1, 3}));
        ASSERT_EQ(rows.UndoObj().UndoList().size(), 1u);
        rows.Undo();
        EXPECT_EQ(rows.AllText(), "a a\r\na\r\nb");
        EXPECT_FALSE(rows.CanUndo());
    }
}

TEST_F(RowsFixture, BackwardReplaceAllOfALetterByTwoOfItselfEnds) {
    for (const std::size_t batch : {kReplaceBatchBytes, std::size_t{1}}) {
        rows.SetAllText("aaa\r\na");
        TReplaceAll r;
        EXPECT_EQ(ReplaceAllOf(rows, {1, 1}, TSearchPattern("a", 0), "aa", &r, batch), "aaaaaa\r\naa");
        EXPECT_EQ(r.Count, 4);
        EXPECT_EQ(r.Caret, (TRowOffset{0, 0}));
    }
}

TEST_F(RowsFixture, ReplaceAllSeesTheTextItInserted) {
    // Backward, the mark put in pairs with the kana before it: "ｶﾞ" is no "ｶ".
    rows.SetAllText(S("ｶｶ"));
    TReplaceAll r;
    EXPECT_EQ(Cp932ToUtf8(ReplaceAllOf(rows, {0, 2}, TSearchPattern(S("ｶ"), sfNoMatchZenkaku), S("ﾞ"), &r)), "ｶﾞ");
    EXPECT_EQ(r.Count, 1);
    ReplaceAllOf(rows, {0, 0}, TSearchPattern("q", sfDown), "x", &r);
    EXPECT_EQ(r.Count, 0);
    EXPECT_EQ(rows.UndoObj().UndoList().size(), 1u);
}

// The size of the result is known before anything is made: a text that
// would grow past the limit stays as it is, one that does not grow is made
// whatever its size.
TEST_F(RowsFixture, ReplaceAllRefusesATextGrowingPastTheLimit) {
    const struct {
        const char* with;
        std::uint64_t limit;
        TReplaceEnd end;
        const char* expected;
    } cases[] = {
        {"bbbb", 14, TReplaceEnd::TooLarge, "a a\r\na"},    // would be 15 bytes
        {"bbbb", 15, TReplaceEnd::Done, "bbbb bbbb\r\nbbbb"},
        {"b", 2, TReplaceEnd::Done, "b b\r\nb"},            // 6 bytes, as before
        {"", 2, TReplaceEnd::Done, " \r\n"},
    };
    for (const auto& c : cases) {
        rows.SetAllText("a a\r\na");
        rows.UndoObj().ClearHistory();
        const TReplaceAll r = ReplaceAll(rows, {0, 0}, TSearchPattern("a", sfDown), c.with, c.limit);
        EXPECT_EQ(r.End, c.end) << c.with << " " << c.limit;
        EXPECT_EQ(r.Count, 3) << c.with;
        EXPECT_EQ(rows.AllText(), c.expected) << c.with << " " << c.limit;
        EXPECT_EQ(rows.CanUndo(), c.end == TReplaceEnd::Done) << c.with;
    }
}

// Stopped in either pass, replace-all leaves the text, its undo list and
// its redo list as they were.
TEST_F(RowsFixture, ReplaceAllStoppedChangesNothing) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "ab cd\r\n";
    const auto run = [&](int stopAt) {
        rows.SetAllText(text);
        rows.UndoObj().ClearHistory();
        int asked = 0;
        TSearchWatch watch([&](long long, long long) { return ++asked != stopAt; });
        const TReplaceAll r =
            ReplaceAll(rows, {0, 0}, TSearchPattern("ab", sfDown | sfIncludeSpace), "x", kReplaceMaxBytes, &watch, nullptr, 4);
        return std::pair{r.End, asked};
    };
    const int steps = run(0).second;  // never stopped: every step of both passes
    ASSERT_GT(steps, 40);
    for (const int stopAt : {1, steps / 4, steps / 2 + 1, 3 * steps / 4, steps}) {
        EXPECT_EQ(run(stopAt).first, TReplaceEnd::Stopped) << stopAt;
        EXPECT_EQ(rows.AllText(), text) << stopAt;
        EXPECT_FALSE(rows.CanUndo() || rows.UndoObj().CanRedo()) << stopAt;
    }
}

// Found by SearchFuzz: the last line replaced by nothing took the break
// before it along.
TEST_F(RowsFixture, ReplaceAllThatEmptiesTheLastLineKeepsTheBreakBeforeIt) {
    const struct {
        const char* text;
        const char* pattern;
        TSearchOptions options;
        const char* expected;
    } cases[] = {
        {"ab\r\nc", "c", sfDown, "ab\r\n"},
        {"ab\r\nc", "c", 0, "ab\r\n"},
        {"ab\r\nc\r\n", "c", sfDown, "ab\r\n\r\n"},
        {"ab\r\nc\r\n", "c\r\n", sfDown, "ab\r\n"},
        {"c", "c", sfDown, ""},
        {"ab\r\n  c", "c", sfDown | sfIncludeSpace, "ab\r\n  "},
    };
    for (const auto& c : cases) {
        rows.SetAllText(c.text);
        const TRowOffset from = HasOption(c.options, sfDown) ? TRowOffset{} : TextEnd(rows);
        EXPECT_EQ(ReplaceAllOf(rows, from, TSearchPattern(c.pattern, c.options), ""), c.expected) << c.text;
    }
}

// Replace-all (in batches of any size) gives what replacing match after
// match gives, and one undo gives the old bytes back.
TEST_F(RowsFixture, ReplaceAllAgreesWithReplacingOneByOne) {
    TRandomText random(23);
    for (int round = 0; round < 1500; ++round) {
        rows.SetAllText(random.Text(1 + random.Below(40), 8));
        const std::string pattern = random.Pattern();
        std::string text = rows.AllText();
        const std::string with = random.Below(6) == 0 ? std::string() : random.Text(1 + random.Below(3), 5);
        const TSearchOptions o = random.Options();
        TRowOffset from{random.Below(rows.Count()), 0};
        const std::int64_t fromOffset = TextOffset(from);
        // One by one on a plain string.
        int count = 0;
        std::int64_t pos = fromOffset;
        for (;;) {
            std::int64_t s = pos, l = 0;
            if (!SearchBuffer(text, s, l, pattern, o)) break;
            text.replace(static_cast<std::size_t>(s), static_cast<std::size_t>(l), with);
            pos = HasOption(o, sfDown) ? s + static_cast<std::int64_t>(with.size()) : s;
            ++count;
        }
        const std::string before = rows.AllText();
        const std::size_t batch = random.Below(2) ? kReplaceBatchBytes : static_cast<std::size_t>(1 + random.Below(20));
        TReplaceAll r;
        ASSERT_EQ(ReplaceAllOf(rows, from, TSearchPattern(pattern, o), with, &r, batch), text)
            << "round " << round << " options " << o << " batch " << batch << "\npattern " << Cp932ToUtf8(pattern)
            << "\nwith " << Cp932ToUtf8(with);
        ASSERT_EQ(r.Count, count) << "round " << round << " options " << o;
        ASSERT_EQ(r.Bytes, text.size()) << "round " << round;
        if (count == 0) continue;
        ASSERT_EQ(rows.UndoObj().UndoList().size(), 1u) << "round " << round;
        ASSERT_TRUE(rows.Undo());
        ASSERT_EQ(rows.AllText(), before) << "round " << round;
        rows.UndoObj().ClearHistory();
    }
}

}  // namespace
}  // namespace quodle
