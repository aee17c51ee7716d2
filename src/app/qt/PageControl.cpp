#include "app/qt/PageControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStackedWidget>
#include <algorithm>

namespace quodle {

namespace {
constexpr int kTabPadding = 16;   // the selected caption sits 8 pixels in
constexpr int kTextTop = 4;       // captions start 4 pixels below the tab top
constexpr int kActiveTextLeft = 8;
constexpr int kOtherTextLeft = 4;
}  // namespace

// The band of tabs above the pages. Tabs wrap onto further rows; the row
// holding the selected tab is drawn last, next to the pages. The page
// control decides the band's size and scrolls it by `offset_` pixels.
class TTabBand : public QWidget {
public:
    explicit TTabBand(TPageControl* owner) : QWidget(owner), owner_(owner) {}

    int RowHeight() const { return QFontMetrics(font()).height() + 2 * kTextTop; }

    // Lays the tabs out in rows `width` pixels wide; returns the height
    // they take.
    int Layout(int width) {
        const QFontMetrics fm(font());
        width = std::max(1, width);
        const int rowHeight = RowHeight();
        std::vector<std::vector<int>> rows;
        std::vector<int> natural;
        int x = 0;
        for (int i = 0; i < owner_->captions_.size(); ++i) {
            const int w = fm.horizontalAdvance(owner_->captions_[i]) + kTabPadding;
            natural.push_back(w);
            if (rows.empty() || (x + w > width && x > 0)) {
                rows.emplace_back();
                x = 0;
            }
            rows.back().push_back(i);
            x += w;
        }
        // The row with the selected tab goes next to the pages.
        auto selectedRow = std::find_if(rows.begin(), rows.end(), [&](const std::vector<int>& r) {
            return std::find(r.begin(), r.end(), owner_->active_) != r.end();
        });
        if (selectedRow != rows.end()) std::rotate(rows.begin(), selectedRow + 1, rows.end());

        rects_.assign(natural.size(), QRect());
        int y = 0;
        for (const auto& row : rows) {
            int used = 0;
            for (int i : row) used += natural[i];
            // Several rows are stretched to the full width, as wrapped tabs are.
            const int extra = rows.size() > 1 ? std::max(0, width - used) : 0;
            int left = 0;
            for (std::size_t k = 0; k < row.size(); ++k) {
                const int share = extra / static_cast<int>(row.size()) +
                                  (static_cast<int>(k) < extra % static_cast<int>(row.size()) ? 1 : 0);
                const int w = natural[row[k]] + share;
                rects_[row[k]] = QRect(left, y, w, rowHeight);
                left += w;
            }
            y += rowHeight;
        }
        update();
        return std::max(rowHeight, y) + 1;
    }

    void SetOffset(int offset) {
        offset_ = offset;
        update();
    }

    QRect TabRect(int index) const {
        return index >= 0 && index < static_cast<int>(rects_.size()) ? rects_[index].translated(0, -offset_) : QRect();
    }

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton) return;
        for (int i = 0; i < static_cast<int>(rects_.size()); ++i)
            if (TabRect(i).contains(e->position().toPoint())) {
                owner_->UserSelect(i);
                return;
            }
    }

    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QPalette& pal = palette();
        const int bottom = height() - 1;
        p.setPen(pal.color(QPalette::Mid));
        p.drawLine(0, bottom, width(), bottom);
        for (int i = 0; i < static_cast<int>(rects_.size()); ++i) {
            const QRect r = TabRect(i);
            const bool selected = i == owner_->active_;
            if (selected) p.fillRect(r.adjusted(1, 1, -1, selected ? 1 : 0), owner_->activeFill_);
            p.setPen(pal.color(QPalette::Light));
            p.drawLine(r.left(), r.bottom(), r.left(), r.top());
            p.drawLine(r.left(), r.top(), r.right(), r.top());
            p.setPen(pal.color(QPalette::Dark));
            p.drawLine(r.right(), r.top(), r.right(), r.bottom());
            p.setPen(selected ? owner_->activeText_ : pal.color(QPalette::WindowText));
            const int left = selected ? kActiveTextLeft : kOtherTextLeft;
            p.drawText(QRect(r.left() + left, r.top() + kTextTop, r.width() - left, r.height() - kTextTop),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, owner_->captions_[i]);
        }
    }

