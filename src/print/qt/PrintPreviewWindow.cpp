#include "print/qt/PrintPreviewWindow.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

namespace quodle {

namespace {

QToolButton* Button(QWidget* owner, QLayout* layout, const char* name, const QString& text) {
    auto* button = new QToolButton(owner);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setAutoRaise(true);
    layout->addWidget(button);
    return button;
}

}  // namespace

TFormStringsPrinterPreview::TFormStringsPrinterPreview(QWidget* owner, const TRenderedPages& pages,
                                                       std::function<bool()> print)
    : QDialog(owner), pages_(pages), print_(std::move(print)) {
    setObjectName(QStringLiteral("FormStringsPrinterPreview"));
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 2);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(QFont(QStringLiteral("IPAGothic")));
    bar->addWidget(Label1);
    SpeedButton1 = Button(this, bar, "SpeedButton1", QStringLiteral("|◀"));
    SpeedButton2 = Button(this, bar, "SpeedButton2", QStringLiteral("◀"));
    SpeedButton3 = Button(this, bar, "SpeedButton3", QStringLiteral("▶"));
    SpeedButton4 = Button(this, bar, "SpeedButton4", QStringLiteral("▶|"));
    SpeedButton5 = Button(this, bar, "SpeedButton5", QStringLiteral("用紙高さ"));
    SpeedButton6 = Button(this, bar, "SpeedButton6", QStringLiteral("用紙幅"));
    SpeedButton7 = Button(this, bar, "SpeedButton7", QStringLiteral("100%"));
    SpeedButton9 = Button(this, bar, "SpeedButton9", QStringLiteral("印刷"));
    SpeedButton8 = Button(this, bar, "SpeedButton8", QStringLiteral("閉じる"));
    bar->addStretch();
    layout->addLayout(bar);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setAlignment(Qt::AlignCenter);
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    Image1 = new QLabel;
    Image1->setObjectName(QStringLiteral("Image1"));
    ScrollBox1->setWidget(Image1);
    layout->addWidget(ScrollBox1, 1);
    StatusBar1 = new QStatusBar(this);
    layout->addWidget(StatusBar1);
    Image1->installEventFilter(this);

    connect(SpeedButton1, &QToolButton::clicked, this, [this] { ShowPage(0); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { ShowPage(current_ - 1); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { ShowPage(current_ + 1); });
    connect(SpeedButton4, &QToolButton::clicked, this,
            [this] { ShowPage(static_cast<int>(pages_.Pages.Count()) - 1); });
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { SetZoom(zmPaperHeight); });
    connect(SpeedButton6, &QToolButton::clicked, this, [this] { SetZoom(zmPaperWidth); });
    connect(SpeedButton7, &QToolButton::clicked, this, [this] { SetZoom(zmActual); });
    connect(SpeedButton8, &QToolButton::clicked, this, [this] { reject(); });
    connect(SpeedButton9, &QToolButton::clicked, this, [this] {
        if (print_ && print_()) accept();
    });
    ShowPage(0);
}

void TFormStringsPrinterPreview::ShowPage(int n) {
    const int count = static_cast<int>(pages_.Pages.Count());
    current_ = std::clamp(n, 0, std::max(0, count - 1));
    Label1->setText(QString::asprintf("%3d / %3d", current_ + 1, count));
    SpeedButton1->setEnabled(current_ > 0);
    SpeedButton2->setEnabled(current_ > 0);
    SpeedButton3->setEnabled(current_ < count - 1);
    SpeedButton4->setEnabled(current_ < count - 1);
    DrawPage();
}

void TFormStringsPrinterPreview::SetZoom(TZoom zoom) {
    zoom_ = zoom;
    DrawPage();
}

void TFormStringsPrinterPreview::DrawPage() {
    const TPaperOffsets& o = pages_.Offsets;
    const QSizeF paper(pages_.PageSize.width() + o.Left + o.Right, pages_.PageSize.height() + o.Top + o.Bottom);
    if (paper.isEmpty()) return;
    QSize image;
    if (zoom_ == zmActual) {
        image = QSize(static_cast<int>(std::lround(paper.width() * pages_.ScreenRatio)),
                      static_cast<int>(std::lround(paper.height() * pages_.ScreenRatio)));
    } else if (zoom_ == zmPaperWidth) {
        const int width = ScrollBox1->width() - ScrollBox1->verticalScrollBar()->sizeHint().width();
        image = QSize(width, static_cast<int>(std::lround(paper.height() * width / paper.width())));
    } else {
        const int height = ScrollBox1->height() - ScrollBox1->horizontalScrollBar()->sizeHint().height();
        image = QSize(static_cast<int>(std::lround(paper.width() * height / paper.height())), height);
    }
    image = image.expandedTo(QSize(1, 1));
    QPixmap pixmap(image);
    pixmap.fill(Qt::white);
    const double sx = image.width() / paper.width();
    const double sy = image.height() / paper.height();
    const QRect printable(QPoint(static_cast<int>(std::lround(o.Left * sx)), static_cast<int>(std::lround(o.Top * sy))),
                          QPoint(static_cast<int>(std::lround((paper.width() - o.Right) * sx)) - 1,
                                 static_cast<int>(std::lround((paper.height() - o.Bottom) * sy)) - 1));
    {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        DrawPageOn(p, pages_, static_cast<std::size_t>(current_), QRectF(printable));
    }
    Image1->setPixmap(pixmap);
    Image1->resize(image);
    ScrollBox1->horizontalScrollBar()->setValue(0);
    ScrollBox1->verticalScrollBar()->setValue(0);
    UpdateCursor();
}

void TFormStringsPrinterPreview::UpdateCursor() {
    const QSize view = ScrollBox1->viewport()->size();
    const bool larger = Image1->width() > view.width() || Image1->height() > view.height();
    Image1->setCursor(larger ? Qt::OpenHandCursor : Qt::ArrowCursor);
}

void TFormStringsPrinterPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (sized_) return;
    sized_ = true;
    const QScreen* screen = this->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    const int width = std::min(available.width(),
                               Image1->width() + ScrollBox1->verticalScrollBar()->sizeHint().width() + 16);
    resize(width, available.height() / 6 * 5);
    move(available.center() - rect().center());
    UpdateCursor();
}

bool TFormStringsPrinterPreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Image1) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            downPoint_ = mouse->globalPosition().toPoint();
            dragging_ = true;
        }
        return false;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (dragging_ && (mouse->buttons() & Qt::LeftButton)) {
            const QPoint now = mouse->globalPosition().toPoint();
            const QPoint delta = downPoint_ - now;
            ScrollBox1->horizontalScrollBar()->setValue(ScrollBox1->horizontalScrollBar()->value() + delta.x());
            ScrollBox1->verticalScrollBar()->setValue(ScrollBox1->verticalScrollBar()->value() + delta.y());
            downPoint_ = now;
        }
        return false;
    }
    case QEvent::MouseButtonRelease: dragging_ = false; return false;
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        QScrollBar* bar = ScrollBox1->verticalScrollBar();
        bar->setValue(bar->value() - wheel->angleDelta().y());
        return true;
    }
    case QEvent::Resize: UpdateCursor(); return false;
    default: return false;
    }
}

}  // namespace quodle
