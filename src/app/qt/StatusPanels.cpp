#include "app/qt/StatusPanels.h"

#include <QEvent>
#include <QLabel>
#include <algorithm>

namespace quodle {

namespace {
constexpr std::array<int, TStatusPanels::kPanelCount> kPanelWidths{100, 80, 80, 80, 100, 100, 110};

// A panel of a fixed width that a narrow window may still cut off, so the
// bar never makes the window wider than it was designed. The caret position
// is never cut: the other panels give way first, and it is at least as wide
// as the widest position it shows in its font (six-digit lines, column 1001).
class TPanelLabel : public QLabel {
public:
    TPanelLabel(int width, bool kept, QWidget* parent) : QLabel(parent), width_(width), kept_(kept) {}
    QSize sizeHint() const override { return {Width(), QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return {kept_ ? Width() : 0, QLabel::minimumSizeHint().height()}; }
    void UpdateWidth() { setMaximumWidth(Width()); }

protected:
    void changeEvent(QEvent* event) override {
        QLabel::changeEvent(event);
        if (event->type() == QEvent::FontChange) UpdateWidth();
    }

private:
    int Width() const {
        if (!kept_) return width_;
        const QMargins margins = contentsMargins();
        return std::max(width_, fontMetrics().horizontalAdvance(PositionPanelText(999999, 1001)) + margins.left() +
                                    margins.right() + 2 * frameWidth() + 2);
    }
    int width_;
    bool kept_;
};
}  // namespace

TStatusPanels::TStatusPanels(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(true);
    for (int i = 0; i < kPanelCount; ++i) {
        auto* label = new TPanelLabel(kPanelWidths[static_cast<std::size_t>(i)], i == 0, this);
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        label->setContentsMargins(2, 0, 2, 0);
        label->UpdateWidth();
        addWidget(label);
        panels_[static_cast<std::size_t>(i)] = label;
    }
    SetPanelText(2, QStringLiteral("挿入"));
}

void TStatusPanels::SetPanelText(int index, const QString& text) {
    if (index >= 0 && index < kPanelCount) panels_[static_cast<std::size_t>(index)]->setText(text);
}

QString TStatusPanels::PanelText(int index) const {
    return index >= 0 && index < kPanelCount ? panels_[static_cast<std::size_t>(index)]->text() : QString();
}

}  // namespace quodle
