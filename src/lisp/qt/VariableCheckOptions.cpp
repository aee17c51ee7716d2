#include "lisp/qt/VariableCheckOptions.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "base/qt/QtText.h"

namespace quodle {

namespace {
constexpr int kClientWidth = 191;
constexpr int kClientHeight = 149;
}  // namespace

TForm7::TForm7(QWidget* parent) : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("除外設定"));
    setFixedSize(kClientWidth, kClientHeight);

    auto* group = new QGroupBox(QStringLiteral("グローバル変数"), this);
    group->setGeometry(6, 4, 179, 108);
    CheckBox1 = new QCheckBox(QStringLiteral("\"*\" で始まる変数を除外"), group);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(10, 18, 165, 18);
    CheckBox2 = new QCheckBox(QStringLiteral("\"GB_\"で始まる変数を除外"), group);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setGeometry(10, 38, 165, 18);
    CheckBox3 = new QCheckBox(QStringLiteral("その他の先頭文字列で除外"), group);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    CheckBox3->setGeometry(10, 58, 165, 18);
    Edit1 = new QLineEdit(group);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(28, 80, 140, 20);
    // Enter in the prefix field moves on to OK instead of closing.
    Edit1->installEventFilter(this);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(20, 118, 72, 24);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("キャンセル"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(100, 118, 72, 24);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm7::SetSettings(const TExclusionSettings& settings) {
    CheckBox1->setChecked(settings.Star);
    CheckBox2->setChecked(settings.Gb);
    CheckBox3->setChecked(settings.Other);
    Edit1->setText(SjisToQString(settings.OtherPrefix));
}

TExclusionSettings TForm7::Settings() const {
    TExclusionSettings settings;
    settings.Star = CheckBox1->isChecked();
    settings.Gb = CheckBox2->isChecked();
    settings.Other = CheckBox3->isChecked();
    settings.OtherPrefix = QStringToSjis(Edit1->text());
    return settings;
}

bool TForm7::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Button1->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quodle
