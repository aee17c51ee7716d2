// Painting of TEditor: the left bar with row numbers and every visible row
// cut into its tokens, each drawn in its colour and style on the cell grid.
// Glyphs are placed one per character at its own cell, so alignment never
// depends on the font's advance widths; a run of one colour is one glyph
// run. Row states come from the row list, so no scan from the top of the
// text is ever needed.
#include <QGlyphRun>
#include <QMetaMethod>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "base/ShiftJis.h"
#include "base/qt/FontSubstitutes.h"
#include "base/qt/QtColor.h"
#include "editor/EditorCaret.h"
#include "editor/qt/Editor.h"
#include "syntax/EditorTokens.h"
#include "syntax/TokenCells.h"

namespace quodle {

namespace {

// Shown for bytes that stand for no character.
constexpr char16_t kUndecodable = u'\u30FB';

// The character of one or two Shift-JIS bytes, from tables filled on first
// use (a row is drawn without allocating per character).
char16_t DecodeChar(std::string_view bytes) {
    static std::array<char16_t, 256> single{};
    static std::vector<char16_t> pairs(65536, 0);
    auto decode = [](std::string_view s) {
        const std::u16string u = Cp932ToUtf16(s);
        return u.size() == 1 && (u[0] < kInvalidByteBase || u[0] > kInvalidByteBase + 0xFF) ? u[0] : kUndecodable;
    };
    if (bytes.size() == 1) {
        const auto b = static_cast<unsigned char>(bytes[0]);
        if (single[b] == 0) single[b] = decode(bytes);
        return single[b];
    }
    const std::size_t key = static_cast<unsigned char>(bytes[0]) << 8 | static_cast<unsigned char>(bytes[1]);
    if (pairs[key] == 0) pairs[key] = decode(bytes);
    return pairs[key];
}

constexpr quint32 kNoGlyph = 0xFFFFFFFFu;

}  // namespace

// Glyphs are collected over all painted rows and drawn with one call per
// colour and style: the toolkit's cost per call outweighs its cost per glyph.
struct TEditor::TGlyphSink {
    struct TBatch {
        QRgb color;
        int style;
        QList<quint32> indexes;
        QList<QPointF> positions;
    };
    std::vector<TBatch> batches;

