#include "print/qt/PrintSettingsDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/qt/FontSubstitutes.h"
#include "base/qt/QtColor.h"

namespace quodle {

namespace {

QSpinBox* NumberBox(QWidget* owner, const char* name, int low, int high, int value) {
    auto* box = new QSpinBox(owner);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

QLabel* BoldLabel(QWidget* owner, const char* name) {
    auto* label = new QLabel(owner);
    label->setObjectName(QString::fromLatin1(name));
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

}  // namespace

int TForm10::ModeIndex(TStringsPrinterPrintMode mode) {
    switch (mode) {
    case pmBW: return 0;
    case pmBWFontStyle: return 1;
    case pmColorToken: return 2;
    case pmThreeColor: return 3;
    }
    return 2;
}

TStringsPrinterPrintMode TForm10::IndexMode(int index) {
    static constexpr TStringsPrinterPrintMode kModes[] = {pmBW, pmBWFontStyle, pmColorToken, pmThreeColor};
    return kModes[std::clamp(index, 0, 3)];
}

TForm10::TForm10(QWidget* owner, TStringsPrinter& printer, TStringsPrinterInfo& info, TPrintHost& host)
    : QDialog(owner), printer_(printer), info_(info), host_(host) {
    RegisterFontSubstitutes();
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("印刷設定"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);
    auto* layout = new QVBoxLayout(this);

    auto* group2 = new QGroupBox(QStringLiteral("プリンタ"), this);
    group2->setObjectName(QStringLiteral("GroupBox2"));
    auto* printerLayout = new QGridLayout(group2);
    Label6 = BoldLabel(group2, "Label6");
    Label7 = BoldLabel(group2, "Label7");
    SpeedButton1 = new QToolButton(group2);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("..."));
    printerLayout->addWidget(Label6, 0, 0);
    printerLayout->addWidget(Label7, 1, 0);
    printerLayout->addWidget(SpeedButton1, 0, 1, 2, 1);
    layout->addWidget(group2);

    auto* group1 = new QGroupBox(QStringLiteral("マージン（mm）"), this);
    group1->setObjectName(QStringLiteral("GroupBox1"));
    auto* margins = new QGridLayout(group1);
    SpinEdit1 = NumberBox(group1, "SpinEdit1", 0, 100, printer.MarginLeft());
    SpinEdit2 = NumberBox(group1, "SpinEdit2", 0, 100, printer.MarginRight());
    SpinEdit3 = NumberBox(group1, "SpinEdit3", 0, 100, printer.MarginTop());
    SpinEdit4 = NumberBox(group1, "SpinEdit4", 0, 100, printer.MarginBottom());
    SpinEdit5 = NumberBox(group1, "SpinEdit5", 0, 100, printer.MarginLine());
    const QString captions[] = {QStringLiteral("左"), QStringLiteral("右"), QStringLiteral("上"), QStringLiteral("下"),
                                QStringLiteral("行間")};
    QSpinBox* boxes[] = {SpinEdit1, SpinEdit2, SpinEdit3, SpinEdit4, SpinEdit5};
    for (int i = 0; i < 5; ++i) {
        margins->addWidget(new QLabel(captions[i], group1), i / 3, (i % 3) * 2);
        margins->addWidget(boxes[i], i / 3, (i % 3) * 2 + 1);
    }
    layout->addWidget(group1);

    auto* radio = new QGroupBox(this);
    radio->setObjectName(QStringLiteral("RadioGroup1"));
    auto* radioLayout = new QGridLayout(radio);
    RadioGroup1 = new QButtonGroup(this);
    const QString modes[] = {QStringLiteral("モノクロ"), QStringLiteral("モノクロ（強調）"),
                             QStringLiteral("カラー（強調）"), QStringLiteral("フォントカラー")};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QRadioButton(modes[i], radio);
        RadioGroup1->addButton(button, i);
        radioLayout->addWidget(button, i / 2, i % 2);
    }
    RadioGroup1->button(ModeIndex(printer.PrintMode()))->setChecked(true);
    layout->addWidget(radio);

