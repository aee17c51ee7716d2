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
#include <vector>

#include "base/ShiftJis.h"
#include "base/qt/QtColor.h"
#include "editor/EditorCaret.h"
#include "editor/qt/Editor.h"

namespace quodle {

namespace {

// Screen geometry of the parts left of and above the text.
constexpr int kImagebarWidth = 2 + 8 + 0 + 2;  // margins, digit and mark widths
constexpr int kMarginLeft = 19;
constexpr int kMarginTop = 2;
constexpr int kLeftbarLeftMargin = 8;
constexpr int kLeftbarRightMargin = 4;
constexpr int kLeftbarEdge = 2;

// Shown for bytes that stand for no character.
constexpr char16_t kUndecodable = u'\u30FB';

// The design fonts name faces of another system; map them onto the
// installed Japanese monospace face once.
void RegisterFontSubstitutes() {
    static const bool done = [] {
        QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
        QFont::insertSubstitution(QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"));
        QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
        QFont::insertSubstitution(QStringLiteral("FixedSys"), QStringLiteral("IPAGothic"));
        return true;
    }();
    (void)done;
}

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

// Glyphs of one colour and style, collected for one draw call.
struct TGlyphBatch {
    QList<quint32> indexes;
    QList<QPointF> positions;
    void Clear() {
        indexes.clear();
        positions.clear();
    }
};

}  // namespace

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
    }
    const QFontMetricsF fm(textFont_);
    cellWidth_ = std::max(1, static_cast<int>(std::ceil(fm.horizontalAdvance(QLatin1Char('0')))));
    ascent_ = static_cast<int>(std::ceil(fm.ascent()));
    rowHeight_ = std::max(1, static_cast<int>(std::ceil(fm.height() + fm.leading())) + margin_.Line);
    UpdateScrollBars();
    updateMicroFocus();
    viewport()->update();
}

void TEditor::SetColor(TColor color) {
    color_ = color;
    viewport()->update();
}

void TEditor::SetEditorFont(const TEditorFontProp& font) {
    font_ = font;
    UpdateMetrics();
}

void TEditor::SetLeftbar(const TEditorLeftbarProp& leftbar) {
    leftbar_ = leftbar;
    UpdateScrollBars();
    viewport()->update();
}

void TEditor::SetMargin(const TEditorMarginProp& margin) {
    margin_ = margin;
    UpdateMetrics();
}

void TEditor::SetSelectColors(const TEditorSelectColorProp& colors) {
    select_ = colors;
    viewport()->update();
}

int TEditor::LeftbarDigits() const {
    const int largest = LastCaretRow() + 1;
    int digits = 1;
    for (int n = largest; n >= 10; n /= 10) ++digits;
    return std::clamp(std::max(digits, leftbar_.Column), 1, 8);
}

int TEditor::LeftbarWidth() const {
    if (!leftbar_.Visible) return 0;
    return kLeftbarLeftMargin + LeftbarDigits() * cellWidth_ + kLeftbarRightMargin + kLeftbarEdge;
}

int TEditor::TextLeft() const { return kMarginLeft + kImagebarWidth + LeftbarWidth(); }

int TEditor::TextTop() const { return kMarginTop; }

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
    for (int i = first; i <= last; ++i) {
        const int row = topRow_ + i;
        const int y = TextTop() + i * rowHeight_;
        if (leftbar_.Visible) PaintLeftbar(p, row, y);
        if (row >= n) continue;
        TNextRow next;
        const bool wrapped = rows_->RowEnding(row) == reWrapped && row + 1 < n;
        if (wrapped) next = {rows_->View(row + 1), rows_->RowEnding(row + 1)};
        state.RowEnding = rows_->RowEnding(row);
        const std::span<const TTokenSpan> tokens = parser_->ParseRow(rows_->View(row), wrapped ? &next : nullptr, state);
        state.PrevRowEnding = rows_->RowEnding(row);
        PaintRow(p, row, y, tokens);
        if (drawLineConnected) {
            const std::string_view text = rows_->View(row);
            const QRect rect(TextLeft(), y, viewport()->width() - TextLeft(), rowHeight_);
            const auto [selFirst, selLast] = SelectedCells(row, RowWidth(row));
            emit DrawLine(&p, QByteArray(text.data(), static_cast<qsizetype>(text.size())),
                          TextLeft() - topCol_ * cellWidth_, y, row, rect, selFirst < selLast);
        }
    }
    if (!preedit_.isEmpty()) PaintPreedit(p);
    if (hasFocus()) PaintCaret(p);
}

