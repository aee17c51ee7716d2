#pragma once
// StatusBar1: seven fixed panels (position, modified, insert/overwrite, box
// selection, bracket counts, result of the last command, file format).
#include <QStatusBar>
#include <array>

class QLabel;

namespace quodle {

class TStatusPanels : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int kPanelCount = 7;
    static constexpr int kFormatPanel = 6;
    explicit TStatusPanels(QWidget* parent = nullptr);

    void SetPanelText(int index, const QString& text);
    QString PanelText(int index) const;

private:
    std::array<QLabel*, kPanelCount> panels_{};
};

}  // namespace quodle
