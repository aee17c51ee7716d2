#include "print/qt/PrintProgressWindow.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

namespace quodle {

namespace {
// Pending input is let through this often: often enough for "中止" to
// answer at once, rarely enough that a long job does not pay for it.
constexpr int kInputIntervalMs = 30;
}  // namespace

TFormStringsPrinterProgress::TFormStringsPrinterProgress(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("FormStringsPrinterProgress"));
    setWindowTitle(QStringLiteral("出力中..."));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    // Input let through while rendering reaches only "中止": nothing else
    // may change or close the document being printed.
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    Button1 = new QPushButton(QStringLiteral("中止"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    layout->addWidget(Label1);
    layout->addWidget(ProgressBar1);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);
    setMinimumWidth(320);
    // Enter, meant for the window below or typed ahead, must not stop a
    // print: "中止" is pressed by a click, Space or Esc only.
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, [this] { cancelled_ = true; });
}

void TFormStringsPrinterProgress::reject() {
    // Esc and the close box stop the rendering; the window goes when it ends.
    cancelled_ = true;
}

void TFormStringsPrinterProgress::Start(const QString& text) {
    cancelled_ = false;
    Label1->setText(text);
    ProgressBar1->setValue(0);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
    QCoreApplication::processEvents();
    sinceInput_.start();
}

bool TFormStringsPrinterProgress::Update(const QString& text, int maximum, int position) {
    if (Label1->text() != text) Label1->setText(text);
    const int percent =
        maximum == 0 ? 100 : static_cast<int>(std::lround(static_cast<double>(position) / maximum * 100.0));
    if (ProgressBar1->value() != percent) ProgressBar1->setValue(percent);
    if (sinceInput_.elapsed() >= kInputIntervalMs) {
        QCoreApplication::processEvents();
        sinceInput_.restart();
    }
    return !cancelled_;
}

void TFormStringsPrinterProgress::Finish() { hide(); }

}  // namespace quodle
