#include "app/qt/StatusPanels.h"

#include <QLabel>

namespace quodle {

namespace {
constexpr std::array<int, TStatusPanels::kPanelCount> kPanelWidths{100, 80, 80, 80, 100, 100};
}

TStatusPanels::TStatusPanels(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(true);
    for (int i = 0; i < kPanelCount; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        label->setFixedWidth(kPanelWidths[static_cast<std::size_t>(i)]);
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
