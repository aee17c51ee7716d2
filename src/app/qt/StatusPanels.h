#pragma once
// StatusBar1: seven fixed panels (position, modified, insert/overwrite, box
// selection, bracket counts, result of the last command, file format).
#include <QStatusBar>
#include <QString>
#include <array>

class QLabel;

namespace quodle {

// Panel 0: the caret's line or row and its column or character, from 1.
inline QString PositionPanelText(int first, int second) { return QString::asprintf("%5d 行:%4d 桁", first, second); }

class TStatusPanels : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int kPanelCount = 7;
    // What the last command did (its time, or that it was stopped).
    static constexpr int kCommandPanel = 5;
    static constexpr int kFormatPanel = 6;
    explicit TStatusPanels(QWidget* parent = nullptr);

    void SetPanelText(int index, const QString& text);
    QString PanelText(int index) const;

private:
    std::array<QLabel*, kPanelCount> panels_{};
};

}  // namespace quodle