    void Add(QRgb color, int style, quint32 glyph, QPointF position) {
        TBatch* batch = nullptr;
        for (TBatch& b : batches)
            if (b.color == color && b.style == style) batch = &b;
        if (batch == nullptr) {
            batches.push_back({color, style, {}, {}});
            batch = &batches.back();
            batch->indexes.reserve(4096);
            batch->positions.reserve(4096);
        }
        batch->indexes.append(glyph);
        batch->positions.append(position);
    }
    void Draw(QPainter& p, const std::array<QRawFont, 4>& fonts) {
        for (TBatch& b : batches) {
            QGlyphRun run;
            run.setRawFont(fonts[static_cast<std::size_t>(b.style)]);
            run.setGlyphIndexes(b.indexes);
            run.setPositions(b.positions);
            p.setPen(QColor::fromRgb(b.color));
            p.drawGlyphRun(QPointF(0, 0), run);
        }
    }
};

quint32 TEditor::GlyphOf(char16_t ch, int style) {
    std::vector<quint32>& cache = glyphCache_[static_cast<std::size_t>(style)];
    if (cache.empty()) cache.assign(65536, kNoGlyph);
    quint32& glyph = cache[ch];
    if (glyph == kNoGlyph) {
        const QChar c(ch);
        int count = 1;
        glyph = 0;
        const QRawFont& font = rawFonts_[static_cast<std::size_t>(style)];
        if (font.isValid()) font.glyphIndexesForChars(&c, 1, &glyph, &count);
    }
    return glyph;
}

void TEditor::UpdateMetrics() {
    RegisterFontSubstitutes();
    textFont_ = QFont(QString::fromStdString(font_.Name));
    textFont_.setPixelSize(FontPixelHeight(font_.Size));
    textFont_.setStyleHint(QFont::TypeWriter);
    textFont_.setKerning(false);
    for (int style = 0; style < 4; ++style) {
        QFont f = textFont_;
        f.setBold(style & 1);
        f.setItalic(style & 2);
        rawFonts_[static_cast<std::size_t>(style)] = QRawFont::fromFont(f);
        glyphCache_[static_cast<std::size_t>(style)].clear();
    }
    const QFontMetricsF fm(textFont_);
    fontCell_.AverageWidth = static_cast<int>(std::ceil(fm.horizontalAdvance(QLatin1Char('0'))));
    fontCell_.Height = static_cast<int>(std::ceil(fm.height()));
    fontCell_.ExternalLeading = static_cast<int>(std::ceil(fm.leading()));
    ascent_ = static_cast<int>(std::ceil(fm.ascent()));
    const TEditorGeometry geometry = Geometry();
    cellWidth_ = geometry.CellWidth;
    rowHeight_ = geometry.RowHeight;
    UpdateScrollBars();
    updateMicroFocus();
    viewport()->update();
}

void TEditor::SetColor(TColor color) {
    color_ = color;
    viewport()->update();
}

void TEditor::SetBracketDepthColors(bool value) {
    if (value == bracketDepthColors_) return;
    bracketDepthColors_ = value;
    rows_->RefreshBracketDepths();
    viewport()->update();
}

void TEditor::SetEditorFont(const TEditorFontProp& font) {
    font_ = font;
    UpdateMetrics();
}

void TEditor::SetSelectColors(const TEditorSelectColorProp& colors) {
    select_ = colors;
    viewport()->update();
}

std::pair<int, int> TEditor::SelectedCells(int row, int rowWidth) const {
    if (!Selected()) return {0, 0};
    if (selectionMode_ == selBox) {
        const TBoxRange box = SelectionBox();
        if (row < box.Top || row > box.Bottom) return {0, 0};
        return {box.Left, box.Right};
    }
    const TStreamRange range = SelectionRange();
    if (row < range.Start.Row || row > range.End.Row) return {0, 0};
    const TEditorAttributeArray map = CellMap(row);
    const int first = row == range.Start.Row ? map.OffsetToColumn(range.Start.Offset) : 0;
    // A selected line break shows as one more cell.
    const int last = row == range.End.Row ? map.OffsetToColumn(range.End.Offset)
                                          : rowWidth + (RowEndingOf(row) == reBreak ? 1 : 0);
    return {first, last};
}

void TEditor::paintEvent(QPaintEvent* event) {
    QPainter p(viewport());
    const QRect area = event->rect();
    // What this paint covers is drawn anew, a caret that stood there gone.
    if (!caretOnScreen_.isEmpty() && (event->region() & caretOnScreen_) == QRegion(caretOnScreen_))
        caretOnScreen_ = QRect();
    p.fillRect(area, ToQColor(color_, Qt::white));
    p.setFont(textFont_);
    const int first = std::max(0, (area.top() - TextTop()) / rowHeight_);
    const int last = std::min(VisibleRowCount(), (area.bottom() - TextTop()) / rowHeight_ + 1);
    const int n = rows_->Count();
    // Row states carried from the first painted row, which the row list
    // computes on demand from the nearest stored state above it.
    const int firstRow = topRow_ + first;
    TRowParseState state = firstRow < n ? rows_->EnsureRowState(firstRow) : TRowParseState{};
    const bool drawLineConnected = isSignalConnected(QMetaMethod::fromSignal(&TEditor::DrawLine));
    // Bracket depths carried from the first painted row as the states are.
    std::optional<TDepthColoring> depths;
    if (bracketDepthColors_ && firstRow < n) depths.emplace(IsDarkBackground(color_), rows_->BracketDepthAt(firstRow));
    TGlyphSink glyphs;
    std::vector<TTokenSpan> tokens;
    for (int i = first; i <= last; ++i) {
        const int row = topRow_ + i;
        const int y = TextTop() + i * rowHeight_;
        if (leftbar_.Visible) PaintLeftbar(p, row, y);
        // Picture marks may reach into the left bar's margin.
        if (imagebar_.Visible) PaintImagebar(p, row, y);
        // Rows past the text show no selection.
        const std::pair<int, int> selection = row < n ? SelectedCells(row, RowWidth(row)) : std::pair{0, 0};
        const bool drawnSelected = selection.first < selection.second;
        // A row drawn as selected keeps the plain background beside its selection.
        if (const TColor tint = drawnSelected ? clNone : RowTintOf(row); tint != clNone)
            p.fillRect(TextLeft(), y, viewport()->width() - TextLeft(), rowHeight_, ToQColor(tint));
        if (row >= n) continue;
        TNextRow next;
        const bool wrapped = rows_->RowEnding(row) == reWrapped && row + 1 < n;
        if (wrapped) next = {rows_->View(row + 1), rows_->RowEnding(row + 1)};
        state.RowEnding = rows_->RowEnding(row);
        // A byte takes a cell at least: the tokens starting in as many bytes
        // as there are cells to show are all a row can show.
        const bool whole = LeadingTokens(*parser_, rows_->View(row), wrapped ? &next : nullptr, state,
                                         static_cast<std::size_t>(kMaxMappedCells), tokens);
        if (whole)
            state.PrevRowEnding = rows_->RowEnding(row);
        else if (row + 1 < n)
            state = rows_->EnsureRowState(row + 1);
        const int depth = depths ? depths->Depth() : 0;
        PaintRow(p, row, y, tokens, selection, glyphs, depths);
        if (depths) {
            // The painted part may end before the row does.
            if (whole)
                depths->Pass(depth, tokens, rows_->View(row));
            else
                depths->SetDepth(rows_->BracketDepthAt(row + 1));
        }
    }
    p.save();
    p.setClipRect(QRect(TextLeft(), 0, viewport()->width() - TextLeft(), viewport()->height()));
    glyphs.Draw(p, rawFonts_);
    p.restore();
    // What the program draws over a row and the marks go over the text, so
    // they come once its glyphs are down.
    for (int i = first; i <= last; ++i) {
        const int row = topRow_ + i;
        const int y = TextTop() + i * rowHeight_;
        if (drawLineConnected && row < n) {
            const std::string_view text = rows_->View(row);
            const auto [selFirst, selLast] = SelectedCells(row, RowWidth(row));
            const QRect rect(TextLeft(), y, viewport()->width() - TextLeft(), rowHeight_);
            // The row's own bytes, not a copy: a row may be megabytes long.
            emit DrawLine(&p, QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size())),
                          TextLeft() - topCol_ * cellWidth_, y, row, rect, selFirst < selLast);
        }
        PaintEndMarks(p, row, y);
        if (row < n) {
            PaintHit(p, row, y);
            PaintRowOverlay(p, row, y);
        }
    }
    PaintTextOverlay(p);
    if (ruler_.Visible) PaintRuler(p);
    if (!preedit_.isEmpty()) PaintPreedit(p);
    const QRect caret = dropCaret_ ? PaintDropCaret(p) : hasFocus() ? PaintCaret(p) : QRect();
    if (const QRect drawn = (event->region() & caret).boundingRect(); !drawn.isEmpty()) caretOnScreen_ |= drawn;
}

