// The document's file format: the 文字コード menu and its status panel.
#include <QActionGroup>
#include <QMenu>

#include "app/qt/MainForm.h"
#include "app/qt/StatusPanels.h"
#include "editor/qt/EditorEx.h"

namespace quodle {

namespace {

struct TEncodingItem {
    const char* name;
    const char* caption;
    TTextEncoding encoding;
};
constexpr TEncodingItem kEncodingItems[] = {
    {"mnuEncodingSjis", "SJIS", TTextEncoding::ShiftJis},
    {"mnuEncodingUtf8", "UTF-8", TTextEncoding::Utf8},
    {"mnuEncodingUtf8Bom", "UTF-8 BOM", TTextEncoding::Utf8Bom},
};

struct TBreakItem {
    const char* name;
    const char* caption;
    TLineBreak lineBreak;
};
constexpr TBreakItem kBreakItems[] = {
    {"mnuBreakCrLf", "CR+LF", TLineBreak::CrLf},
    {"mnuBreakLf", "LF", TLineBreak::Lf},
    {"mnuBreakCr", "CR", TLineBreak::Cr},
};

QString FileFormatText(const TFileFormat& format) {
    QString text;
    for (const TEncodingItem& item : kEncodingItems)
        if (item.encoding == format.Encoding) text = QString::fromUtf8(item.caption);
    for (const TBreakItem& item : kBreakItems)
        if (item.lineBreak == format.Break) text += QLatin1Char(' ') + QString::fromUtf8(item.caption);
    return text;
}

}  // namespace

void TTarnwickMainForm::CreateEncodingMenu(QMenu* file) {
    QMenu* menu = file->addMenu(QStringLiteral("文字コード"));
    menu->setObjectName(QStringLiteral("mnuEncoding"));
    auto* encodings = new QActionGroup(menu);
    for (const TEncodingItem& item : kEncodingItems) {
        QAction* action = AddItem(menu, QString::fromUtf8(item.name), QString::fromUtf8(item.caption));
        action->setCheckable(true);
        encodings->addAction(action);
        const TTextEncoding encoding = item.encoding;
        Connected(action, [this, encoding] {
            if (TEditorEx* editor = ActiveEditor()) {
                TFileFormat format = editor->Rows().FileFormat();
                format.Encoding = encoding;
                ChangeFileFormat(editor, format);
            }
        });
    }
    menu->addSeparator();
    auto* breaks = new QActionGroup(menu);
    for (const TBreakItem& item : kBreakItems) {
        QAction* action = AddItem(menu, QString::fromUtf8(item.name), QString::fromUtf8(item.caption));
        action->setCheckable(true);
        breaks->addAction(action);
        const TLineBreak lineBreak = item.lineBreak;
        Connected(action, [this, lineBreak] {
            if (TEditorEx* editor = ActiveEditor()) {
                TFileFormat format = editor->Rows().FileFormat();
                format.Break = lineBreak;
                ChangeFileFormat(editor, format);
            }
        });
    }
    connect(menu, &QMenu::aboutToShow, this, [this] { RefreshEncodingMenu(ActiveEditor()); });
}

void TTarnwickMainForm::RefreshEncodingMenu(TEditorEx* editor) {
    const TFileFormat format = editor ? editor->Rows().FileFormat() : TFileFormat{};
    for (const TEncodingItem& item : kEncodingItems) {
        QAction* action = Action(QString::fromUtf8(item.name));
        action->setEnabled(editor != nullptr);
        action->setChecked(item.encoding == format.Encoding);
    }
    for (const TBreakItem& item : kBreakItems) {
        QAction* action = Action(QString::fromUtf8(item.name));
        action->setEnabled(editor != nullptr);
        action->setChecked(item.lineBreak == format.Break);
    }
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
