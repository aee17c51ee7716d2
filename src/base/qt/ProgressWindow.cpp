#include "base/qt/ProgressWindow.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace quodle {

namespace {
// Pending input is let through this often: often enough for "中止" to
// answer at once, rarely enough that a long job does not pay for it.
constexpr int kInputIntervalMs = 30;
}  // namespace

TProgressWindow::TProgressWindow(QWidget* owner, const QString& caption) : QDialog(owner) {
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
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
    // Enter, meant for the window below or typed ahead, must not stop the
    // job: "中止" is pressed by a click, Space or Esc only.
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, [this] { cancelled_ = true; });
}

void TProgressWindow::Open(const QString& text) {
    cancelled_ = false;
    Label1->setText(text);
    ProgressBar1->setValue(0);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) move(screen->geometry().center() - rect().center());
    show();
    QCoreApplication::processEvents();
    sinceInput_.start();
}

bool TProgressWindow::Show(const QString& text, int percent) {
    if (Label1->text() != text) Label1->setText(text);
    if (ProgressBar1->value() != percent) ProgressBar1->setValue(percent);
    if (sinceInput_.elapsed() >= kInputIntervalMs) {
        QCoreApplication::processEvents();
        sinceInput_.restart();
    }
    return !cancelled_;
}

TLongJobProgress::TLongJobProgress(QWidget* owner, QString caption, QString text, int delayMs)
    : owner_(owner), caption_(std::move(caption)), text_(std::move(text)), delayMs_(delayMs) {
    timer_.start();
}

TLongJobProgress::~TLongJobProgress() {
    if (window_) window_->hide();
}

bool TLongJobProgress::Step(int percent) {
    if (!window_) {
        if (timer_.elapsed() < delayMs_) return true;
        window_ = std::make_unique<TProgressWindow>(owner_, caption_);
        window_->Open(text_);
    }
    return window_->Show(text_, percent);
}

void TStoppableProgress::SetPosition(int position) {
    bar_.SetPosition(position);
    if (!stopped_ && !job_.Step(Maximum() > 0 ? position * 100 / Maximum() : 0)) stopped_ = true;
}

}  // namespace quodle