void TEditor::PaintRow(QPainter& p, int row, int y, std::span<const TTokenSpan> tokens,
                       std::pair<int, int> selection, TGlyphSink& glyphs, std::optional<TDepthColoring>& depths) {
    const std::string_view text = rows_->View(row);
    const TCellLayout layout = Layout();
    const QColor defaultText = ToQColor(font_.Color, Qt::black);
    const QColor selectText = ToQColor(select_.Color, Qt::white);
    const QColor selectBack = ToQColor(select_.BkColor, QColor(0, 0, 128));
    const int visibleEnd = std::min(topCol_ + VisibleColCount() + 1, kMaxMappedCells);
    const int textLeft = TextLeft();
    auto xOf = [&](int column) { return textLeft + (column - topCol_) * cellWidth_; };
    const int baseline = y + ascent_;

    p.save();
    p.setClipRect(QRect(textLeft, y, viewport()->width() - textLeft, rowHeight_));
    const auto [selFirst, selLast] = selection;

    // The colours of the current token, looked up once per token.
    const TFountainColor* lookOf = nullptr;
    QColor tokenFore = defaultText;
    TColor tokenBack = clNone;
    TFontStyles tokenStyle;
    int column = 0;
    const auto colorOf = [&](const TTokenSpan& token) { return TokenColorBy(depths, *parser_, token, text); };
    ForEachTokenCell(text, tokens, layout, visibleEnd, colorOf, [&](const TTokenCell& cell) {
        column = cell.Column + cell.Cells;
        if (column <= topCol_) return;
        if (cell.Color != lookOf) {
            lookOf = cell.Color;
            tokenFore = ToQColor(lookOf ? lookOf->Color() : clNone, defaultText);
            tokenBack = lookOf ? lookOf->BkColor() : clNone;
            tokenStyle = lookOf ? lookOf->Style() : TFontStyles();
        }
        const int cells = cell.Cells;
        const bool selected = cell.Column >= selFirst && cell.Column < selLast;
        const int x = xOf(cell.Column);
        if (selected) p.fillRect(x, y, cells * cellWidth_, rowHeight_, selectBack);
        else if (tokenBack != clNone) p.fillRect(x, y, cells * cellWidth_, rowHeight_, ToQColor(tokenBack));
        const QColor& fore = selected ? selectText : tokenFore;
        if (tokenStyle.Contains(fsUnderline)) p.fillRect(x, baseline + 1, cells * cellWidth_, 1, fore);
        if (tokenStyle.Contains(fsStrikeOut)) p.fillRect(x, y + ascent_ * 2 / 3, cells * cellWidth_, 1, fore);
        const int style = (tokenStyle.Contains(fsBold) ? 1 : 0) | (tokenStyle.Contains(fsItalic) ? 2 : 0);
        AddCharGlyph(p, glyphs, text.substr(cell.Pos, cell.Length), cell.Column, QPointF(x, baseline), fore, style);
    });
    // Selected cells past the text (a selected break, a box beyond the row).
    const int tailFrom = std::max({selFirst, topCol_, std::min(column, visibleEnd)});
    const int tailTo = std::min(selLast, visibleEnd);
    if (tailFrom < tailTo) p.fillRect(xOf(tailFrom), y, (tailTo - tailFrom) * cellWidth_, rowHeight_, selectBack);
    p.restore();
}

