#include "search/qt/FormReplace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quodle {

TFormReplace::TFormReplace(const TSearchDialogStore& store, QWidget* parent) : TFormSearch(store, true, parent) {
    auto* label2 = new QLabel(QStringLiteral("置換える文字列(&R):"));
    label2->setObjectName(QStringLiteral("Label2"));
    ComboBox2 = new QComboBox;
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setEditable(true);
    ComboBox2->setInsertPolicy(QComboBox::NoInsert);
    ComboBox2->completer()->setCaseSensitivity(Qt::CaseSensitive);
    label2->setBuddy(ComboBox2);
    grid_->addWidget(label2, 1, 0);
    grid_->addWidget(ComboBox2, 1, 1);
    setTabOrder(ComboBox1, ComboBox2);

    chkReplaceConfirm = new QCheckBox(QStringLiteral("置換え動作の確認(&P)"));
    chkReplaceConfirm->setObjectName(QStringLiteral("chkReplaceConfirm"));
    GroupBox1->layout()->addWidget(chkReplaceConfirm);
    // Asking first is what the dialog always offers.
    chkReplaceConfirm->setChecked(true);

    btnAll = new QPushButton(QStringLiteral("すべて置換(&A)"));
    btnAll->setObjectName(QStringLiteral("btnAll"));
    btnAll->setAutoDefault(false);
    buttons_->insertWidget(1, btnAll);
    connect(btnAll, &QPushButton::clicked, this, [this] { Accept(sfReplaceAll); });
    connect(ComboBox2->lineEdit(), &QLineEdit::returnPressed, btnOK, &QPushButton::click);

    ComboBox2->addItems(state_.ReplaceItems);
    ComboBox2->setEditText(QString());
}

void TFormReplace::Accept(TSearchOptions closedBy) {
    if (accepted_) return;
    const QString text = ComboBox2->currentText();
    if (!text.isEmpty()) {
        replaceText_ = text;
        PushHistory(state_.ReplaceItems, text);
    }
    TFormSearch::Accept(closedBy | (chkReplaceConfirm->isChecked() ? sfReplaceConfirm : 0));
}

}  // namespace quodle
