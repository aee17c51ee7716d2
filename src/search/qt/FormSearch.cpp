#include "search/qt/FormSearch.h"

#include "search/qt/SearchMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace quodle {

TFormSearch::TFormSearch(const TSearchDialogStore& store, QWidget* parent) : TFormSearch(store, false, parent) {}

TFormSearch::TFormSearch(const TSearchDialogStore& store, bool replace, QWidget* parent)
    : QDialog(parent), store_(store), state_(store.Read()), replace_(replace) {
    setObjectName(replace ? QStringLiteral("FormReplace") : QStringLiteral("FormSearch"));
    setWindowTitle(replace ? ReplaceCaption() : SearchCaption());
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);
    Build(replace);
    // A fixed frame: the dialog takes the size of its controls.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    chkMatchCase->setChecked(state_.MatchCase);
    chkWholeWord->setChecked(state_.WholeWord);
    chkNoMatchZenkaku->setChecked(state_.NoMatchZenkaku);
    chkIncludeCRLF->setChecked(state_.IncludeCRLF);
    (state_.Direction == 0 ? Backward : Forward)->setChecked(true);
    ComboBox1->addItems(state_.SearchItems);
    // The newest entry stands ready, selected.
    if (!state_.SearchItems.isEmpty()) ComboBox1->setCurrentIndex(0);
    else ComboBox1->setEditText(QString());
    ComboBox1->lineEdit()->selectAll();
    ComboBox1->setFocus();
}

void TFormSearch::Build(bool replace) {
    auto* outer = new QHBoxLayout(this);
    grid_ = new QGridLayout;
    outer->addLayout(grid_);

    auto* label1 = new QLabel(QStringLiteral("検索する文字列(&T):"));
    label1->setObjectName(QStringLiteral("Label1"));
    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setMinimumWidth(240);
    // Completion from the history keeps the case typed: case may matter.
    ComboBox1->completer()->setCaseSensitivity(Qt::CaseSensitive);
    label1->setBuddy(ComboBox1);
    grid_->addWidget(label1, 0, 0);
    grid_->addWidget(ComboBox1, 0, 1);

    auto* radioGroup = new QGroupBox(QStringLiteral(" 検索方向 "));
    radioGroup->setObjectName(QStringLiteral("RadioGroup1"));
    auto* radios = new QHBoxLayout(radioGroup);
    Backward = new QRadioButton(QStringLiteral("後方(&B)"));
    Forward = new QRadioButton(QStringLiteral("前方(&D)"));
    radios->addWidget(Backward);
    radios->addWidget(Forward);

    GroupBox1 = new QGroupBox(QStringLiteral(" ｵﾌﾟｼｮﾝ "));
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* checks = new QVBoxLayout(GroupBox1);
    auto check = [&](const char* name, const QString& caption) {
        auto* box = new QCheckBox(caption);
        box->setObjectName(QString::fromUtf8(name));
        checks->addWidget(box);
        return box;
    };
    chkMatchCase = check("chkMatchCase", QStringLiteral("大/小文字の区別(&C)"));
    chkWholeWord = check("chkWholeWord", QStringLiteral("単語単位で探す(&W)"));
    chkNoMatchZenkaku = check("chkNoMatchZenkaku", QStringLiteral("全角・半角を区別しない(&Z)"));
    chkIncludeCRLF = check("chkIncludeCRLF", QStringLiteral("改行・スペースを無視(&L)"));

    auto* lower = new QHBoxLayout;
    lower->addWidget(radioGroup, 0, Qt::AlignTop);
    lower->addWidget(GroupBox1);
    grid_->addLayout(lower, replace ? 2 : 1, 0, 1, 2);

    // The buttons down the right side, OK first (the replace dialog puts
    // its "all" button second).
    buttons_ = new QVBoxLayout;
    auto button = [&](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption);
        b->setObjectName(QString::fromUtf8(name));
        b->setAutoDefault(false);
        buttons_->addWidget(b);
        return b;
    };
    btnOK = button("btnOK", QStringLiteral("OK"));
    btnOK->setDefault(true);
    btnCancel = button("btnCancel", QStringLiteral("Cancel"));
    // Its help file is not part of the program: the button does nothing.
    btnHelp = button("btnHelp", QStringLiteral("Help"));
    buttons_->addStretch();
    outer->addLayout(buttons_);
    connect(btnOK, &QPushButton::clicked, this, [this, replace] { Accept(replace ? sfReplace : 0); });
    // Enter in the find box is OK, also when it shows a history entry (the
    // box would take the key for itself).
    connect(ComboBox1->lineEdit(), &QLineEdit::returnPressed, btnOK, &QPushButton::click);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TSearchOptions TFormSearch::OptionsOfControls() const {
    TSearchOptions options = 0;
    if (chkWholeWord->isChecked()) options |= sfWholeWord;
    if (chkMatchCase->isChecked()) options |= sfMatchCase;
    if (chkNoMatchZenkaku->isChecked()) options |= sfNoMatchZenkaku;
    if (Forward->isChecked()) options |= sfDown;
    if (chkIncludeCRLF->isChecked()) options |= sfIncludeCRLF | sfIncludeSpace;
    return options;
}

void TFormSearch::Accept(TSearchOptions closedBy) {
    if (accepted_) return;  // Enter reaches both the box and the default button
    const QString text = ComboBox1->currentText();
    if (!text.isEmpty()) {
        find_ = text;
        PushHistory(state_.SearchItems, text);
    }
    options_ = OptionsOfControls() | closedBy;
    state_.MatchCase = chkMatchCase->isChecked();
    state_.WholeWord = chkWholeWord->isChecked();
    state_.NoMatchZenkaku = chkNoMatchZenkaku->isChecked();
    state_.IncludeCRLF = chkIncludeCRLF->isChecked();
    state_.Direction = Forward->isChecked() ? 1 : 0;
    store_.Write(state_, replace_);
    accepted_ = true;
    accept();
}

void TFormSearch::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the screen, whatever window asked for it.
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

}  // namespace quodle
