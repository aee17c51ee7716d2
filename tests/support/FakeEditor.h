#pragma once
// A window-less editor for row-list tests: records what the row list asks
// of it and answers with settable metrics.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "text/EditorClient.h"
#include "text/EditorScreenStrings.h"
#include "text/EditorStrings.h"

namespace quodle::test {

class TFakeEditor : public TEditorClient {
public:
    int caretRow = 0, caretCol = 0, topRow = 0;
    bool focused = false;
    int screenHeight = 160, rowHeight = 16;  // ten rows
    bool initBracketsFull = false;
    bool wantsDepths = false;
    TRowStateParser* parser = nullptr;
    std::vector<std::string> log;
    int invalidFirst = -1, invalidLast = -1;  // union of InvalidateRows ranges

    int CaretRow() const override { return caretRow; }
    int CaretCol() const override { return caretCol; }
    int TopRow() const override { return topRow; }
    void PlaceCaret(int row, int col) override {
        caretRow = row;
        caretCol = col;
        log.push_back("caret " + std::to_string(row) + "," + std::to_string(col));
    }
    void SetTopRow(int row) override {
        topRow = row;
        log.push_back("top " + std::to_string(row));
    }
    void Deselect() override { log.push_back("deselect"); }
    void CaretBeginUpdate() override { log.push_back("caret{"); }
    void CaretEndUpdate() override { log.push_back("}caret"); }
    bool HasFocus() const override { return focused; }
    void InvalidateRows(int first, int last) override {
        invalidFirst = invalidFirst < 0 ? first : std::min(invalidFirst, first);
        invalidLast = std::max(invalidLast, last);
    }
    void InvalidateAll() override { log.push_back("repaint"); }
    void UpdateBlockBegin() override { log.push_back("block{"); }
    void UpdateBlockEnd() override { log.push_back("}block"); }
    void RowsChanged(bool textChanged) override { log.push_back(textChanged ? "changed" : "relaid"); }
    int ScreenHeight() const override { return screenHeight; }
    int RowHeight() const override { return rowHeight; }
    TRowStateParser* RowStateParser() override { return parser; }
    bool InitBracketsFull() const override { return initBracketsFull; }
    bool WantsBracketDepths() const override { return wantsDepths; }

    std::string Log() const {
        std::string s;
        for (const auto& e : log) s += (s.empty() ? "" : " ") + e;
        return s;
    }
    void ClearLog() {
        log.clear();
        invalidFirst = invalidLast = -1;
    }
};

// Counts '{' minus '}' into ElementIndex and says "open" in the state text
// while the count is above zero; counts its calls.
class TBraceParser : public TRowStateParser {
public:
    int scans = 0;
    TRowParseState ScanRow(std::string_view row, const TRowParseState& start) override {
        ++scans;
        TRowParseState next = start;
        for (char c : row) {
            if (c == '{') ++next.ElementIndex;
            if (c == '}' && next.ElementIndex > 0) --next.ElementIndex;
        }
        next.StateText = next.ElementIndex > 0 ? "open" : "";
        return next;
    }
};

// A row list and its lines on a focused fake editor, as in a window the
// user types into.
struct TFocusedRows {
    TEditorScreenStrings rows;
    TFakeEditor ed;
    TEditorStrings lines{rows, &ed};
    explicit TFocusedRows(TRowBlockSize size) : rows(size) {
        ed.focused = true;
        rows.Attach(&ed);
    }
};

}  // namespace quodle::test
