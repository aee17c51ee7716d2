// 設定 → 設定 (the settings dialog), the editor properties of カレント環境設定,
// the layout switches of the 設定 menu and ヘルプ → バージョン情報.
#include <QMenu>

#include "app/IniFile.h"
#include "app/Settings.h"
#include "app/qt/AboutBox.h"
#include "app/qt/DocumentPage.h"
#include "app/qt/EditorPropsDialog.h"
#include "app/qt/MainForm.h"
#include "app/qt/Messages.h"
#include "app/qt/PageControl.h"
#include "app/qt/SettingsDialog.h"
#include "app/qt/Shell.h"
#include "base/qt/QtColor.h"
#include "editor/qt/EditorEx.h"
#include "props/qt/EditorExPropAssign.h"
#include "syntax/HyphenFountain.h"
#include "syntax/ProgramFountains.h"

namespace quodle {

namespace {

std::vector<TEditorEx*> EditorsOfTab(const TPageControl* pages, int index) {
    const auto* page = qobject_cast<const TDocumentPage*>(pages->Page(index));
    return page ? page->Editors() : std::vector<TEditorEx*>();
}

// The layout switches of the 設定 menu: each a check item over one value of
// the set.
struct TLayoutSwitch {
    const char* name;
    const char* caption;
    bool (*get)(const TEditorExProp&);
    void (*set)(TEditorExProp&, bool);
};

constexpr TLayoutSwitch kLayoutSwitches[] = {
    {"mnuWordWrap", "折り返し表示", [](const TEditorExProp& p) { return p.WordWrap; },
     [](TEditorExProp& p, bool on) { p.WordWrap = on; }},
    {"mnuKinsoku", "禁則処理", [](const TEditorExProp& p) { return p.WrapOption.Leading; },
     [](TEditorExProp& p, bool on) { p.WrapOption.Leading = on; }},
    {"mnuLineNumbers", "行番号を表示する", [](const TEditorExProp& p) { return p.Leftbar.Visible; },
     [](TEditorExProp& p, bool on) { p.Leftbar.Visible = on; }},
    {"mnuRuler", "ルーラーを表示する", [](const TEditorExProp& p) { return p.Ruler.Visible; },
     [](TEditorExProp& p, bool on) { p.Ruler.Visible = on; }},
    {"mnuRetMark", "改行マークを表示する", [](const TEditorExProp& p) { return p.Marks.RetMark.Visible; },
     [](TEditorExProp& p, bool on) { p.Marks.RetMark.Visible = on; }},
    {"mnuBlankMarks", "タブ・空白を表示する", [](const TEditorExProp& p) { return p.ExMarks.TabMark.Visible; },
     [](TEditorExProp& p, bool on) {
         p.ExMarks.TabMark.Visible = on;
         p.ExMarks.SpaceMark.Visible = on;
         p.ExMarks.DBSpaceMark.Visible = on;
     }},
    {"mnuBracketDepth", "括弧を深さで色分けする", [](const TEditorExProp& p) { return p.BracketDepthColors; },
     [](TEditorExProp& p, bool on) { p.BracketDepthColors = on; }},
};

constexpr int kTabWidths[] = {2, 4, 8};

}  // namespace

void TTarnwickMainForm::mnuSettingsClick() {
    TEditorEx* active = ActiveEditor();
    if (!active) return;
    // Filling the dialog from the active editor and the window.
    TSettingsValues v;
    v.Font = active->EditorFont();
    v.Background = active->Color();
    v.Comment = HyphenFountain1->Colors().Comment().Color();
    v.String = HyphenFountain1->Colors().Str().Color();
    v.Reserve = HyphenFountain1->Reserve().Color();
    v.Reserve2 = HyphenFountain1->Reserve2().Color();
    v.Select = active->SelectColors();
    v.TabIndent = active->Caret().TabIndent;
    v.SoftTab = active->Caret().SoftTab;
    v.AutoIndent = active->Caret().AutoIndent;
    v.TabSpaceCount = active->Caret().TabSpaceCount;
    v.BarColor = active->Leftbar().Color;
    v.BarBkColor = active->Leftbar().BkColor;
    v.TitleColor = activeTabText_;
    v.TitleBkColor = activeTabFill_;
    v.LineSpacing = std::clamp(active->Margin().Line, 0, TSettingsDialog::kMaxLineSpacing);
    TSettingsDialog dialog(*setup_.Dialogs, v, this);
    if (setup_.Dialogs->ExecModal(dialog) != QDialog::Accepted) return;
    v = dialog.Values();

    // 1. The shared tokenizer's colours.
    ApplySettingsColors(*HyphenFountain1, {v.Reserve, v.Reserve2, v.Comment, v.String});
    // 2.-3. The output pane's font and background, the active editor's whole look.
    for (TEditorEx* editor : {EditorEx1, active}) {
        editor->SetEditorFont(v.Font);
        editor->SetColor(v.Background);
    }
    active->SetSelectColors(v.Select);
    TEditorCaretProp caret = active->Caret();
    caret.TabIndent = v.TabIndent;
    caret.SoftTab = v.SoftTab;
    caret.AutoIndent = v.AutoIndent;
    caret.TabSpaceCount = v.TabSpaceCount;
    active->SetCaretOptions(caret);
    TEditorLeftbarProp bar = active->Leftbar();
    bar.Color = v.BarColor;
    bar.BkColor = v.BarBkColor;
    active->SetLeftbar(bar);
    TEditorMarginProp margin = active->Margin();
    margin.Line = v.LineSpacing;
    active->SetMargin(margin);
    // 4. The active tab's colours.
    activeTabText_ = v.TitleColor;
    activeTabFill_ = v.TitleBkColor;
    PageControl1->SetActiveTabColors(ToQColor(activeTabText_, Qt::blue), ToQColor(activeTabFill_, Qt::cyan));
    // 5.-6. The template from the active editor, then every other editor
    // from the template, the tabs from the last to the first.
    active->SetFountain(HyphenFountain1);
    Assign(EditorExProp1, *active);
    const int activeTab = PageControl1->ActivePageIndex();
    for (int i = PageControl1->PageCount() - 1; i >= 0; --i) {
        const std::vector<TEditorEx*> editors = EditorsOfTab(PageControl1, i);
        if (i != activeTab) {
            SelectTab(i);
            TabChange();
        }
        for (TEditorEx* editor : editors) {
            if (editor == active) continue;
            editor->SetFountain(HyphenFountain1);
            AssignTo(EditorExProp1, *editor);
        }
    }
    SelectTab(activeTab);
    TabChange();
    RefreshLayoutSwitches();

    // 7. Kept for the next start only when the user says so.
    if (!setup_.Dialogs->AskYesNo(&dialog, QString::fromUtf8(kMessageCaption), QStringLiteral("この設定を保存しますか？")))
        return;
    try {
        IniFile(setup_.SettingsPath.toStdString()).Update([&v](IniDocument& doc) {
            using namespace settings;
            Write(doc, kFontName, v.Font.Name);
            Write(doc, kFontSize, v.Font.Size);
            Write(doc, kFontColor, v.Font.Color);
            Write(doc, kFontBkColor, v.Background);
            Write(doc, kLeftBarColor, v.BarColor);
            Write(doc, kLeftBarBkColor, v.BarBkColor);
            Write(doc, kColorComment, v.Comment);
            Write(doc, kColorString, v.String);
            Write(doc, kColorReserve, v.Reserve);
            Write(doc, kColorReserve2, v.Reserve2);
            Write(doc, kColorSelectBk, v.Select.BkColor);
            Write(doc, kColorSelect, v.Select.Color);
            Write(doc, kEditorAutoIndent, v.AutoIndent);
            Write(doc, kEditorTabIndent, v.TabIndent);
            Write(doc, kEditorSoftTab, v.SoftTab);
            Write(doc, kEditorTabSpaceCount, v.TabSpaceCount);
            Write(doc, kColorTitleBk, v.TitleBkColor);
            Write(doc, kColorTitle, v.TitleColor);
            Write(doc, kEditorMarginLine, v.LineSpacing);
        });
    } catch (const FileError& e) {
        Message(SettingsWriteFailed(e));
    }
}

void TTarnwickMainForm::mnuCurrentPropsClick() {
    TEditorEx* active = ActiveEditor();
    if (!active) return;
    TEditorPropsDialog dialog(PropOf(*active), this);
    if (setup_.Dialogs->ExecModal(dialog) != QDialog::Accepted) return;
    const TEditorExProp chosen = dialog.Values();
    AssignTo(chosen, *active);
    // New documents open as the active one now looks.
    EditorExProp1 = chosen;
    RefreshLayoutSwitches();
}

void TTarnwickMainForm::mnuAboutClick() {
    TAboutBox box(*shell_, this);
    setup_.Dialogs->ExecModal(box);
}

void TTarnwickMainForm::ChangeEveryEditor(const std::function<void(TEditorExProp&)>& change) {
    for (int i = 0; i < PageControl1->PageCount(); ++i) {
        for (TEditorEx* editor : EditorsOfTab(PageControl1, i)) {
            TEditorExProp prop = PropOf(*editor);
            change(prop);
            AssignTo(prop, *editor);
        }
    }
    change(EditorExProp1);
    RefreshLayoutSwitches();
}

void TTarnwickMainForm::CreateLayoutSwitches(QMenu* menu) {
    for (const TLayoutSwitch& s : kLayoutSwitches) {
        QAction* item = AddItem(menu, QString::fromLatin1(s.name), QString::fromUtf8(s.caption));
        item->setCheckable(true);
        // The switch turns the active editor's state over, whatever the
        // check mark last showed.
        connect(item, &QAction::triggered, this, [this, s] {
            const TEditorEx* active = ActiveEditor();
            const bool on = !s.get(active ? PropOf(*active) : EditorExProp1);
            ChangeEveryEditor([set = s.set, on](TEditorExProp& p) { set(p, on); });
        });
        if (std::string_view(s.name) == "mnuWordWrap") {
            connect(AddItem(menu, QStringLiteral("mnuWrapWidth"), QStringLiteral("折り返し桁数...")),
                    &QAction::triggered, this, [this] {
                        const auto width = setup_.Dialogs->AskInteger(
                            this, QStringLiteral("折り返し桁数"), QStringLiteral("折り返し桁数 (20～250)"),
                            EditorExProp1.WrapOption.WrapByte, TEditorWrapOption::kMinWrapByte,
                            TEditorWrapOption::kMaxWrapByte);
                        if (width) ChangeEveryEditor([w = *width](TEditorExProp& p) { p.WrapOption.WrapByte = w; });
                    });
        }
    }
    QMenu* tabWidth = menu->addMenu(QStringLiteral("タブ幅"));
    for (const int width : kTabWidths) {
        QAction* item = AddItem(tabWidth, QStringLiteral("mnuTabWidth%1").arg(width), QString::number(width));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, width] {
            ChangeEveryEditor([width](TEditorExProp& p) { p.Caret.TabSpaceCount = width; });
        });
    }
    connect(menu, &QMenu::aboutToShow, this, [this] { RefreshLayoutSwitches(); });
}

void TTarnwickMainForm::RefreshLayoutSwitches() {
    // The active editor's state where there is one, else the template's.
    const TEditorEx* active = ActiveEditor();
    const TEditorExProp shown = active ? PropOf(*active) : EditorExProp1;
    for (const TLayoutSwitch& s : kLayoutSwitches)
        if (QAction* item = Action(QString::fromLatin1(s.name))) item->setChecked(s.get(shown));
    for (const int width : kTabWidths)
        if (QAction* item = Action(QStringLiteral("mnuTabWidth%1").arg(width)))
            item->setChecked(shown.Caret.TabSpaceCount == width);
}

}  // namespace quodle
