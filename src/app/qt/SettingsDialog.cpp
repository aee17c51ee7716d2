#include "app/qt/SettingsDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/qt/Dialogs.h"
#include "base/qt/QtColor.h"

namespace quodle {

TSampleField::TSampleField(const QString& text, QWidget* parent) : QLineEdit(text, parent) {
    setReadOnly(true);
    setFocusPolicy(Qt::NoFocus);
    setFrame(true);
    UpdatePalette();
}

void TSampleField::SetFore(TColor color) {
    fore_ = color;
    UpdatePalette();
}

void TSampleField::SetBack(TColor color) {
    back_ = color;
    UpdatePalette();
}

void TSampleField::UpdatePalette() {
    QPalette p = palette();
    p.setColor(QPalette::Text, ToQColor(fore_, Qt::black));
    p.setColor(QPalette::Base, ToQColor(back_, Qt::white));
    setPalette(p);
}

namespace {

QFont SampleFont(const TEditorFontProp& font) {
    QFont f(QString::fromStdString(font.Name));
    f.setPointSize(font.Size);
    return f;
}

}  // namespace

TSettingsDialog::TSettingsDialog(TDialogs& dialogs, const TSettingsValues& v, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint), dialogs_(dialogs), font_(v.Font) {
    setWindowTitle(QStringLiteral("設定"));
    setObjectName(QStringLiteral("SettingsDialog"));
    auto* outer = new QVBoxLayout(this);
    const auto sample = [this](const QString& name, const QString& text, TColor fore, TColor back) {
        auto* field = new TSampleField(text, this);
        field->setObjectName(name);
        field->SetFore(fore);
        field->SetBack(back);
        return field;
    };

    // 基本
    auto* basic = new QGroupBox(QStringLiteral("基本"), this);
    auto* basicRow = new QHBoxLayout(basic);
    fontSample_ = sample(QStringLiteral("FontSample"), QStringLiteral("Fontフォント"), v.Font.Color, v.Background);
    fontSample_->setFont(SampleFont(font_));
    basicRow->addWidget(fontSample_, 1);
    auto* fontButton = new QPushButton(QStringLiteral("フォント"), basic);
    fontButton->setObjectName(QStringLiteral("FontButton"));
    connect(fontButton, &QPushButton::clicked, this, [this] { ChooseFont(); });
    basicRow->addWidget(fontButton);
    // The text colour belongs to the font (Font/Color): ordinary text on a
    // dark background needs a light one.
    basicRow->addWidget(ColorButton(QStringLiteral("FontColorButton"), QStringLiteral("文字色"), fontSample_, false));
    auto* backButton = new QPushButton(QStringLiteral("背景色"), basic);
    backButton->setObjectName(QStringLiteral("BackgroundButton"));
    basicRow->addWidget(backButton);
    outer->addWidget(basic);

    // 文字色
    auto* tokens = new QGroupBox(QStringLiteral("文字色"), this);
    auto* grid = new QGridLayout(tokens);
    commentSample_ = sample(QStringLiteral("CommentSample"), QStringLiteral(";コメント"), v.Comment, v.Background);
    stringSample_ = sample(QStringLiteral("StringSample"), QStringLiteral("\"文字列\""), v.String, v.Background);
    reserveSample_ = sample(QStringLiteral("ReserveSample"), QStringLiteral("function"), v.Reserve, v.Background);
    reserve2Sample_ = sample(QStringLiteral("Reserve2Sample"), QStringLiteral("SYSTEM"), v.Reserve2, v.Background);
    selectSample_ = sample(QStringLiteral("SelectSample"), QStringLiteral("選択中"), v.Select.Color, v.Select.BkColor);
    const struct {
        TSampleField* field;
        const char* name;
        const char* caption;
    } tokenRows[] = {
        {commentSample_, "CommentButton", "コメント"},
        {stringSample_, "StringButton", "文字列"},
        {reserveSample_, "ReserveButton", "AutoLISP関数"},
        {reserve2Sample_, "Reserve2Button", "システム変数"},
    };
    int row = 0;
    for (const auto& r : tokenRows) {
        grid->addWidget(r.field, row, 0);
        grid->addWidget(ColorButton(QString::fromLatin1(r.name), QString::fromUtf8(r.caption), r.field, false), row, 1);
        ++row;
    }
    grid->addWidget(selectSample_, row, 0);
    grid->addWidget(ColorButton(QStringLiteral("SelectButton"), QStringLiteral("選択文字"), selectSample_, false), row, 1);
    grid->addWidget(ColorButton(QStringLiteral("SelectBkButton"), QStringLiteral("背景"), selectSample_, true), row, 2);
    outer->addWidget(tokens);
    // The 基本 background is the background of the font and token samples together.
    connect(backButton, &QPushButton::clicked, this, [this] {
        const auto color = dialogs_.ChooseColor(this, ToQColor(fontSample_->Back(), Qt::white));
        if (!color) return;
        for (TSampleField* f : {fontSample_, commentSample_, stringSample_, reserveSample_, reserve2Sample_})
            f->SetBack(FromQColor(*color));
    });

    // Line spacing and the typing options.
    auto* options = new QHBoxLayout;
    options->addWidget(new QLabel(QStringLiteral("行間隔"), this));
    lineSpacing_ = new QSpinBox(this);
    lineSpacing_->setObjectName(QStringLiteral("LineSpacing"));
    lineSpacing_->setRange(0, kMaxLineSpacing);
    lineSpacing_->setValue(v.LineSpacing);
    options->addWidget(lineSpacing_);
    tabIndent_ = new QCheckBox(QStringLiteral("タブインデント"), this);
    softTab_ = new QCheckBox(QStringLiteral("ソフトタブ"), this);
    autoIndent_ = new QCheckBox(QStringLiteral("オートインデント"), this);
    tabIndent_->setObjectName(QStringLiteral("TabIndent"));
    softTab_->setObjectName(QStringLiteral("SoftTab"));
    autoIndent_->setObjectName(QStringLiteral("AutoIndent"));
    tabIndent_->setChecked(v.TabIndent);
    softTab_->setChecked(v.SoftTab);
    autoIndent_->setChecked(v.AutoIndent);
    for (QCheckBox* box : {tabIndent_, softTab_, autoIndent_}) options->addWidget(box);
    outer->addLayout(options);

    // レフトバー and タイトル
    const auto pair = [this](const QString& caption, TSampleField* field, const QString& foreName,
                             const QString& backName, const QString& backCaption) {
        auto* box = new QGroupBox(caption, this);
        auto* r = new QHBoxLayout(box);
        r->addWidget(field, 1);
        r->addWidget(ColorButton(foreName, QStringLiteral("文字色"), field, false));
        r->addWidget(ColorButton(backName, backCaption, field, true));
        return box;
    };
    barSample_ = sample(QStringLiteral("BarSample"), QStringLiteral("12345|"), v.BarColor, v.BarBkColor);
    titleSample_ = sample(QStringLiteral("TitleSample"), QStringLiteral("NewFile"), v.TitleColor, v.TitleBkColor);
    auto* bars = new QHBoxLayout;
    bars->addWidget(pair(QStringLiteral("レフトバー"), barSample_, QStringLiteral("BarButton"),
                         QStringLiteral("BarBkButton"), QStringLiteral("背景色")));
    bars->addWidget(pair(QStringLiteral("タイトル"), titleSample_, QStringLiteral("TitleButton"),
                         QStringLiteral("TitleBkButton"), QStringLiteral("背景")));
    outer->addLayout(bars);

    // タブスペースカウント
    auto* tabs = new QGroupBox(QStringLiteral("タブスペースカウント"), this);
    auto* tabRow = new QHBoxLayout(tabs);
    tab2_ = new QRadioButton(QStringLiteral("2"), tabs);
    tab4_ = new QRadioButton(QStringLiteral("4"), tabs);
    tab8_ = new QRadioButton(QStringLiteral("8"), tabs);
    tab2_->setObjectName(QStringLiteral("Tab2"));
    tab4_->setObjectName(QStringLiteral("Tab4"));
    tab8_->setObjectName(QStringLiteral("Tab8"));
    for (QRadioButton* b : {tab2_, tab4_, tab8_}) tabRow->addWidget(b);
    (v.TabSpaceCount == 2 ? tab2_ : v.TabSpaceCount == 4 ? tab4_ : tab8_)->setChecked(true);
    outer->addWidget(tabs);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    outer->addLayout(buttons);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QPushButton* TSettingsDialog::ColorButton(const QString& name, const QString& caption, TSampleField* sample, bool back) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    connect(button, &QPushButton::clicked, this, [this, sample, back] {
        const TColor current = back ? sample->Back() : sample->Fore();
        const auto color = dialogs_.ChooseColor(this, ToQColor(current, back ? Qt::white : Qt::black));
        if (!color) return;
        if (back) sample->SetBack(FromQColor(*color));
        else sample->SetFore(FromQColor(*color));
    });
    return button;
}

void TSettingsDialog::ChooseFont() {
    const auto chosen = dialogs_.ChooseFont(this, SampleFont(font_));
    if (!chosen) return;
    font_.Name = chosen->family().toStdString();
    if (chosen->pointSize() > 0) font_.Size = std::clamp(chosen->pointSize(), kMinFontSize, kMaxFontSize);
    fontSample_->setFont(SampleFont(font_));
}

TSettingsValues TSettingsDialog::Values() const {
    TSettingsValues v;
    v.Font = font_;
    v.Font.Color = fontSample_->Fore();
    v.Background = fontSample_->Back();
    v.Comment = commentSample_->Fore();
    v.String = stringSample_->Fore();
    v.Reserve = reserveSample_->Fore();
    v.Reserve2 = reserve2Sample_->Fore();
    v.Select = {selectSample_->Fore(), selectSample_->Back()};
    v.TabIndent = tabIndent_->isChecked();
    v.SoftTab = softTab_->isChecked();
    v.AutoIndent = autoIndent_->isChecked();
    v.TabSpaceCount = tab2_->isChecked() ? 2 : tab4_->isChecked() ? 4 : 8;
    v.BarColor = barSample_->Fore();
    v.BarBkColor = barSample_->Back();
    v.TitleColor = titleSample_->Fore();
    v.TitleBkColor = titleSample_->Back();
    v.LineSpacing = lineSpacing_->value();
    return v;
}

}  // namespace quodle
