// Painting of the parts around the text and of the display marks of
// TEditor: the left bar, the image bar with the row-mark pictures, the
// line-end, wrap, hide and end-of-text marks, the caret row's underline and
// the ruler; and the editors' shared pictures and cursors.
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <array>
#include <map>

#include "base/qt/QtColor.h"
#include "editor/qt/Editor.h"

// Resources of a static library are registered by hand, outside any namespace.
static void InitEditorResources() {
    Q_INIT_RESOURCE(rowmarks);
    Q_INIT_RESOURCE(cursors);
}

namespace quodle {

// Created when the first editor needs them and released with the last editor.
struct TEditorPictures {
    std::array<QPixmap, 10> digits;  // "DD00".."DD09", transparent red
    std::array<QPixmap, 6> marks;    // "DM00".."DM05", transparent white
    QCursor rightArrow;              // "RightArrow", over the margin left of the text
    QPixmap dragSel;                 // "DragSel", "DragSelCopy": a selection dragged, moved or copied
    QPixmap dragSelCopy;
    // Dotted strips one pixel high and as wide as the screen, by colours.
    std::map<std::pair<QRgb, QRgb>, QPixmap> strips;

    static std::shared_ptr<TEditorPictures> Acquire() {
        static std::weak_ptr<TEditorPictures> shared;
        std::shared_ptr<TEditorPictures> pictures = shared.lock();
        if (!pictures) {
            pictures = std::make_shared<TEditorPictures>();
            pictures->Load();
            shared = pictures;
        }
        return pictures;
    }

