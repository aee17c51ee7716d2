#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "text/RowAttributeStringList.h"
#include "text/StringList.h"

namespace quodle {
namespace {

struct Item {
    std::string text, state;
    int data = 0;
    std::uint32_t w1 = 0, w2 = 0;
    bool operator==(const Item&) const = default;
};

Item ItemAt(const TheStringList& l, int i) {
    return {l.Get(i), l.StateText(i), l.Data(i), l.Attribute1(i), l.Attribute2(i)};
}

void ExpectSame(const TheStringList& l, const std::vector<Item>& model, const std::string& where) {
    ASSERT_EQ(l.Count(), static_cast<int>(model.size())) << where;
    std::size_t bytes = 0;
    for (int i = 0; i < l.Count(); ++i) {
        ASSERT_EQ(ItemAt(l, i), model[static_cast<std::size_t>(i)]) << where << " row " << i;
        bytes += model[static_cast<std::size_t>(i)].text.size();
    }
    EXPECT_EQ(l.TextBytes(), bytes) << where;
}

void Store(TheStringList& l, int i, const Item& it) {
    l.Put(i, it.text);
    l.SetStateText(i, it.state);
    l.SetData(i, it.data);
    l.SetAttribute1(i, it.w1);
    l.SetAttribute2(i, it.w2);
}

// The tally of a row attribute list counts soft-wrapped rows (word 1 ending
// in binary 01): ranks and selections against the model, in random order
// and in sequence.
void ExpectTally(const TRowAttributeStringList& l, const std::vector<Item>& model, std::mt19937& rng,
                 const std::string& where) {
    auto wrapped = [](const Item& it) { return (it.w1 & 3u) == 1u; };
    std::vector<int> untallied;
    int before = 0;
    const int n = static_cast<int>(model.size());
    std::vector<int> rank(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i < n; ++i) {
        rank[static_cast<std::size_t>(i)] = before;
        if (wrapped(model[static_cast<std::size_t>(i)])) ++before;
        else untallied.push_back(i);
    }
    rank[static_cast<std::size_t>(n)] = before;
    for (int k = 0; k < 8; ++k) {
        const int i = static_cast<int>(rng() % static_cast<unsigned>(n + 1));
        ASSERT_EQ(l.TalliedBefore(i), rank[static_cast<std::size_t>(i)]) << where << " index " << i;
        const int u = static_cast<int>(rng() % (untallied.size() + 2));
        ASSERT_EQ(l.NthUntallied(u), u < static_cast<int>(untallied.size()) ? untallied[static_cast<std::size_t>(u)] : n)
            << where << " n " << u;
    }
    for (int u = 0; u < static_cast<int>(untallied.size()); ++u)
        ASSERT_EQ(l.NthUntallied(u), untallied[static_cast<std::size_t>(u)]) << where << " in order " << u;
}

// Every operation of the list against a vector, with block limits small
// enough that each step splits or merges blocks.
TEST(TheStringList, RandomOperationsMatchAVector) {
    for (const TRowBlockSize size : {TRowBlockSize{1, 8}, TRowBlockSize{2, 6}, TRowBlockSize{3, 64},
                                     TRowBlockSize{4, 10}, TRowBlockSize{}}) {
        std::mt19937 rng(size.rows * 7919u + static_cast<unsigned>(size.bytes));
        auto rnd = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        auto randomItem = [&] {
            Item it;
            it.text = std::string(static_cast<std::size_t>(rnd(4) == 0 ? rnd(20) : rnd(4)), static_cast<char>('a' + rnd(26)));
            if (rnd(3) == 0) it.text += std::string("\0\x82\xA0", 3);
            if (rnd(5) == 0) it.state = "s" + std::to_string(rnd(100));
            if (rnd(4) == 0) it.data = rnd(1000) - 500;
            if (rnd(2) == 0) it.w1 = static_cast<std::uint32_t>(rng());
            if (rnd(4) == 0) it.w2 = static_cast<std::uint32_t>(rng());
            return it;
        };
        TRowAttributeStringList list(size);
        std::vector<Item> model;
        for (int step = 0; step < 3000; ++step) {
            const int n = static_cast<int>(model.size());
            const int op = rnd(13);
            const std::string where = "blocks " + std::to_string(size.rows) + " step " + std::to_string(step);
            if (op <= 2 || n == 0) {  // insert
                const int at = rnd(n + 1);
                const Item it = randomItem();
                list.Insert(at, it.text);
                Store(list, at, it);
                model.insert(model.begin() + at, it);
            } else if (op == 3 && rnd(2) == 0) {  // put
                const int at = rnd(n);
                const Item it = randomItem();
                Store(list, at, it);
                model[static_cast<std::size_t>(at)] = it;
            } else if (op == 3) {  // put part of a text; offset and length past its end are cut
                const int at = rnd(n);
                std::string& text = model[static_cast<std::size_t>(at)].text;
                const std::size_t offset = static_cast<std::size_t>(rnd(static_cast<int>(text.size()) + 3));
                const std::size_t length = static_cast<std::size_t>(rnd(5));
                const std::string part = randomItem().text;
                list.PutPart(at, offset, length, part);
                text.replace(std::min(offset, text.size()), length, part);
            } else if (op == 4) {
                const int at = rnd(n);
                list.Delete(at);
                model.erase(model.begin() + at);
            } else if (op == 5) {
                const int at = rnd(n), count = rnd(std::min(n - at, 12) + 1);
                list.DeleteRange(at, count);
                model.erase(model.begin() + at, model.begin() + at + count);
            } else if (op == 6) {
                const int a = rnd(n), b = rnd(n);
                list.Exchange(a, b);
                std::swap(model[static_cast<std::size_t>(a)], model[static_cast<std::size_t>(b)]);
            } else if (op == 7) {  // replace a range by rows of another list, copied or taken over
                TheStringList src({2, 16});
                std::vector<Item> srcItems;
                for (int k = rnd(4) == 0 ? rnd(40) : rnd(10); k > 0; --k) {
                    srcItems.push_back(randomItem());
                    src.Add(srcItems.back().text);
                    Store(src, src.Count() - 1, srcItems.back());
                }
                const int at = rnd(n + 1), count = rnd(std::min(n - at, 6) + 1);
                if (rnd(2) == 0) {
                    list.ReplaceFrom(at, count, src, 0, src.Count());
                } else {
                    list.ReplaceTakingAll(at, count, src);
                    ASSERT_EQ(src.Count(), 0) << where;
                }
                model.erase(model.begin() + at, model.begin() + at + count);
                model.insert(model.begin() + at, srcItems.begin(), srcItems.end());
            } else if (op == 8) {  // copy rows of the list into itself
                const int from = rnd(n), count = rnd(std::min(n - from, 5) + 1), at = rnd(n + 1);
                const std::vector<Item> copy(model.begin() + from, model.begin() + from + count);
                list.InsertFrom(at, list, from, count);
                model.insert(model.begin() + at, copy.begin(), copy.end());
            } else if (op == 9) {
                const int at = rnd(n + 1), count = rnd(5);
                list.InsertEmpty(at, count);
                model.insert(model.begin() + at, static_cast<std::size_t>(count), Item{});
            } else if (op == 10) {  // clear word bits from a row on
                const int at = rnd(n);
                const std::uint32_t keep1 = static_cast<std::uint32_t>(rng()), keep2 = static_cast<std::uint32_t>(rng());
                list.MaskAttributesFrom(at, keep1, keep2);
                for (int i = at; i < n; ++i) {
                    Item& it = model[static_cast<std::size_t>(i)];
                    it.w1 &= keep1;
                    it.w2 &= keep2;
                    it.state.clear();
                }
            } else if (op == 11) {  // through a list with another tally and back
                TheStringList other(size);
                list.SwapRows(other);
                ASSERT_EQ(list.Count(), 0);
                ASSERT_EQ(other.Count(), n);
                other.SwapRows(list);
            } else {  // loader appends
                TheStringList::TAppender app(list);
                const Item it = randomItem();
                app.Append(std::vector<std::string_view>{it.text, "tail"});
                app.SetLastAttribute1(it.w1);
                model.push_back(Item{it.text, "", 0, 0, 0});
                model.push_back(Item{"tail", "", 0, it.w1, 0});
            }
            if (step % 50 == 0 || size.rows <= 2) ExpectSame(list, model, where);
            if (step % 5 == 0) ExpectTally(list, model, rng, where);
            if (HasFatalFailure()) return;
        }
        ExpectSame(list, model, "end");
        EXPECT_GE(list.Capacity(), list.Count());
        list.Clear();
        EXPECT_EQ(list.Count(), 0);
        EXPECT_EQ(list.Capacity(), 0);
    }
}

// Many spans replaced in one pass against the same replacements made on a
// vector from the last to the first; the rows it displaced, put back by the
// spans the other way, give the list back. Tiny blocks, so that spans
// start, end and take whole blocks everywhere.
TEST(TheStringList, ReplacedSpansMatchAVectorAndPutBackGiveTheOldRows) {
    std::mt19937 rng(42);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto randomItem = [&] {
        Item it;
        it.text = std::string(static_cast<std::size_t>(pick(4) == 0 ? 30 : pick(6)), static_cast<char>('a' + pick(26)));
        if (pick(5) == 0) it.state = "s" + std::to_string(pick(9));
        if (pick(4) == 0) it.data = pick(100);
        if (pick(3) == 0) it.w1 = static_cast<std::uint32_t>(rng());
        if (pick(3) == 0) it.w2 = static_cast<std::uint32_t>(rng());
        return it;
    };
    const std::uint32_t keep1 = 0x3u, keep2 = 0xFFFF0000u;
    for (const TRowBlockSize size : {TRowBlockSize{1, 8}, TRowBlockSize{3, 16}, TRowBlockSize{4, 1024}, TRowBlockSize{}}) {
        for (int round = 0; round < 300; ++round) {
            const std::string where = "size " + std::to_string(size.rows) + " round " + std::to_string(round);
            TRowAttributeStringList list(size);
            std::vector<Item> model;
            for (int i = pick(30); i > 0; --i) {
                model.push_back(randomItem());
                list.Add({});
                Store(list, list.Count() - 1, model.back());
            }
            TheStringList source(size);
            std::vector<Item> fresh;
            std::vector<TRowsSpan> spans;
            for (int row = 0; row <= static_cast<int>(model.size()); ++row) {
                if (pick(3) != 0) continue;
                const int count = std::min(pick(4), static_cast<int>(model.size()) - row);
                spans.push_back({row, count, pick(4)});
                for (int k = 0; k < spans.back().NewCount; ++k) {
                    fresh.push_back(randomItem());
                    source.Add({});
                    Store(source, source.Count() - 1, fresh.back());
                }
                row += count - 1;  // the next may start where this one ends
            }
            // The expected rows: source rows with their words cut and no state.
            std::vector<Item> expected = model, gone;
            std::size_t next = fresh.size();
            for (auto s = spans.rbegin(); s != spans.rend(); ++s) {
                next -= static_cast<std::size_t>(s->NewCount);
                std::vector<Item> in(fresh.begin() + static_cast<std::ptrdiff_t>(next),
                                     fresh.begin() + static_cast<std::ptrdiff_t>(next) + s->NewCount);
                for (Item& it : in) {
                    it.w1 &= keep1;
                    it.w2 &= keep2;
                    it.state.clear();
                }
                const auto at = expected.begin() + s->Row;
                gone.insert(gone.begin(), at, at + s->Count);
                expected.erase(at, at + s->Count);
                expected.insert(expected.begin() + s->Row, in.begin(), in.end());
            }
            int changes = 0;
            list.OnChanged = [&] { ++changes; };
            TheStringList displaced(size);
            list.ReplaceSpans(spans, source, keep1, keep2, &displaced);
            ExpectSame(list, expected, where);
            ExpectSame(displaced, gone, where + " displaced");
            EXPECT_EQ(changes, spans.empty() ? 0 : 1) << where;
            ExpectTally(list, expected, rng, where);
            // Back: the spans where they stand now, taking the displaced rows.
            std::vector<TRowsSpan> back;
            int delta = 0;
            for (const TRowsSpan& s : spans) {
                back.push_back({s.Row + delta, s.NewCount, s.Count});
                delta += s.NewCount - s.Count;
            }
            list.ReplaceSpans(back, displaced, ~0u, ~0u, nullptr);
            for (Item& it : gone) it.state.clear();  // put back as new rows
            std::vector<Item> old = model;
            std::size_t g = 0;
            for (const TRowsSpan& s : spans)
                for (int k = 0; k < s.Count; ++k) old[static_cast<std::size_t>(s.Row + k)].state = gone[g++].state;
            ExpectSame(list, old, where + " back");
        }
    }
    // Spans out of order, overlapping or past the end are refused.
    TheStringList list, source;
    for (int i = 0; i < 4; ++i) list.Add("x");
    source.Add("y");
    const std::vector<std::vector<TRowsSpan>> bad = {
        {{2, 1, 0}, {1, 1, 0}}, {{0, 2, 0}, {1, 1, 0}}, {{3, 2, 0}}, {{0, 0, 2}}, {{-1, 1, 0}}};
    for (const auto& spans : bad) EXPECT_THROW(list.ReplaceSpans(spans, source, ~0u, ~0u, nullptr), EListError);
    EXPECT_EQ(list.Count(), 4);
}

TEST(TheStringList, IndexErrorsLeaveTheListUnchanged) {
    TheStringList list({2, 64});
    list.Add("a");
    list.Add("b");
    list.SetData(1, 7);
    auto expectError = [&](auto f) {
        try {
            f();
            ADD_FAILURE() << "no error";
        } catch (const EListError& e) {
            EXPECT_STREQ(e.what(), "リストのインデックスが範囲を超えています");
        }
    };
    expectError([&] { list.Get(2); });
    expectError([&] { list.Get(-1); });
    expectError([&] { list.Put(2, "x"); });
    expectError([&] { list.Insert(3, "x"); });
    expectError([&] { list.Delete(2); });
    expectError([&] { list.Exchange(0, 2); });
    expectError([&] { list.SetData(-1, 1); });
    expectError([&] { list.Attribute1(5); });
    expectError([&] { list.DeleteRange(1, 2); });
    expectError([&] { list.InsertFrom(0, list, 1, 2); });
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(0), "a");
    EXPECT_EQ(list.Get(1), "b");
    EXPECT_EQ(list.Data(1), 7);
    list.Insert(2, "c");  // Count itself is a valid insertion point
    EXPECT_EQ(list.Get(2), "c");
}

TEST(TheStringList, ChangeNotificationsAndUpdateBlocks) {
    TheStringList list;
    std::string log;
    list.OnChanging = [&] { log += '<'; };
    list.OnChanged = [&] { log += '>'; };
    list.Add("a");
    list.Put(0, "b");
    list.Insert(0, "c");
    list.Exchange(0, 1);
    list.Delete(0);
    list.Clear();
    EXPECT_EQ(log, "<><><><><><>");
    // The other fields change silently.
    list.Add("a");
    log.clear();
    list.SetData(0, 1);
    list.SetAttribute1(0, 1);
    list.SetStateText(0, "s");
    EXPECT_EQ(log, "");
}

TEST(TheStringList, UpdateBlockHoldsNotificationsUntilTheOutermostEnd) {
    TheStringList list;
    std::string log;
    list.OnChanging = [&] { log += '<'; };
    list.OnChanged = [&] { log += '>'; };
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("a");
    list.Add("b");
    list.EndUpdate();
    EXPECT_EQ(log, "");
    list.EndUpdate();
    EXPECT_EQ(log, ">");
    list.EndUpdate();  // unbalanced: ignored
    EXPECT_EQ(log, ">");
}

TEST(TheStringList, LongRowsGetBlocksOfTheirOwn) {
    // A row larger than the byte limit lives alone; its neighbours stay
    // reachable and editing it does not disturb them.
    TheStringList list({4, 16});
    const std::string big(1000, 'x');
    for (const char* s : {"a", "b", "c"}) list.Add(s);
    list.Insert(1, big);
    list.Put(2, big + "y");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Get(0), "a");
    EXPECT_EQ(list.Get(1), big);
    EXPECT_EQ(list.Get(2), big + "y");
    EXPECT_EQ(list.Get(3), "c");
    list.Put(1, "");
    list.Put(2, "d");
    EXPECT_EQ(list.TextBytes(), 3u);  // "a", "", "d", "c"
}

