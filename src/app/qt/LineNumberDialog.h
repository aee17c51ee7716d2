#pragma once
// The prompt of 行番号へ: a small tool window with one field that takes
// digits only. Enter closes it as OK, Esc as Cancel.
#include <QDialog>

class QLineEdit;

namespace quodle {

class TLineNumberDialog : public QDialog {
    Q_OBJECT
public:
    explicit TLineNumberDialog(QWidget* owner);

    QString Text() const;
    QLineEdit* Edit() const { return edit_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* edit_;
};

}  // namespace quodle
