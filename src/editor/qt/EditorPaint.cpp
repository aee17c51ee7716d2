// Painting of TEditor: the left bar with row numbers and the text of every
// visible row on the cell grid. Each character is decoded on its own and
// drawn at its own cell, so the alignment never depends on the font's
// advance widths.
#include <QFontDatabase>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "base/ShiftJis.h"
#include "base/qt/QtColor.h"
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

// A piece of a row drawn in one colour.
struct TColorRun {
    int begin;  // byte offsets in the row
    int end;
    QColor color;
};

}  // namespace

void TEditor::UpdateMetrics() {
    RegisterFontSubstitutes();
    textFont_ = QFont(QString::fromStdString(font_.Name));
    textFont_.setPixelSize(FontPixelHeight(font_.Size));
    textFont_.setStyleHint(QFont::TypeWriter);
    textFont_.setKerning(false);
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

void TEditor::SetCaretOptions(const TEditorCaretProp& caret) {
    caret_ = caret;
    SetCaret(row_, col_);
    viewport()->update();
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

void TEditor::paintEvent(QPaintEvent* event) {
    QPainter p(viewport());
    p.fillRect(event->rect(), ToQColor(color_, Qt::white));
    p.setFont(textFont_);
    const int first = std::max(0, (event->rect().top() - TextTop()) / rowHeight_);
    const int last = std::min(VisibleRowCount(), (event->rect().bottom() - TextTop()) / rowHeight_ + 1);
    for (int i = first; i <= last; ++i) {
        const int row = topRow_ + i;
        const int y = TextTop() + i * rowHeight_;
        if (leftbar_.Visible) PaintLeftbar(p, row, y);
        if (row < rows_->Count()) PaintRow(p, row, y);
    }
    if (hasFocus() && !readOnly_) {
        const QRect caret = CaretRect();
        if (caret.left() >= TextLeft() && row_ >= topRow_) p.fillRect(caret, ToQColor(font_.Color, Qt::black));
    }
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

void TEditor::PaintRow(QPainter& p, int row, int y) {
    const std::string_view text = rows_->View(row);
    // Token colours come from the fountain once rows are tokenized; until
    // then the whole row is one run in the font colour.
    const std::vector<TColorRun> runs{{0, static_cast<int>(text.size()), ToQColor(font_.Color, Qt::black)}};

    const int visibleEnd = topCol_ + VisibleColCount() + 1;
    p.save();
    p.setClipRect(QRect(TextLeft(), y, viewport()->width() - TextLeft(), rowHeight_));
    auto run = runs.begin();
    int column = 0;
    for (std::size_t i = 0; i < text.size() && column < visibleEnd && column < kMaxMappedCells;) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int length = static_cast<int>(CharLengthAt(text, i));
        const int cells = b == '\t' ? TabWidthAt(column, Layout()) : length;
        if (column + cells > topCol_ && b >= 0x20) {
            while (run != runs.end() && run->end <= static_cast<int>(i)) ++run;
            p.setPen(run != runs.end() ? run->color : ToQColor(font_.Color, Qt::black));
            const std::u16string glyph = Cp932ToUtf16(text.substr(i, static_cast<std::size_t>(length)));
            const int x = TextLeft() + (column - topCol_) * cellWidth_;
            p.drawText(x, y + ascent_,
                       QString::fromUtf16(glyph.data(), static_cast<qsizetype>(glyph.size())));
        }
        column += cells;
        i += static_cast<std::size_t>(length);
    }
    p.restore();
}

}  // namespace quodle
