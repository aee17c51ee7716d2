#pragma once
// TFormStringsPrinterProgress: the window shown while pages are rendered,
// with the progress text, a bar and "中止".
#include <QDialog>
#include <QElapsedTimer>

#include "print/qt/PrintProgress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace quodle {

class TFormStringsPrinterProgress final : public QDialog, public TPrintProgress {
    Q_OBJECT
public:
    explicit TFormStringsPrinterProgress(QWidget* owner);

    void Start(const QString& text) override;
    bool Update(const QString& text, int maximum, int position) override;
    void Finish() override;
    bool Cancelled() const { return cancelled_; }
    void reject() override;

    QLabel* Label1;
    QProgressBar* ProgressBar1;
    QPushButton* Button1;

private:
    bool cancelled_ = false;
    QElapsedTimer sinceInput_;
};

}  // namespace quodle