TEST(TheStringList, AttributeScansSkipToTheRightRows) {
    TheStringList list({3, 64});
    list.InsertEmpty(0, 20);
    list.SetAttribute1(4, 0x30);
    list.SetAttribute1(11, 0x10);
    list.SetAttribute1(12, 0x01);
    list.SetStateText(13, "t");
    list.SetAttribute2(14, 0x00FF00FF);
    EXPECT_EQ(list.FindPrevWithAttribute1(19, 0xF0), 11);
    EXPECT_EQ(list.FindPrevWithAttribute1(10, 0xF0), 4);
    EXPECT_EQ(list.FindPrevWithAttribute1(3, 0xF0), -1);
    EXPECT_EQ(list.FindPrevWithAttribute1(100, 0x01), 12);
    list.MaskAttributesFrom(5, 0x03, 0xFFFF0000);
    EXPECT_EQ(list.Attribute1(4), 0x30u);
    EXPECT_EQ(list.Attribute1(11), 0u);
    EXPECT_EQ(list.Attribute1(12), 0x01u);
    EXPECT_EQ(list.StateText(13), "");
    EXPECT_EQ(list.Attribute2(14), 0x00FF0000u);
    EXPECT_EQ(list.FindPrevWithAttribute1(19, 0xF0), 4);
    // Forward, within bounds that cut blocks (three rows each) anywhere.
    list.SetAttribute2(7, 0x00010000);
    EXPECT_EQ(list.FindNextWithAttribute2(0, 0x00FF0000), 7);
    EXPECT_EQ(list.FindNextWithAttribute2(8, 0x00FF0000), 14);
    EXPECT_EQ(list.FindNextWithAttribute2(0, 0x00FF0000, 7), -1);
    EXPECT_EQ(list.FindNextWithAttribute2(0, 0x00FF0000, 8), 7);
    EXPECT_EQ(list.FindNextWithAttribute2(8, 0x00FF0000, 14), -1);
    EXPECT_EQ(list.FindNextWithAttribute2(8, 0x00FF0000, 15), 14);
    EXPECT_EQ(list.FindNextWithAttribute2(15, 0x00FF0000, 100), -1);
    EXPECT_EQ(list.FindNextWithAttribute2(7, 0x00FF0000, 7), -1);
}

