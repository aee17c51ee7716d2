#include "app/qt/AboutBox.h"

#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/qt/Shell.h"
#include "app/qt/ToolImages.h"

namespace quodle {

namespace {

// A field that asks the shell to open its target when clicked.
class TLinkField : public QLabel {
public:
    TLinkField(const QString& text, QString target, TShell& shell, QWidget* parent)
        : QLabel(text, parent), target_(std::move(target)), shell_(shell) {
        setCursor(Qt::PointingHandCursor);
        QPalette p = palette();
        p.setColor(QPalette::WindowText, Qt::blue);
        setPalette(p);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) shell_.Open(target_);
    }

private:
    QString target_;
    TShell& shell_;
};

}  // namespace

TAboutBox::TAboutBox(TShell& shell, QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    auto* outer = new QVBoxLayout(this);
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    auto* grid = new QGridLayout(panel);
    auto* icon = new QLabel(panel);
    icon->setPixmap(ToolImage(imgNew).pixmap(32, 32));
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    auto* product = new QLabel(QString::fromUtf8(kAboutProduct), panel);
    QFont big = product->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    product->setFont(big);
    grid->addWidget(product, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QString::fromUtf8(kAboutVersion), panel), 1, 1, 1, 2);
    grid->addWidget(new QLabel(QString::fromUtf8(kAboutAuthor), panel), 2, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("e-mail"), panel), 3, 1);
    auto* mail = new TLinkField(QString::fromUtf8(kAboutMail),
                                QStringLiteral("mailto:") + QString::fromUtf8(kAboutMail), shell, panel);
    mail->setObjectName(QStringLiteral("MailField"));
    grid->addWidget(mail, 3, 2);
    grid->addWidget(new QLabel(QStringLiteral("URL"), panel), 4, 1);
    auto* url = new TLinkField(QString::fromUtf8(kAboutUrl), QString::fromUtf8(kAboutUrl), shell, panel);
    url->setObjectName(QStringLiteral("UrlField"));
    grid->addWidget(url, 4, 2);
    outer->addWidget(panel);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addStretch();
    outer->addLayout(row);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // Centred on the screen, not on the window.
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

}  // namespace quodle