    const QPixmap& Strip(const QColor& fore, const QColor& back) {
        QPixmap& strip = strips[{fore.rgb(), back.rgb()}];
        if (strip.isNull()) {
            const QScreen* screen = QGuiApplication::primaryScreen();
            const int width = std::max(1, screen ? screen->virtualGeometry().width() : 4096);
            QImage image(width, 1, QImage::Format_RGB32);
            for (int x = 0; x < width; ++x) image.setPixel(x, 0, (x % 2 == 0 ? fore : back).rgb());
            strip = QPixmap::fromImage(image);
        }
        return strip;
    }

private:
    void Load() {
        InitEditorResources();
        auto load = [](const QString& name, Qt::GlobalColor transparent) {
            QPixmap picture(QStringLiteral(":/rowmarks/") + name);
            picture.setMask(picture.createMaskFromColor(transparent));
            return picture;
        };
        for (int i = 0; i < 10; ++i)
            digits[static_cast<std::size_t>(i)] = load(QStringLiteral("DD%1").arg(i, 2, 10, QLatin1Char('0')), Qt::red);
        for (int i = 0; i < 6; ++i)
            marks[static_cast<std::size_t>(i)] = load(QStringLiteral("DM%1").arg(i, 2, 10, QLatin1Char('0')), Qt::white);
        // The tip, at the top right, is the hot spot.
        const QPixmap arrow(QStringLiteral(":/cursors/RightArrow"));
        rightArrow = QCursor(arrow, arrow.width() - 1, 0);
        dragSel = QPixmap(QStringLiteral(":/cursors/DragSel"));
        dragSelCopy = QPixmap(QStringLiteral(":/cursors/DragSelCopy"));
    }
};

namespace {

// The symbols drawn after a row, each inside one cell.
void DrawReturnMark(QPainter& p, const QRect& cell) {
    const int right = cell.left() + cell.width() * 3 / 4;
    const int top = cell.top() + cell.height() / 4;
    const int bottom = cell.top() + cell.height() * 3 / 4;
    const int left = cell.left() + 1;
    const int head = std::max(2, cell.width() / 3);
    p.drawLine(right, top, right, bottom);
    p.drawLine(right, bottom, left, bottom);
    p.drawLine(left, bottom, left + head, bottom - head);
}

void DrawWrapMark(QPainter& p, const QRect& cell) {
    const int middle = cell.top() + cell.height() / 2;
    const int right = cell.right() - 1;
    p.drawLine(cell.left() + 1, middle, right, middle);
    p.drawLine(right, middle, right, cell.top() + cell.height() * 3 / 4);
}

void DrawHideMark(QPainter& p, const QRect& cell) {
    const int middle = cell.top() + cell.height() / 2;
    const int reach = std::max(2, std::min(cell.width() - 2, cell.height() / 4));
    p.drawLine(cell.left() + 1, middle - reach, cell.left() + 1 + reach, middle);
    p.drawLine(cell.left() + 1 + reach, middle, cell.left() + 1, middle + reach);
}

}  // namespace

QPixmap TEditor::MarkPicture(const TMarkPicture& picture) {
    if (!pictures_) pictures_ = TEditorPictures::Acquire();
    const std::vector<QPixmap>& list = picture.Numbered ? imageDigits_ : imageMarks_;
    // A list that lacks images is not used at all.
    const std::size_t needed = picture.Numbered ? pictures_->digits.size() : pictures_->marks.size();
    const auto index = static_cast<std::size_t>(picture.Image);
    if (list.size() >= needed) return list[index];
    return picture.Numbered ? pictures_->digits[index] : pictures_->marks[index];
}

QCursor TEditor::LeftMarginCursor() {
    if (!pictures_) pictures_ = TEditorPictures::Acquire();
    return pictures_->rightArrow;
}

QPixmap TEditor::DragSelPicture(bool copy) {
    if (!pictures_) pictures_ = TEditorPictures::Acquire();
    return copy ? pictures_->dragSelCopy : pictures_->dragSel;
}

void TEditor::PaintImagebar(QPainter& p, int row, int y) {
    const std::uint16_t marks = rows_->RowMarksOf(row);
    if (marks == 0) return;
    for (const TMarkPicture& picture : ImagebarPictures(marks, imagebar_)) {
        const QPixmap image = MarkPicture(picture);
        p.drawPixmap(picture.X, y + (rowHeight_ - image.height()) / 2, image);
    }
}

void TEditor::PaintLeftbar(QPainter& p, int row, int y) {
    const TEditorGeometry g = Geometry();
    const int left = g.ImagebarWidth;
    const int width = g.LeftbarWidth;
    const QColor text = ToQColor(leftbar_.Color, ToQColor(font_.Color, Qt::black));
    p.fillRect(left, y, width, rowHeight_, ToQColor(leftbar_.BkColor, ToQColor(color_, Qt::white)));
    if (leftbar_.Edge) {
        p.fillRect(left + width - 2, y, 1, rowHeight_, Qt::white);
        p.fillRect(left + width - 1, y, 1, rowHeight_, Qt::gray);
    } else {
        p.fillRect(left + width - 1, y, 1, rowHeight_, text);
    }
    const std::string number = LeftbarNumber(leftbar_, *rows_, row, g.LeftbarDigits);
    if (number.empty()) return;
    p.setPen(text);
    const int first = left + width - 2 - leftbar_.RightMargin - static_cast<int>(number.size()) * cellWidth_;
    for (std::size_t k = 0; k < number.size(); ++k)
        if (number[k] != ' ')
            p.drawText(first + static_cast<int>(k) * cellWidth_, y + ascent_, QString(QLatin1Char(number[k])));
}

void TEditor::PaintEndMarks(QPainter& p, int row, int y) {
    const int n = rows_->Count();
    const int textLeft = TextLeft();
    auto cell = [&](int column) { return QRect(textLeft + (column - topCol_) * cellWidth_, y, cellWidth_, rowHeight_); };
    p.save();
    p.setClipRect(QRect(textLeft, y, viewport()->width() - textLeft, rowHeight_));
    auto pen = [&](const TEditorMark& mark) { p.setPen(ToQColor(mark.Color, Qt::gray)); };
    auto drawEof = [&](int column) {
        pen(marks_.EofMark);
        p.drawText(cell(column).left(), y + ascent_, QStringLiteral("[EOF]"));
    };
    if (row < n) {
        const int width = RowWidth(row);
        const TRowEnding ending = rows_->RowEnding(row);
        // A row cut at the display limit has its end hidden with the rest
        // of its text: only the hide mark stands after the last cell shown.
        const bool cut = width >= kMaxMappedCells && WiderThan(rows_->View(row), Layout(), kMaxMappedCells);
        if (cut) {
            if (marks_.HideMark.Visible) {
                pen(marks_.HideMark);
                DrawHideMark(p, cell(kMaxMappedCells));
            }
        } else if (ending == reBreak && marks_.RetMark.Visible) {
            pen(marks_.RetMark);
            DrawReturnMark(p, cell(width));
        } else if (ending == reWrapped && marks_.WrapMark.Visible) {
            pen(marks_.WrapMark);
            DrawWrapMark(p, cell(width));
        } else if (ending == reNoBreak && marks_.EofMark.Visible) {
            drawEof(width);
        }
    } else if (row == n && marks_.EofMark.Visible && (n == 0 || rows_->RowEnding(n - 1) == reBreak)) {
        drawEof(0);
    }
    if (marks_.Underline.Visible && row == row_) {
        if (!pictures_) pictures_ = TEditorPictures::Acquire();
        const QPixmap& strip =
            pictures_->Strip(ToQColor(marks_.Underline.Color, Qt::gray), ToQColor(color_, Qt::white));
        p.drawPixmap(textLeft, y + rowHeight_ - 1, strip, 0, 0, viewport()->width() - textLeft, 1);
    }
    p.restore();
}

void TEditor::PaintRuler(QPainter& p) {
    const TEditorGeometry g = Geometry();
    const int height = g.RulerHeight;
    const int width = viewport()->width();
    const QColor ink = ToQColor(ruler_.Color, Qt::black);
    p.save();
    p.fillRect(0, 0, width, height, ToQColor(ruler_.BkColor, QColor(192, 192, 192)));
    const int base = ruler_.Edge ? height - 2 : height;  // the ticks stand on this line
    p.setClipRect(QRect(g.TextLeft, 0, width - g.TextLeft, height));
    QFont small = p.font();
    small.setPixelSize(std::max(6, height - 3));
    small.setBold(false);
    small.setItalic(false);
    p.setFont(small);
    p.setPen(ink);
    const int half = std::max(1, ruler_.GaugeRange / 2);
    for (int column = topCol_; column <= topCol_ + VisibleColCount(); ++column) {
        const int x = g.TextLeft + (column - topCol_) * cellWidth_;
        const int tick = column % ruler_.GaugeRange == 0 ? base : column % half == 0 ? 4 : 2;
        p.fillRect(x, base - tick, 1, tick, ink);
        if (column % ruler_.GaugeRange == 0 && column > 0)
            p.drawText(x + 2, base - 1, QString::number(column));
    }
    // The caret's column.
    p.fillRect(g.TextLeft + (col_ - topCol_) * cellWidth_, base - 3, cellWidth_, 3,
               ToQColor(ruler_.MarkColor, Qt::black));
    p.restore();
    if (ruler_.Edge) {
        p.fillRect(0, height - 2, width, 1, Qt::white);
        p.fillRect(0, height - 1, width, 1, Qt::gray);
    }
}

}  // namespace quodle