    auto* group3 = new QGroupBox(this);
    group3->setObjectName(QStringLiteral("GroupBox3"));
    auto* options = new QHBoxLayout(group3);
    CheckBox1 = new QCheckBox(QStringLiteral("行番号印字"), group3);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(printer.LineNumber());
    SpinEdit6 = NumberBox(group3, "SpinEdit6", 2, 8, printer.TabSpaceCount());
    SpinEdit6->setSingleStep(2);
    options->addWidget(CheckBox1);
    options->addStretch();
    options->addWidget(new QLabel(QStringLiteral("タブスペース"), group3));
    options->addWidget(SpinEdit6);
    layout->addWidget(group3);

    auto* group4 = new QGroupBox(QStringLiteral("フォント"), this);
    group4->setObjectName(QStringLiteral("GroupBox4"));
    auto* fontLayout = new QHBoxLayout(group4);
    Edit1 = new QLineEdit(group4);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit2 = new QLineEdit(group4);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setReadOnly(true);
    Edit2->setMaximumWidth(40);
    SpeedButton2 = new QToolButton(group4);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setText(QStringLiteral("..."));
    fontLayout->addWidget(Edit1, 1);
    fontLayout->addWidget(new QLabel(QStringLiteral("サイズ"), group4));
    fontLayout->addWidget(Edit2);
    fontLayout->addWidget(SpeedButton2);
    layout->addWidget(group4);

    auto* buttons = new QHBoxLayout;
    Button2 = new QPushButton(QStringLiteral("プレビュー"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button3 = new QPushButton(QStringLiteral("印刷"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button4 = new QPushButton(QStringLiteral("閉じる"), this);
    Button4->setObjectName(QStringLiteral("Button4"));
    buttons->addStretch();
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    buttons->addWidget(Button4);
    layout->addLayout(buttons);

    ShowPrinter();
    ShowFont();
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    connect(SpinEdit1, &QSpinBox::valueChanged, this, [this](int value) { printer_.SetMarginLeft(value); });
    connect(SpinEdit2, &QSpinBox::valueChanged, this, [this](int value) { printer_.SetMarginRight(value); });
    connect(SpinEdit3, &QSpinBox::valueChanged, this, [this](int value) { printer_.SetMarginTop(value); });
    connect(SpinEdit4, &QSpinBox::valueChanged, this, [this](int value) { printer_.SetMarginBottom(value); });
    connect(SpinEdit5, &QSpinBox::valueChanged, this, [this](int value) { printer_.SetMarginLine(value); });
    // A tab distance the printer rounds down shows as it is kept.
    connect(SpinEdit6, &QSpinBox::valueChanged, this, [this](int value) {
        printer_.SetTabSpaceCount(value);
        if (SpinEdit6->value() != printer_.TabSpaceCount()) SpinEdit6->setValue(printer_.TabSpaceCount());
    });
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool on) { printer_.SetLineNumber(on); });
    connect(RadioGroup1, &QButtonGroup::idClicked, this, [this](int id) { printer_.SetPrintMode(IndexMode(id)); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] {
        if (host_.PrinterSetup(this, info_.Printer())) ShowPrinter();
    });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] {
        if (const std::optional<QFont> chosen = host_.ChooseFont(this, Edit1->font())) {
            printer_.SetFont(FromQFont(*chosen, printer_.Font().Color));
            ShowFont();
        }
    });
    connect(Button2, &QPushButton::clicked, this, [this] { PreviewLines(this, printer_, info_, host_); });
    connect(Button3, &QPushButton::clicked, this, [this] {
        if (ConfirmAndPrint(this, printer_, info_, host_)) accept();
    });
    connect(Button4, &QPushButton::clicked, this, [this] { reject(); });
}

void TForm10::ShowPrinter() {
    Label6->setText(info_.PrinterName());
    Label7->setText(info_.PaperCaption());
}

void TForm10::ShowFont() {
    const TPrintFont& font = printer_.Font();
    Edit1->setText(QString::fromStdString(font.Name));
    Edit1->setFont(ToQFont(font));
    QPalette palette = Edit1->palette();
    palette.setColor(QPalette::Text, ToQColor(font.Color, Qt::black));
    palette.setColor(QPalette::Base, ToQColor(printer_.BkColor(), Qt::white));
    Edit1->setPalette(palette);
    Edit2->setText(QString::number(font.Size));
}

}  // namespace quodle