void TEditor::PaintLeftbar(QPainter& p, int row, int y) {
    const int left = kImagebarWidth;
    const int width = LeftbarWidth();
    p.fillRect(left, y, width, rowHeight_, ToQColor(leftbar_.BkColor, ToQColor(color_)));
    // The edge: a white and a gray pixel column.
    p.fillRect(left + width - 2, y, 1, rowHeight_, Qt::white);
    p.fillRect(left + width - 1, y, 1, rowHeight_, Qt::gray);
    if (row > LastCaretRow()) return;
    p.setPen(ToQColor(leftbar_.Color, ToQColor(font_.Color)));
    const QString number = QString::number(row + 1);
    const int right = left + width - kLeftbarEdge - kLeftbarRightMargin;
    for (int k = 0; k < number.size(); ++k) {
        const int x = right - (static_cast<int>(number.size()) - k) * cellWidth_;
        p.drawText(x, y + ascent_, number.mid(k, 1));
    }
}

void TEditor::PaintRow(QPainter& p, int row, int y, std::span<const TTokenSpan> tokens) {
    const std::string_view text = rows_->View(row);
    const TCellLayout layout = Layout();
    const QColor defaultText = ToQColor(font_.Color, Qt::black);
    const QColor selectText = ToQColor(select_.Color, Qt::white);
    const QColor selectBack = ToQColor(select_.BkColor, QColor(0, 0, 128));
    const int visibleEnd = std::min(topCol_ + VisibleColCount() + 1, kMaxMappedCells);
    const int textLeft = TextLeft();
    auto xOf = [&](int column) { return textLeft + (column - topCol_) * cellWidth_; };

    p.save();
    p.setClipRect(QRect(textLeft, y, viewport()->width() - textLeft, rowHeight_));

    // Selected cells first, so token backgrounds never cover them.
    int rowWidth = 0;
    {
        int column = 0;
        for (std::size_t i = 0; i < text.size() && column < kMaxMappedCells;) {
            column += text[i] == '\t' ? TabWidthAt(column, layout) : static_cast<int>(CharLengthAt(text, i));
            i += CharLengthAt(text, i);
        }
        rowWidth = column;
    }
    const auto [selFirst, selLast] = SelectedCells(row, rowWidth);
    const int selFrom = std::max(selFirst, topCol_), selTo = std::min(selLast, visibleEnd);

    // The current run: one colour and style.
    TGlyphBatch batch;
    QColor runColor;
    TFontStyles runStyle;
    int runStart = 0, runEnd = 0;
    auto flush = [&] {
        if (!batch.indexes.isEmpty()) {
            QGlyphRun glyphs;
            glyphs.setRawFont(rawFonts_[(runStyle.Contains(fsBold) ? 1 : 0) | (runStyle.Contains(fsItalic) ? 2 : 0)]);
            glyphs.setGlyphIndexes(batch.indexes);
            glyphs.setPositions(batch.positions);
            p.setPen(runColor);
            p.drawGlyphRun(QPointF(0, y + ascent_), glyphs);
            batch.Clear();
        }
        if (runEnd > runStart && (runStyle.Contains(fsUnderline) || runStyle.Contains(fsStrikeOut))) {
            const int x0 = xOf(runStart), x1 = xOf(runEnd);
            if (runStyle.Contains(fsUnderline)) p.fillRect(x0, y + ascent_ + 1, x1 - x0, 1, runColor);
            if (runStyle.Contains(fsStrikeOut)) p.fillRect(x0, y + ascent_ * 2 / 3, x1 - x0, 1, runColor);
        }
        runStart = runEnd;
    };

    std::size_t t = 0;
    const TFountainColor* color = nullptr;
    std::size_t colorToken = static_cast<std::size_t>(-1);
    int column = 0;
    for (std::size_t i = 0; i < text.size() && column < visibleEnd;) {
        const std::size_t length = CharLengthAt(text, i);
        const int cells = text[i] == '\t' ? TabWidthAt(column, layout) : static_cast<int>(length);
        if (column + cells > topCol_) {
            while (t < tokens.size() && tokens[t].Pos + tokens[t].Length <= i) ++t;
            const bool inToken = t < tokens.size() && tokens[t].Pos <= i;
            if (!inToken) color = nullptr;
            else if (colorToken != t) color = parser_->TokenColor(tokens[t], text), colorToken = t;
            const bool selected = column >= selFirst && column < selLast;
            QColor fore = selected ? selectText : ToQColor(color ? color->Color() : clNone, defaultText);
            const TFontStyles style = color ? color->Style() : TFontStyles();
            if (!selected && color && color->BkColor() != clNone)
                p.fillRect(xOf(column), y, cells * cellWidth_, rowHeight_, ToQColor(color->BkColor()));
            if (selected) p.fillRect(xOf(column), y, cells * cellWidth_, rowHeight_, selectBack);
            if (fore != runColor || style != runStyle) {
                flush();
                runColor = fore;
                runStyle = style;
                runStart = column;
            }
            runEnd = column + cells;
            const auto b = static_cast<unsigned char>(text[i]);
            if (b != '\t' && b >= 0x20) {
                const QChar ch(DecodeChar(text.substr(i, length)));
                const QRawFont& font =
                    rawFonts_[(style.Contains(fsBold) ? 1 : 0) | (style.Contains(fsItalic) ? 2 : 0)];
                quint32 glyph = 0;
                int count = 1;
                if (font.isValid()) font.glyphIndexesForChars(&ch, 1, &glyph, &count);
                if (glyph != 0) {
                    batch.indexes.append(glyph);
                    batch.positions.append(QPointF(xOf(column), 0));
                } else {
                    // A character the face lacks: the toolkit finds a font.
                    p.setPen(fore);
                    p.drawText(xOf(column), y + ascent_, QString(ch));
                }
            }
        }
        column += cells;
        i += length;
    }
    flush();
    // Selected cells past the text (a selected break, a box beyond the row).
    const int tailFrom = std::max(selFrom, std::min(column, visibleEnd));
    if (tailFrom < selTo) p.fillRect(xOf(tailFrom), y, (selTo - tailFrom) * cellWidth_, rowHeight_, selectBack);
    p.restore();
}

void TEditor::PaintCaret(QPainter& p) {
    const QRect cell = CaretRect();
    if (cell.left() < TextLeft() || row_ < topRow_) return;
    const QColor color = ToQColor(font_.Color, Qt::black);
    const int preeditCells = [&] {
        if (preedit_.isEmpty()) return 0;
        const QString before = preedit_.left(preeditCursor_);
        return static_cast<int>(Utf16ToCp932(std::u16string_view(reinterpret_cast<const char16_t*>(before.utf16()),
                                                                  static_cast<std::size_t>(before.size())))
                                    .size());
    }();
    const int x = cell.left() + preeditCells * cellWidth_;
    if (caret_.Style == csBrief) {
        p.fillRect(x, cell.bottom() - 1, cellWidth_, 2, color);
        return;
    }
    if (overwrite_) p.fillRect(x, cell.top() + rowHeight_ / 2, cellWidth_, rowHeight_ - rowHeight_ / 2, color);
    else p.fillRect(x, cell.top(), 2, rowHeight_, color);
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
    p.fillRect(cell.left(), cell.top() + ascent_ + 2, width, 1, fore);
    p.restore();
}

}  // namespace quodle