TEST(TheStringList, RowCursorReadsTheRowsInOrderAcrossBlocks) {
    for (const TRowBlockSize size : {TRowBlockSize{1, 8}, TRowBlockSize{3, 16}, TRowBlockSize{}}) {
        TheStringList list(size);
        std::mt19937 rng(7);
        for (int i = 0; i < 60; ++i) {
            std::string text(rng() % 6, 'a');
            if (!text.empty() && rng() % 4 == 0) text[rng() % text.size()] = '@';
            list.Add(text);
            if (i % 5 == 0) list.SetAttribute1(i, static_cast<std::uint32_t>(i + 1));
        }
        for (const int from : {0, 1, 17, 59, 60}) {
            int r = from;
            for (TheStringList::TRowCursor row(list, from); !row.AtEnd(); row.Next(), ++r) {
                const std::string where = std::to_string(size.rows) + " from " + std::to_string(from) + " row " +
                                          std::to_string(r);
                ASSERT_EQ(row.Row(), r) << where;
                EXPECT_EQ(row.Text(), list.View(r)) << where;
                EXPECT_EQ(row.Word1(), list.Attribute1(r)) << where;
                // Rows passed over unasked, and another byte asked in
                // between, must not leave a stale answer for '@'.
                if (r % 4 != 3) {
                    EXPECT_EQ(row.Holds('@'), list.View(r).find('@') != std::string::npos) << where;
                }
                if (r % 3 == 0) {
                    EXPECT_EQ(row.Holds('a'), list.View(r).find('a') != std::string::npos) << where;
                }
            }
            EXPECT_EQ(r, list.Count());
        }
    }
}