void TEditor::AddCharGlyph(QPainter& p, TGlyphSink& glyphs, std::string_view bytes, int column, QPointF at,
                           const QColor& fore, int style) {
    const auto b = static_cast<unsigned char>(bytes.front());
    // Half a double-byte character could pass for another one: a character
    // scrolled partly out on the left shows its visible half blank.
    if (b == '\t' || b < 0x20 || column < topCol_) return;
    const char16_t ch = DecodeChar(bytes);
    if (const quint32 glyph = GlyphOf(ch, style); glyph != 0) {
        glyphs.Add(fore.rgb(), style, glyph, at);
        return;
    }
    // A character the face lacks: the toolkit finds a font.
    QFont font = textFont_;
    font.setBold((style & 1) != 0);
    font.setItalic((style & 2) != 0);
    p.setFont(font);
    p.setPen(fore);
    p.drawText(at, QString(QChar(ch)));
}

void TEditor::RedrawRanges(QPainter& p, int row, int y, std::span<const std::pair<int, int>> ranges, bool bold,
                           const std::function<TCellColors(int column)>& colors) {
    if (row < 0 || row >= rows_->Count() || ranges.empty()) return;
    const std::string_view text = rows_->View(row);
    const TCellLayout layout = Layout();
    const int textLeft = TextLeft();
    const int style = bold ? 1 : 0;
    const int end = std::min(ranges.back().second, static_cast<int>(text.size()));
    p.save();
    p.setClipRect(QRect(textLeft, y, viewport()->width() - textLeft, rowHeight_));
    // The same glyphs as the row's own, drawn together.
    TGlyphSink glyphs;
    std::size_t range = 0;
    int column = 0;
    for (int i = 0; i < end && column < kMaxMappedCells;) {
        const std::size_t length = CharLengthAt(text, static_cast<std::size_t>(i));
        const int cells = text[static_cast<std::size_t>(i)] == '\t' ? TabWidthAt(column, layout) : static_cast<int>(length);
        while (range < ranges.size() && ranges[range].second <= i) ++range;
        if (range < ranges.size() && ranges[range].first <= i) {
            const TCellColors cell = colors(column);
            const int x = textLeft + (column - topCol_) * cellWidth_;
            p.fillRect(x, y, cells * cellWidth_, rowHeight_, cell.Back);
            AddCharGlyph(p, glyphs, text.substr(static_cast<std::size_t>(i), length), column, QPointF(x, y + ascent_),
                         cell.Fore, style);
        }
        column += cells;
        i += static_cast<int>(length);
    }
    glyphs.Draw(p, rawFonts_);
    p.restore();
}

void TEditor::RedrawChars(QPainter& p, int row, int y, int from, int to, const QColor& fore, const QColor& back,
                          bool bold) {
    const std::pair<int, int> range{std::max(from, 0), to};
    RedrawRanges(p, row, y, {&range, 1}, bold, [&](int) { return TCellColors{fore, back}; });
}

