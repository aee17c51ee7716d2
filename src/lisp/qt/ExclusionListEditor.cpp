#include "lisp/qt/ExclusionListEditor.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/qt/QtText.h"

namespace quodle {

namespace {
constexpr int kDesignWidth = 222;
constexpr int kDesignHeight = 183;
}  // namespace

TForm9::TForm9(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("変数名除外リスト"));
    resize(kDesignWidth, kDesignHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(Memo1, 1);
    auto* buttons = new QHBoxLayout;
    Button1 = new QPushButton(QStringLiteral("更新"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("取り消し"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    // Enter belongs to the text: only the buttons close the window.
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm9::SetLines(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines) text << SjisToQString(line);
    Memo1->setPlainText(text.join(QLatin1Char('\n')));
}

std::vector<std::string> TForm9::Lines() const {
    QStringList text = Memo1->toPlainText().split(QLatin1Char('\n'));
    if (!text.isEmpty() && text.constLast().isEmpty()) text.removeLast();
    std::vector<std::string> lines;
    for (const QString& line : text) lines.push_back(QStringToSjis(line));
    return lines;
}

}  // namespace quodle