TEST(TRowAttributeStringList, EveryFieldIsPackedBitExact) {
    using L = TRowAttributeStringList;
    struct Case {
        void (L::*set)(int, int);
        int (L::*get)(int) const;
        int value;
        int word;
        std::uint32_t mask, bits;
    } cases[] = {
        {&L::SetPrevRowEnding, &L::PrevRowEnding, 2, 1, 0x0000000C, 0x8},
        {&L::SetBracketIndex, &L::BracketIndex, -1, 1, 0x000000F0, 0x10},
        {&L::SetBracketIndex, &L::BracketIndex, 0, 1, 0x000000F0, 0x20},
        {&L::SetBracketIndex, &L::BracketIndex, 13, 1, 0x000000F0, 0xF0},
        {&L::SetElementIndex, &L::ElementIndex, 0xA5, 1, 0x0000FF00, 0xA500},
        {&L::SetWrappedBytes, &L::WrappedBytes, 0x5A, 1, 0x00FF0000, 0x5A0000},
        {&L::SetElementKind, &L::ElementKind, 0xC3, 1, 0xFF000000, 0xC3000000},
        {&L::SetWrappedToken, &L::WrappedToken, 0x1E, 2, 0x000000FF, 0x1E},
        {&L::SetElementFlag, &L::ElementFlag, 0x81, 2, 0x0000FF00, 0x8100},
    };
    for (const auto& c : cases) {
        L list;
        list.Add("x");
        auto word = [&](int w) { return w == 1 ? list.Attribute1(0) : list.Attribute2(0); };
        (list.*c.set)(0, c.value);
        EXPECT_EQ(word(c.word), c.bits) << c.value;
        EXPECT_EQ(word(3 - c.word), 0u) << c.value;
        EXPECT_EQ((list.*c.get)(0), c.value);
        // A setter replaces its own bits and keeps every other one.
        list.SetAttribute1(0, 0xFFFFFFFF);
        list.SetAttribute2(0, 0xFFFFFFFF);
        (list.*c.set)(0, c.value);
        EXPECT_EQ(word(c.word), ~c.mask | c.bits) << c.value;
        EXPECT_EQ(word(3 - c.word), 0xFFFFFFFFu) << c.value;
        EXPECT_EQ((list.*c.get)(0), c.value);
    }
    TRowAttributeStringList list;
    list.Add("x");
    EXPECT_EQ(list.BracketIndex(0), -2);  // all-zero word: not computed
    EXPECT_FALSE(list.StateComputed(0));
    list.SetRowEnding(0, reNoBreak);
    list.SetRowMarks(0, 0x8001);
    EXPECT_EQ(list.Attribute1(0), 0x2u);
    EXPECT_EQ(list.Attribute2(0), 0x80010000u);
    EXPECT_EQ(list.RowEnding(0), reNoBreak);
    EXPECT_EQ(list.RowMarks(0), 0x8001);
    // Values are cut to their field width.
    list.SetElementIndex(0, 0x1FF);
    EXPECT_EQ(list.Attribute1(0), 0xFF02u);
    list.SetRowEnding(0, 7);
    EXPECT_EQ(list.Attribute1(0), 0xFF03u);
}

