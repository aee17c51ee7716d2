#include "app/qt/StatusPanels.h"

#include <QLabel>

namespace quodle {

namespace {
constexpr std::array<int, TStatusPanels::kPanelCount> kPanelWidths{100, 80, 80, 80, 100, 100, 110};

// A panel of a fixed width that a narrow window may still cut off, so the
// bar never makes the window wider than it was designed. The caret position
// is never cut: the other panels give way first.
class TPanelLabel : public QLabel {
public:
    TPanelLabel(int width, int minimumWidth, QWidget* parent)
        : QLabel(parent), width_(width), minimumWidth_(minimumWidth) {
        setMaximumWidth(width);
    }
    QSize sizeHint() const override { return {width_, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return {minimumWidth_, QLabel::minimumSizeHint().height()}; }

private:
    int width_;
    int minimumWidth_;
};
}  // namespace

TStatusPanels::TStatusPanels(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(true);
    for (int i = 0; i < kPanelCount; ++i) {
        const int width = kPanelWidths[static_cast<std::size_t>(i)];
        auto* label = new TPanelLabel(width, i == 0 ? width : 0, this);
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        label->setContentsMargins(2, 0, 2, 0);
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
