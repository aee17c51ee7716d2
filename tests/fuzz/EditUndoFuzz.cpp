// libFuzzer target for edits and their undo: a text and a sequence of row
// replacements (of whole rows, or of the part between a kept head and
// tail), bulk edits of whole lines, undos and redos, with or without word
// wrap, on storage blocks of a few rows. Every replacement must leave the text with the
// replaced rows' text (their breaks included) replaced; after every step
// the rows must be what a new row list makes of the same text (the same
// cuts and the same tokenizer states as a scan from the top); undoing every
// step must give back the first text, redoing them all the last one.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "text/EditorScreenStrings.h"
#include "text/LineEdits.h"
#include "support/FakeEditor.h"
#include "syntax/ProgramFountains.h"

namespace {

using quodle::TEditorScreenStrings;

// What a text is made of: LISP brackets, strings, comments and block
// comments, breaks of every kind, tabs, double-byte characters, a lone lead
// byte, words long enough to wrap.
constexpr const char* kPieces[] = {
    "(", ")", "\"", ";", ";|", "|;", " ", "\t", "\r\n", "\r", "\n", "setq", "a", "\\",
    "\x82\xA0", "\x88\x9F", "\x81", "1.5", "http://x.y", "(defun f (/ a) (princ \"x\"))", "abcdefghijklmnopqrstuvw",
};

std::string MakeText(FuzzedDataProvider& in, std::size_t maxPieces) {
    std::string text;
    for (std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, maxPieces); n > 0 && in.remaining_bytes() > 0; --n)
        text += kPieces[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kPieces) - 1)];
    return text;
}

// The documents' fountain, made once: it does not change while fuzzing.
quodle::TFountain& Fountain() {
    static const std::unique_ptr<quodle::THyphenFountain> fountain = quodle::CreateHyphenFountain1();
    return *fountain;
}

struct TDocument {
    quodle::test::TFakeEditor editor;
    TEditorScreenStrings rows;

    TDocument(quodle::TRowBlockSize blocks, bool wrap, int wrapByte, int tabs) : rows(blocks) {
        editor.parser = &Fountain().StateParser();
        rows.Attach(&editor);
        rows.SetTabSpaceCount(tabs);
        rows.WrapOption().SetWrapByte(wrapByte);
        rows.SetWordWrap(wrap);
    }
};