TEST(TRowAttributeStringList, StateRecordKeepsEndingAndMarks) {
    TRowAttributeStringList list;
    list.Add("x");
    list.SetRowEnding(0, reWrapped);
    list.SetRowMarks(0, 0x0102);
    TRowParseState s;
    s.RowEnding = reNoBreak;  // not stored: the row keeps its own
    s.PrevRowEnding = reWrapped;
    s.BracketIndex = 3;
    s.ElementIndex = 200;
    s.WrappedBytes = 17;
    s.ElementKind = 9;
    s.WrappedToken = 30;
    s.ElementFlag = 0x42;
    s.StateText = "abc";
    list.SetRowState(0, s);
    EXPECT_EQ(list.Attribute1(0), 0x0911C855u);
    EXPECT_EQ(list.Attribute2(0), 0x0102421Eu);
    TRowParseState back = list.RowState(0);
    EXPECT_EQ(back.RowEnding, reWrapped);
    EXPECT_TRUE(back.SameStateAs(s));
    list.InvalidateRowState(0);
    EXPECT_EQ(list.Attribute1(0), 0x1u);
    EXPECT_EQ(list.Attribute2(0), 0x01020000u);
    EXPECT_EQ(list.StateText(0), "");
    EXPECT_EQ(list.BracketIndex(0), -2);
}

}  // namespace
}  // namespace quodle
