#pragma once
// TForm7 ("除外設定"): the name prefixes the variable check leaves out of
// its Global sections, asked before every check.
#include <QDialog>

#include "lisp/VariableAnalysis.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace quodle {

// The variable check's exclusion options dialog.
class TForm7 : public QDialog {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);

    void SetSettings(const TExclusionSettings& settings);
    TExclusionSettings Settings() const;

    QCheckBox* CheckBox1 = nullptr;  // "*"
    QCheckBox* CheckBox2 = nullptr;  // "GB_"
    QCheckBox* CheckBox3 = nullptr;  // Edit1
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;  // OK
    QPushButton* Button2 = nullptr;  // キャンセル

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace quodle