// The rows as a new row list makes them of the same text: texts, endings
// and the tokenizer state at the start of every row.
void CheckAgainstNew(TDocument& doc, quodle::TRowBlockSize blocks, bool wrap, int wrapByte, int tabs) {
    TDocument fresh(blocks, wrap, wrapByte, tabs);
    const std::string text = doc.rows.AllText();
    fresh.rows.SetAllText(text);
    // SetAllText ends a text without a final break on a row without one;
    // so must the edits have left it.
    if (fresh.rows.Count() != doc.rows.Count()) std::abort();
    for (int r = 0; r < doc.rows.Count(); ++r) {
        if (doc.rows.View(r) != fresh.rows.View(r)) std::abort();
        if (doc.rows.RowEnding(r) != fresh.rows.RowEnding(r)) std::abort();
        const quodle::TRowParseState a = doc.rows.EnsureRowState(r);
        const quodle::TRowParseState b = fresh.rows.EnsureRowState(r);
        if (!a.SameStateAs(b)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const quodle::TRowBlockSize blocks{in.ConsumeIntegralInRange<int>(1, 4), in.ConsumeIntegralInRange<std::size_t>(1, 64)};
    const bool wrap = in.ConsumeBool();
    const int wrapByte = in.ConsumeIntegralInRange<int>(20, 40);
    const int tabs = in.ConsumeIntegralInRange<int>(1, 8);
    TDocument doc(blocks, wrap, wrapByte, tabs);
    doc.rows.SetAllText(MakeText(in, 40));

    // texts[k] is the text after k recorded steps; `at` is where undo and
    // redo have brought it.
    std::vector<std::string> texts{doc.rows.AllText()};
    std::size_t at = 0;
    for (int step = 0; step < 24 && in.remaining_bytes() > 0; ++step) {
        switch (in.ConsumeIntegralInRange<int>(0, 6)) {
            case 0:
                if (doc.rows.Undo() != (at > 0)) std::abort();
                if (at > 0) --at;
                break;
            case 1:
                if (doc.rows.Redo() != (at + 1 < texts.size())) std::abort();
                if (at + 1 < texts.size()) ++at;
                break;
            case 2: {
                // Lines inserted, replaced and deleted all over as one edit,
                // against the same edits on a list of lines made from the
                // last to the first.
                const std::string all = doc.rows.AllText();
                std::vector<std::string> lines;
                for (std::size_t from = 0; from < all.size();) {
                    const std::size_t end = std::min(all.find("\r\n", from), all.size());
                    lines.push_back(all.substr(from, end - from));
                    from = end + 2;
                }
                const bool finalBreak = all.empty() || all.ends_with("\r\n");
                auto word = [&] {
                    std::string w = in.ConsumeRandomLengthString(8);
                    std::erase_if(w, [](char c) { return c == '\r' || c == '\n'; });
                    return w;
                };
                quodle::TLineEdits edits;
                std::vector<std::string> model = lines;
                for (int line = 0; line <= static_cast<int>(lines.size()) && in.remaining_bytes() > 0; ++line) {
                    const int what = in.ConsumeIntegralInRange<int>(0, 7);
                    // An empty line after the last of a text without a break is no line.
                    if (what == 0) edits.Insert(line, line == static_cast<int>(lines.size()) ? "z" + word() : word());
                    if (line == static_cast<int>(lines.size())) break;
                    if (what == 1) edits.Replace(line, word());
                    if (what == 2) edits.Delete(line);
                }
                for (std::size_t k = edits.size(); k-- > 0;) {
                    const auto at = model.begin() + edits[k].Line;
                    if (edits[k].Kind == quodle::TLineEdits::leInsert) model.insert(at, std::string(edits.Text(edits[k])));
                    else if (edits[k].Kind == quodle::TLineEdits::leReplace) *at = edits.Text(edits[k]);
                    else model.erase(at);
                }
                std::string expected;
                for (std::size_t i = 0; i < model.size(); ++i)
                    expected += model[i] + (i + 1 < model.size() || finalBreak ? "\r\n" : "");
                quodle::ApplyLineEdits(doc.rows, edits);
                if (doc.rows.AllText() != expected) std::abort();
                if (edits.empty()) break;
                texts.resize(at + 1);
                texts.push_back(doc.rows.AllText());
                ++at;
                break;
            }
            default: {
                const int n = doc.rows.Count();
                const int row = in.ConsumeIntegralInRange<int>(0, n);
                const int count = in.ConsumeIntegralInRange<int>(0, n - row);
                const std::string text = MakeText(in, 6);
                // Either the rows' whole text is replaced or what lies
                // between a kept head and tail of it.
                const std::string old = count > 0 ? doc.rows.RowsText(row, count).text : std::string();
                const bool part = in.ConsumeBool();
                const std::size_t head = part ? in.ConsumeIntegralInRange<std::size_t>(0, old.size()) : 0;
                const std::size_t tail = part ? in.ConsumeIntegralInRange<std::size_t>(0, old.size() - head) : 0;
                // The rows' text with that part replaced, every break made a
                // CR LF.
                TEditorScreenStrings expected;
                expected.SetAllText(doc.rows.RowsText(0, row).text + old.substr(0, head) + text +
                                    old.substr(old.size() - tail) + doc.rows.RowsText(row + count, n - row - count).text);
                const std::size_t before = doc.rows.UndoObj().UndoList().size();
                doc.rows.ReplaceRows(row, count, head, tail, text);
                if (doc.rows.AllText() != expected.AllText()) std::abort();
                if (doc.rows.UndoObj().UndoList().size() == before) break;  // nothing to do
                texts.resize(at + 1);
                texts.push_back(doc.rows.AllText());
                ++at;
            }
        }
        if (doc.rows.AllText() != texts[at]) std::abort();
        CheckAgainstNew(doc, blocks, wrap, wrapByte, tabs);
    }
    while (doc.rows.Undo()) {
    }
    if (doc.rows.AllText() != texts.front()) std::abort();
    CheckAgainstNew(doc, blocks, wrap, wrapByte, tabs);
    while (doc.rows.Redo()) {
    }
    if (doc.rows.AllText() != texts.back()) std::abort();
    CheckAgainstNew(doc, blocks, wrap, wrapByte, tabs);
    return 0;
}