void TEditor::RedrawRowChars(QPainter& p, int row, int y, std::span<const std::pair<int, int>> ranges,
                             const QColor& fore, bool bold) {
    if (row < 0 || row >= rows_->Count()) return;
    const auto [selFirst, selLast] = SelectedCells(row, RowWidth(row));
    // A row drawn as selected shows no tint beside its selection.
    const TColor tint = selFirst < selLast ? clNone : RowTintOf(row);
    const TCellColors plain{fore, ToQColor(tint != clNone ? tint : color_, Qt::white)};
    const TCellColors selected{ToQColor(select_.Color, Qt::white), ToQColor(select_.BkColor, QColor(0, 0, 128))};
    RedrawRanges(p, row, y, ranges, bold,
                 [&](int column) { return column >= selFirst && column < selLast ? selected : plain; });
}

QRect TEditor::PaintCaret(QPainter& p) {
    const QRect cell = CaretRect();
    if (cell.left() < TextLeft() || row_ < topRow_) return {};
    const QColor color = ToQColor(font_.Color, Qt::black);
    const int preeditCells = [&] {
        if (preedit_.isEmpty()) return 0;
        const QString before = preedit_.left(preeditCursor_);
        return static_cast<int>(Utf16ToCp932(std::u16string_view(reinterpret_cast<const char16_t*>(before.utf16()),
                                                                  static_cast<std::size_t>(before.size())))
                                    .size());
    }();
    const int x = cell.left() + preeditCells * cellWidth_;
    if (hitStyle_ == hsCaret && hitLength_ > 0) {
        // As wide as the hit on the caret row, drawn inverted over the text.
        const auto [from, to] = HitBytesOfRow(row_);
        const TEditorAttributeArray map = CellMap(row_);
        const int cells = std::max(1, map.OffsetToColumn(to) - map.OffsetToColumn(from));
        const QRect inverted(x, cell.top(), cells * cellWidth_, rowHeight_);
        p.save();
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.fillRect(inverted, Qt::white);
        p.restore();
        return inverted;
    }
    QRect shape(x, cell.top(), 2, rowHeight_);
    if (caret_.Style == csBrief) shape = QRect(x, cell.bottom() - 1, cellWidth_, 2);
    else if (overwrite_) shape = QRect(x, cell.top() + rowHeight_ / 2, cellWidth_, rowHeight_ - rowHeight_ / 2);
    p.fillRect(shape, color);
    return shape;
}

QRect TEditor::PaintDropCaret(QPainter& p) {
    const int x = TextLeft() + (dropCaret_->Col - topCol_) * cellWidth_;
    if (x < TextLeft() || dropCaret_->Row < topRow_) return {};
    const QRect shape(x, TextTop() + (dropCaret_->Row - topRow_) * rowHeight_, 2, rowHeight_);
    p.fillRect(shape, ToQColor(font_.Color, Qt::black));
    return shape;
}

// The composition drawn over the text at the caret, underlined, one
// character per cell pair as it will stand once committed.
void TEditor::PaintPreedit(QPainter& p) {
    const QRect cell = CaretRect();
    if (row_ < topRow_) return;
    const std::string bytes = Utf16ToCp932(
        std::u16string_view(reinterpret_cast<const char16_t*>(preedit_.utf16()), static_cast<std::size_t>(preedit_.size())));
    const int width = static_cast<int>(bytes.size()) * cellWidth_;
    const QColor fore = ToQColor(font_.Color, Qt::black);
    p.save();
    p.setClipRect(QRect(TextLeft(), cell.top(), viewport()->width() - TextLeft(), rowHeight_));
    p.fillRect(cell.left(), cell.top(), width, rowHeight_, ToQColor(color_, Qt::white));
    p.setPen(fore);
    int x = cell.left();
    for (const QChar ch : preedit_) {
        p.drawText(x, cell.top() + ascent_, QString(ch));
        x += (ch.unicode() < 0x80 || (ch.unicode() >= 0xFF61 && ch.unicode() <= 0xFF9F) ? 1 : 2) * cellWidth_;
    }
    p.fillRect(cell.left(), cell.top() + rowHeight_ - 1, width, 1, fore);
    p.restore();
}

}  // namespace quodle
