#include "app/qt/EditorPropsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace quodle {

TEditorPropsDialog::TEditorPropsDialog(const TEditorExProp& prop, QWidget* parent) : QDialog(parent), prop_(prop) {
    setObjectName(QStringLiteral("EditorPropsDialog"));
    setWindowTitle(QStringLiteral("カレント環境設定"));
    auto* outer = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    outer->addLayout(columns);

    const auto check = [this](QFormLayout* form, const char* name, const char* caption, auto member) {
        auto* box = new QCheckBox(QString::fromUtf8(caption), this);
        box->setObjectName(QString::fromLatin1(name));
        box->setChecked(member(prop_));
        form->addRow(box);
        readers_.push_back([box, member](TEditorExProp& p) { member(p) = box->isChecked(); });
    };
    const auto number = [this](QFormLayout* form, const char* name, const char* caption, int min, int max,
                               auto member) {
        auto* spin = new QSpinBox(this);
        spin->setObjectName(QString::fromLatin1(name));
        spin->setRange(min, max);
        spin->setValue(member(prop_));
        form->addRow(QString::fromUtf8(caption), spin);
        readers_.push_back([spin, member](TEditorExProp& p) { member(p) = spin->value(); });
    };
    const auto choice = [this](QFormLayout* form, const char* name, const char* caption, QStringList items,
                               auto member) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QString::fromLatin1(name));
        combo->addItems(items);
        combo->setCurrentIndex(static_cast<int>(member(prop_)));
        form->addRow(QString::fromUtf8(caption), combo);
        readers_.push_back([combo, member](TEditorExProp& p) {
            member(p) = static_cast<std::remove_reference_t<decltype(member(p))>>(combo->currentIndex());
        });
    };
    const auto group = [this, columns](const char* caption) {
        auto* box = new QGroupBox(QString::fromUtf8(caption), this);
        auto* form = new QFormLayout(box);
        columns->addWidget(box);
        return form;
    };

    QFormLayout* wrap = group("折り返し");
    check(wrap, "WordWrap", "折り返し表示", [](TEditorExProp& p) -> bool& { return p.WordWrap; });
    number(wrap, "WrapByte", "折り返し桁数", TEditorWrapOption::kMinWrapByte, TEditorWrapOption::kMaxWrapByte,
           [](TEditorExProp& p) -> int& { return p.WrapOption.WrapByte; });
    check(wrap, "Leading", "禁則処理", [](TEditorExProp& p) -> bool& { return p.WrapOption.Leading; });
    check(wrap, "FollowPunctuation", "句読点のぶら下げ",
          [](TEditorExProp& p) -> bool& { return p.WrapOption.FollowPunctuation; });
    check(wrap, "WordBreak", "英単語の途中で折り返さない", [](TEditorExProp& p) -> bool& { return p.WrapOption.WordBreak; });
    check(wrap, "FollowRetMark", "改行マークをぶら下げる",
          [](TEditorExProp& p) -> bool& { return p.WrapOption.FollowRetMark; });
    number(wrap, "TabSpaceCount", "タブ幅", kMinTabSpaceCount, kMaxTabSpaceCount,
           [](TEditorExProp& p) -> int& { return p.Caret.TabSpaceCount; });

    QFormLayout* view = group("表示");
    check(view, "LeftbarVisible", "行番号", [](TEditorExProp& p) -> bool& { return p.Leftbar.Visible; });
    check(view, "RulerVisible", "ルーラー", [](TEditorExProp& p) -> bool& { return p.Ruler.Visible; });
    number(view, "MarginLine", "行間隔", 0, 100, [](TEditorExProp& p) -> int& { return p.Margin.Line; });
    number(view, "MarginCharacter", "文字間隔", 0, 100, [](TEditorExProp& p) -> int& { return p.Margin.Character; });
    number(view, "MarginLeft", "左余白", 0, 100, [](TEditorExProp& p) -> int& { return p.Margin.Left; });
    number(view, "MarginTop", "上余白", 0, 100, [](TEditorExProp& p) -> int& { return p.Margin.Top; });
    choice(view, "ScrollBars", "スクロールバー", {QStringLiteral("なし"), QStringLiteral("水平"), QStringLiteral("垂直"),
                                                   QStringLiteral("両方")},
           [](TEditorExProp& p) -> TScrollStyle& { return p.ScrollBars; });
    choice(view, "HitStyle", "検索結果の表示",
           {QStringLiteral("選択"), QStringLiteral("色付け"), QStringLiteral("キャレット")},
           [](TEditorExProp& p) -> THitStyle& { return p.HitStyle; });

    QFormLayout* marks = group("マーク");
    check(marks, "RetMark", "改行マーク", [](TEditorExProp& p) -> bool& { return p.Marks.RetMark.Visible; });
    check(marks, "EofMark", "[EOF]マーク", [](TEditorExProp& p) -> bool& { return p.Marks.EofMark.Visible; });
    check(marks, "WrapMark", "折り返しマーク", [](TEditorExProp& p) -> bool& { return p.Marks.WrapMark.Visible; });
    check(marks, "Underline", "カーソル行の下線", [](TEditorExProp& p) -> bool& { return p.Marks.Underline.Visible; });
    check(marks, "TabMark", "タブ", [](TEditorExProp& p) -> bool& { return p.ExMarks.TabMark.Visible; });
    check(marks, "SpaceMark", "半角空白", [](TEditorExProp& p) -> bool& { return p.ExMarks.SpaceMark.Visible; });
    check(marks, "DBSpaceMark", "全角空白", [](TEditorExProp& p) -> bool& { return p.ExMarks.DBSpaceMark.Visible; });
    check(marks, "ParenMark", "対応括弧", [](TEditorExProp& p) -> bool& { return p.ExMarks.ParenMark.Visible; });
    check(marks, "CurrentLine", "カーソル行の背景", [](TEditorExProp& p) -> bool& { return p.ExMarks.CurrentLine.Visible; });

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    outer->addWidget(buttons);
}

TEditorExProp TEditorPropsDialog::Values() const {
    TEditorExProp p = prop_;
    for (const auto& read : readers_) read(p);
    return p;
}

}  // namespace quodle
