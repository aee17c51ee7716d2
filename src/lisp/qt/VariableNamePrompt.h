#pragma once
// The prompt of ウォッチ行DEBUG_PVを追加: a small fixed-size tool window
// "変数表示" that asks for the name of the variable a watch line prints.
// Enter in the field closes it as OK; the input method stays off there,
// since variable names are typed in single-byte letters.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace quodle {

class TVariableNamePrompt : public QDialog {
    Q_OBJECT
public:
    explicit TVariableNamePrompt(QWidget* parent = nullptr);

    QString Name() const;

    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;  // OK
    QPushButton* Button2 = nullptr;  // 取消

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace quodle
