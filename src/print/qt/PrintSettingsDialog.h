#pragma once
// TForm10 "印刷設定": the printer, margins, colour mode, line numbers, tab
// distance and font of the main window's printer. Every control applies its
// value at once; "閉じる" undoes nothing.
#include <QDialog>

#include "print/StringsPrinter.h"
#include "print/qt/PrintCommands.h"
#include "print/qt/PrinterInfo.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace quodle {

class TForm10 final : public QDialog {
    Q_OBJECT
public:
    TForm10(QWidget* owner, TStringsPrinter& printer, TStringsPrinterInfo& info, TPrintHost& host);

    // Radio index and mode, both ways.
    static int ModeIndex(TStringsPrinterPrintMode mode);
    static TStringsPrinterPrintMode IndexMode(int index);

    QLabel* Label6;
    QLabel* Label7;
    QToolButton* SpeedButton1;
    QSpinBox* SpinEdit1;  // left
    QSpinBox* SpinEdit2;  // right
    QSpinBox* SpinEdit3;  // top
    QSpinBox* SpinEdit4;  // bottom
    QSpinBox* SpinEdit5;  // row spacing
    QButtonGroup* RadioGroup1;
    QCheckBox* CheckBox1;
    QSpinBox* SpinEdit6;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QToolButton* SpeedButton2;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;

private:
    void ShowPrinter();
    void ShowFont();

    TStringsPrinter& printer_;
    TStringsPrinterInfo& info_;
    TPrintHost& host_;
};

}  // namespace quodle
