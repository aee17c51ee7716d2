// The document's file format: the 文字コード menu and its status panel.
#include <QActionGroup>
#include <QMenu>
#include <QStringList>

#include "app/DocumentRules.h"
#include "app/qt/MainForm.h"
#include "app/qt/Messages.h"
#include "app/qt/PageControl.h"
#include "app/qt/StatusPanels.h"
#include "editor/qt/EditorEx.h"

namespace quodle {

namespace {

// One item of the menu: an encoding, or (lineBreak set) a line-break style.
struct TFormatItem {
    const char* name;
    const char* caption;
    bool lineBreak;
    int value;

    bool Matches(const TFileFormat& f) const {
        return value == (lineBreak ? static_cast<int>(f.Break) : static_cast<int>(f.Encoding));
    }
    TFileFormat AppliedTo(TFileFormat f) const {
        if (lineBreak) f.Break = static_cast<TLineBreak>(value);
        else f.Encoding = static_cast<TTextEncoding>(value);
        return f;
    }
};
constexpr TFormatItem kFormatItems[] = {
    {"mnuEncodingSjis", "SJIS", false, static_cast<int>(TTextEncoding::ShiftJis)},
    {"mnuEncodingUtf8", "UTF-8", false, static_cast<int>(TTextEncoding::Utf8)},
    {"mnuEncodingUtf8Bom", "UTF-8 BOM", false, static_cast<int>(TTextEncoding::Utf8Bom)},
    {"mnuBreakCrLf", "CR+LF", true, static_cast<int>(TLineBreak::CrLf)},
    {"mnuBreakLf", "LF", true, static_cast<int>(TLineBreak::Lf)},
    {"mnuBreakCr", "CR", true, static_cast<int>(TLineBreak::Cr)},
};

// The items of 開き直す: the encodings a file can be read in again.
struct TReopenItem {
    const char* name;
    const char* caption;
    TReadEncoding encoding;
};
constexpr TReopenItem kReopenItems[] = {
    {"mnuReopenSjis", "SJIS", TReadEncoding::ShiftJis},
    {"mnuReopenUtf8", "UTF-8", TReadEncoding::Utf8},
};

// "UTF-8 LF", "SJIS CR+LF": the encoding's caption, then the break's.
QString FileFormatText(const TFileFormat& format) {
    QStringList parts;
    for (const TFormatItem& item : kFormatItems)
        if (item.Matches(format)) parts << QString::fromUtf8(item.caption);
    return parts.join(QLatin1Char(' '));
}

}  // namespace

void TTarnwickMainForm::CreateEncodingMenu(QMenu* file) {
    QMenu* menu = file->addMenu(QStringLiteral("文字コード"));
    menu->setObjectName(QStringLiteral("mnuEncoding"));
    // Encodings first, then the line breaks: each an exclusive group.
    QActionGroup* group = nullptr;
    bool groupOfBreaks = false;
    for (const TFormatItem& item : kFormatItems) {
        if (!group || item.lineBreak != groupOfBreaks) {
            if (group) menu->addSeparator();
            group = new QActionGroup(menu);
            groupOfBreaks = item.lineBreak;
        }
        QAction* action = AddItem(menu, QString::fromUtf8(item.name), QString::fromUtf8(item.caption));
        action->setCheckable(true);
        group->addAction(action);
        Connected(action, [this, item] {
            if (TEditorEx* editor = ActiveEditor()) ChangeFileFormat(editor, item.AppliedTo(editor->Rows().FileFormat()));
        });
    }
    // The format items only say how the text is written; a file read in the
    // wrong encoding is mended by reading it again.
    menu->addSeparator();
    QMenu* reopen = menu->addMenu(QStringLiteral("開き直す"));
    reopen->setObjectName(QStringLiteral("mnuReopenAs"));
    for (const TReopenItem& item : kReopenItems)
        Connected(AddItem(reopen, QString::fromUtf8(item.name), QString::fromUtf8(item.caption)),
                  [this, encoding = item.encoding] { ReopenInEncoding(encoding); });
    connect(menu, &QMenu::aboutToShow, this, [this] { RefreshEncodingMenu(ActiveEditor()); });
}

void TTarnwickMainForm::RefreshEncodingMenu(TEditorEx* editor) {
    const TFileFormat format = editor ? editor->Rows().FileFormat() : TFileFormat{};
    for (const TFormatItem& item : kFormatItems) {
        QAction* action = Action(QString::fromUtf8(item.name));
        action->setEnabled(editor != nullptr);
        action->setChecked(item.Matches(format));
    }
    // Only a document that came from a file can be read again.
    const int index = PageControl1->ActivePageIndex();
    const bool fromFile = editor && index >= 0 && index < tabPaths_.size() &&
                          tabPaths_[index] != QString::fromUtf8(kNewFilePath.data(), kNewFilePath.size());
    for (const TReopenItem& item : kReopenItems) Action(QString::fromUtf8(item.name))->setEnabled(fromFile);
}

void TTarnwickMainForm::ReopenInEncoding(TReadEncoding encoding) {
    TEditorEx* editor = ActiveEditor();
    const int index = PageControl1->ActivePageIndex();
    if (!editor || index < 0 || index >= tabPaths_.size()) return;
    const QString path = tabPaths_[index];
    if (path == QString::fromUtf8(kNewFilePath.data(), kNewFilePath.size())) return;
    if (editor->Modified() && !Ask(ReopenModifiedText(PageControl1->Caption(index)))) return;
    ReadAgain(editor, path, encoding);
}

void TTarnwickMainForm::ChangeFileFormat(TEditorEx* editor, const TFileFormat& format) {
    if (editor->Rows().FileFormat() == format) return;
    editor->Rows().SetFileFormat(format);
    // The file no longer matches the text: every view of it is modified.
    for (TEditorClient* client : editor->Rows().Editors())
        if (auto* viewer = dynamic_cast<TEditor*>(client)) viewer->SetModified(true);
    RefreshEncodingMenu(editor);
    RefreshFormatPanel(editor);
    RefreshModifiedPanel(editor);
}

void TTarnwickMainForm::RefreshFormatPanel(TEditorEx* editor) {
    if (editor) StatusBar1->SetPanelText(TStatusPanels::kFormatPanel, FileFormatText(editor->Rows().FileFormat()));
}

}  // namespace quodle
