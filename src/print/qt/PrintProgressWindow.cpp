#include "print/qt/PrintProgressWindow.h"

#include <cmath>

namespace quodle {

TFormStringsPrinterProgress::TFormStringsPrinterProgress(QWidget* owner)
    : TProgressWindow(owner, QStringLiteral("出力中...")) {
    setObjectName(QStringLiteral("FormStringsPrinterProgress"));
}

void TFormStringsPrinterProgress::Start(const QString& text) { Open(text); }

bool TFormStringsPrinterProgress::Update(const QString& text, int maximum, int position) {
    const int percent =
        maximum == 0 ? 100 : static_cast<int>(std::lround(static_cast<double>(position) / maximum * 100.0));
    return Show(text, percent);
}

void TFormStringsPrinterProgress::Finish() { hide(); }

}  // namespace quodle
