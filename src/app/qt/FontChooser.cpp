#include "app/qt/FontChooser.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "base/qt/FontSubstitutes.h"
#include "editor/EditorOptions.h"

namespace quodle {

namespace {
constexpr int kProbeSize = 20;  // large enough that half a pixel shows
}  // namespace

bool IsCellFace(const QString& family) {
    QFont font(family, kProbeSize);
    font.setStyleStrategy(QFont::NoFontMerging);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QLatin1Char('0'));
    if (width <= 0) return false;
    for (char c = '!'; c <= '~'; ++c)
        if (metrics.horizontalAdvance(QLatin1Char(c)) != width) return false;
    return true;
}

TFontChooser::TFontChooser(const QFont& initial, QWidget* parent) : QDialog(parent), initial_(initial) {
    RegisterFontSubstitutes();
    setWindowTitle(QStringLiteral("フォント"));
    setObjectName(QStringLiteral("FontChooser"));
    initialFace_ = QFontInfo(initial).family();

    Faces = new QListWidget(this);
    Faces->setObjectName(QStringLiteral("Faces"));
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family)) continue;
        if (family == initialFace_ || IsCellFace(family)) Faces->addItem(family);
    }
    if (Faces->findItems(initialFace_, Qt::MatchExactly).isEmpty()) Faces->insertItem(0, initialFace_);
    Faces->setCurrentItem(Faces->findItems(initialFace_, Qt::MatchExactly).constFirst());

    Size = new QSpinBox(this);
    Size->setObjectName(QStringLiteral("Size"));
    Size->setRange(kMinFontSize, kMaxFontSize);
    Size->setValue(std::clamp(initial.pointSize() > 0 ? initial.pointSize() : QFontInfo(initial).pointSize(),
                              kMinFontSize, kMaxFontSize));
    Bold = new QCheckBox(QStringLiteral("太字"), this);
    Bold->setChecked(initial.bold());
    Italic = new QCheckBox(QStringLiteral("斜体"), this);
    Italic->setChecked(initial.italic());
    Sample = new QLineEdit(QStringLiteral("(setq 点 (getpoint \"基点:\")) ; 0Oo1lI"), this);
    Sample->setObjectName(QStringLiteral("Sample"));
    Sample->setReadOnly(true);

    auto* options = new QFormLayout;
    options->addRow(QStringLiteral("サイズ"), Size);
    auto* styles = new QHBoxLayout;
    styles->addWidget(Bold);
    styles->addWidget(Italic);
    options->addRow(styles);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("フォント名"), this));
    layout->addWidget(Faces, 1);
    layout->addLayout(options);
    layout->addWidget(Sample);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(Faces, &QListWidget::currentRowChanged, this, [this] { ShowSample(); });
    connect(Faces, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(Size, &QSpinBox::valueChanged, this, [this] { ShowSample(); });
    connect(Bold, &QCheckBox::toggled, this, [this] { ShowSample(); });
    connect(Italic, &QCheckBox::toggled, this, [this] { ShowSample(); });
    ShowSample();
    resize(360, 420);
}

QFont TFontChooser::ChosenFont() const {
    QFont font = initial_;
    const QString face = Faces->currentItem() ? Faces->currentItem()->text() : initialFace_;
    // The face kept: its name as given, which may be a design name.
    if (face != initialFace_) font.setFamily(face);
    font.setPointSize(Size->value());
    font.setBold(Bold->isChecked());
    font.setItalic(Italic->isChecked());
    return font;
}

void TFontChooser::ShowSample() { Sample->setFont(ChosenFont()); }

}  // namespace quodle
