#pragma once
// TFormStringsPrinterProgress: the window shown while pages are rendered,
// with the progress text, a bar and "中止".
#include "base/qt/ProgressWindow.h"
#include "print/qt/PrintProgress.h"

namespace quodle {

class TFormStringsPrinterProgress final : public TProgressWindow, public TPrintProgress {
    Q_OBJECT
public:
    explicit TFormStringsPrinterProgress(QWidget* owner);

    void Start(const QString& text) override;
    bool Update(const QString& text, int maximum, int position) override;
    void Finish() override;
};

}  // namespace quodle