private:
    TPageControl* owner_;
    std::vector<QRect> rects_;  // unscrolled
    int offset_ = 0;
};

TPageControl::TPageControl(QWidget* parent)
    : QWidget(parent), band_(new TTabBand(this)), scrollBar_(new QScrollBar(Qt::Vertical, this)),
      stack_(new QStackedWidget(this)), activeText_(Qt::blue), activeFill_(Qt::cyan) {
    scrollBar_->hide();
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) { band_->SetOffset(value); });
    Arrange();
}

void TPageControl::Arrange() {
    const int width = std::max(1, this->width());
    const int limit = std::max(band_->RowHeight() + 1, height() / 2);
    int bandWidth = width;
    int needed = band_->Layout(bandWidth);
    const bool scroll = needed > limit;
    if (scroll) {
        bandWidth = std::max(1, width - scrollBar_->sizeHint().width());
        needed = band_->Layout(bandWidth);
    }
    const int bandHeight = std::min(needed, limit);
    band_->setGeometry(0, 0, bandWidth, bandHeight);
    scrollBar_->setGeometry(bandWidth, 0, width - bandWidth, bandHeight);
    scrollBar_->setRange(0, needed - bandHeight);
    scrollBar_->setPageStep(bandHeight);
    scrollBar_->setSingleStep(band_->RowHeight());
    scrollBar_->setValue(scrollBar_->maximum());
    band_->SetOffset(scrollBar_->value());
    scrollBar_->setVisible(scroll);
    stack_->setGeometry(0, bandHeight, width, std::max(0, height() - bandHeight));
}

void TPageControl::resizeEvent(QResizeEvent*) { Arrange(); }

QSize TPageControl::sizeHint() const {
    const QSize pages = stack_->sizeHint();
    return {pages.width(), band_->RowHeight() + 1 + pages.height()};
}

QSize TPageControl::minimumSizeHint() const {
    const QSize pages = stack_->minimumSizeHint();
    return {pages.width(), band_->RowHeight() + 1 + std::max(0, pages.height())};
}

int TPageControl::AddPage(QWidget* page, const QString& caption) {
    captions_ << caption;
    stack_->addWidget(page);
    Arrange();
    return static_cast<int>(captions_.size()) - 1;
}

QWidget* TPageControl::TakePage(int index) {
    if (index < 0 || index >= captions_.size()) return nullptr;
    QWidget* page = stack_->widget(index);
    stack_->removeWidget(page);
    captions_.removeAt(index);
    if (active_ >= captions_.size() || active_ == index) active_ = -1;
    else if (active_ > index) --active_;
    if (active_ >= 0) stack_->setCurrentIndex(active_);
    Arrange();
    return page;
}

int TPageControl::PageCount() const { return static_cast<int>(captions_.size()); }

QWidget* TPageControl::Page(int index) const {
    return index >= 0 && index < captions_.size() ? stack_->widget(index) : nullptr;
}

int TPageControl::IndexOf(const QWidget* page) const { return stack_->indexOf(const_cast<QWidget*>(page)); }

QString TPageControl::Caption(int index) const { return index >= 0 && index < captions_.size() ? captions_[index] : QString(); }

void TPageControl::SetCaption(int index, const QString& caption) {
    if (index < 0 || index >= captions_.size()) return;
    captions_[index] = caption;
    Arrange();
}

void TPageControl::SetActivePageIndex(int index) {
    if (index < 0 || index >= captions_.size()) return;
    active_ = index;
    stack_->setCurrentIndex(index);
    Arrange();
}

void TPageControl::SetActiveTabColors(const QColor& text, const QColor& fill) {
    activeText_ = text;
    activeFill_ = fill;
    band_->update();
}

QRect TPageControl::TabRect(int index) const { return band_->TabRect(index); }

QWidget* TPageControl::TabBand() const { return band_; }

void TPageControl::UserSelect(int index) {
    if (index == active_) return;
    SetActivePageIndex(index);
    emit Changed();
}

}  // namespace quodle
