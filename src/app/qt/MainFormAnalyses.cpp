// The commands of the 関数・変数 menu: bracket tools, the user-function
// index and the variable analysis. Each gathers its input from the active
// editor, runs the engine and shows the result: messages, the status bar,
// the list window TForm5 or the output pane.
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QToolButton>
#include <QProgressBar>
#include <algorithm>
#include <filesystem>

#include "app/ExclusionSettings.h"
#include "app/IniFile.h"
#include "app/WordLists.h"
#include "app/qt/CaretLine.h"
#include "app/qt/EventHook.h"
#include "app/qt/MainForm.h"
#include "app/qt/Messages.h"
#include "app/qt/ProgressBarSink.h"
#include "app/qt/StatusPanels.h"
#include "base/FileIo.h"
#include "base/qt/QtText.h"
#include "editor/EditorSelection.h"
#include "editor/qt/EditorEx.h"
#include "lisp/DocumentLines.h"
#include "lisp/RowLineTokens.h"
#include "lisp/UserFunctions.h"
#include "lisp/VariableAnalysis.h"
#include "lisp/qt/ExclusionListEditor.h"
#include "lisp/qt/PickListWindow.h"
#include "lisp/qt/VariableCheckOptions.h"
#include "syntax/HyphenFountain.h"
#include "text/EditorStrings.h"

namespace quodle {

namespace {

// Engine messages break their lines with a carriage return; the message
// boxes take "\n".
QString MessageText(const QString& text) { return QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')); }

bool IsEnterKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The text of the line of row `row` up to byte `offset` of that row.
std::string LineTextUpTo(const TEditorScreenStrings& rows, int row, std::size_t offset) {
    std::string text;
    for (int r = rows.LineStartRow(row); r < row; ++r) text.append(rows.View(r));
    text.append(rows.View(row).substr(0, offset));
    return text;
}

bool HoldsNoText(const TEditorScreenStrings& rows) {
    return rows.Count() == 0 || (rows.Count() == 1 && rows.View(0).empty());
}

}  // namespace

// ---------------------------------------------------------------- shared

void TTarnwickMainForm::ShowElapsed(const QElapsedTimer& timer) {
    StatusBar1->SetPanelText(TStatusPanels::kCommandPanel, QString::asprintf("%.2fsec", static_cast<double>(timer.elapsed()) / 1000.0));
}

void TTarnwickMainForm::GoToLine(TEditorEx* editor, int topLine, int line) {
    editor->SetTopRow(editor->Lines().LineToRow(topLine));
    editor->SetRow(editor->Lines().LineToRow(line));
}

// ---------------------------------------------------------------- output pane

void TTarnwickMainForm::ConnectOutputPane() {
    new TEventHook(EditorEx1->viewport(), [this](QEvent* event) {
        // The press before it has put the caret on the clicked line.
        if (event->type() == QEvent::MouseButtonDblClick) OutputPaneJump();
        return false;
    });
    new TEventHook(EditorEx1, [this](QEvent* event) {
        if (!IsEnterKey(event)) return false;
        OutputPaneJump();
        return true;
    });
}

void TTarnwickMainForm::SetPaneBrackets(const std::string& left, const std::string& right) {
    TFountainBracketCollection& brackets = HyphenFountain2->Brackets();
    if (brackets.Count() == 0) return;
    brackets[0].SetLeftBracket(left);
    brackets[0].SetRightBracket(right);
}

void TTarnwickMainForm::OutputPaneJump() {
    const int paneRow = EditorEx1->Row();
    if (paneRow < 0 || paneRow >= EditorEx1->Rows().Count()) return;
    // The project report's lines lead into their own files.
    if (ProjectPaneJump(EditorEx1->LineIndexOfRow(paneRow))) return;
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    const int line = ReportLineTarget(EditorEx1->Lines().Get(EditorEx1->LineIndexOfRow(paneRow)));
    if (line < 0 || line >= editor->Lines().Count()) return;
    const int row = editor->Lines().LineToRow(line);
    if (editor->TopRow() == row) return;
    editor->SetTopRow(row);
    editor->SetRow(row);
}

// ---------------------------------------------------------------- variables

void TTarnwickMainForm::ShowInOutputPane(const TTextLines& lines) {
    std::string text;
    for (const std::string_view line : lines) {
        text.append(line);
        text.append("\r\n");
    }
    EditorEx1->Lines().SetText(text);
    EditorEx1->SetTopRow(0);
    EditorEx1->SetRow(0);
    EditorEx1->SetCol(0);
}

void TTarnwickMainForm::ShowVariableReport(const TVariableReport& report, const QElapsedTimer& timer) {
    ShowInOutputPane(report.Lines);
    ShowElapsed(timer);
    ProgressBar1->setValue(0);
    if (!report.HasFindings()) Message(SjisToQString(report.Message));
    ProgressBar1->setMaximum(TProgressSink::kMax);
    ProgressBar1->setValue(0);
}

void TTarnwickMainForm::N3Click() {
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    if (HoldsNoText(editor->Rows())) {
        Message(QString::fromUtf8(kNoFindingsMessage));
        return;
    }
    StoreReturnPoint(*editor);
    // Function names in report headings stand between "|" and "(".
    SetPaneBrackets("|", "(");

    IniFile ini(setup_.SettingsPath.toStdString());
    TForm7 form(this);
    form.SetSettings(ReadExclusionSettings(ini.Read()));
    if (setup_.Dialogs->ExecModal(form) != QDialog::Accepted) return;
    const TExclusionSettings settings = form.Settings();
    try {
        ini.Update([&settings](IniDocument& doc) { WriteExclusionSettings(doc, settings); });
    } catch (const FileError& e) {
        Message(SettingsWriteFailed(e));
    }

    QElapsedTimer timer;
    timer.start();
    EditorEx1->Lines().Clear();
    TProgressBarSink progress(ProgressBar1);
    const TDocumentLines lines(editor->Rows());
    ShowVariableReport(VariableCheck(lines.Lines(), TExclusionSet(exclusionList_), settings, &progress), timer);
}

void TTarnwickMainForm::N76Click() {
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    StoreReturnPoint(*editor);
    // Function names in report headings stand between "|" and "(".
    SetPaneBrackets("|", "(");
    EditorEx1->Lines().Clear();
    QElapsedTimer timer;
    timer.start();
    TProgressBarSink progress(ProgressBar1);
    const TDocumentLines lines(editor->Rows());
    ShowVariableReport(VariableList(lines.Lines(), TExclusionSet(exclusionList_), &progress), timer);
}

void TTarnwickMainForm::N85Click() {
    const TWordListFolders folders = WordListFolders();
    const std::filesystem::path path = folders.PathOf(kExclusionListFile);
    std::error_code error;
    if (exclusionList_.empty() || !std::filesystem::exists(path, error)) return;
    const std::optional<WordList> lines = LoadWordList(path);
    if (!lines) return;
    TForm9 form(this);
    form.SetLines(*lines);
    // An installed program edits the user's own copy of the shipped list.
    const std::filesystem::path savePath = folders.SavePathOf(kExclusionListFile);
    for (;;) {
        if (setup_.Dialogs->ExecModal(form) != QDialog::Accepted) return;
        try {
            std::filesystem::create_directories(savePath.parent_path(), error);
            SaveWordList(savePath, form.Lines());
            break;
        } catch (const FileError& e) {
            // The list in use stays as it was, like the file; the window
            // comes back with the edited lines, to try again or cancel.
            Message(SaveFailedText(e));
        }
    }
    exclusionList_ = ExclusionListOf(form.Lines());
}

// ---------------------------------------------------------------- user functions

void TTarnwickMainForm::UserFunctionList(const QString& caption, TPickList (*build)(TLineList, TProgressSink*),
                                         bool storeAtStart) {
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    if (storeAtStart) StoreReturnPoint(*editor);
    QElapsedTimer timer;
    timer.start();
    TProgressBarSink progress(ProgressBar1);
    const TDocumentLines lines(editor->Rows());
    const TPickList list = build(lines.Lines(), &progress);
    ProgressBar1->setValue(0);
    if (list.Items.empty()) {
        if (!list.Message.empty()) Message(MessageText(SjisToQString(list.Message)));
        return;
    }
    ShowElapsed(timer);
    TForm5 form(this);
    form.SetCaption(caption);
    form.BitBtn1->hide();
    form.AddItems(list.Items);
    form.SetCommentSource([&lines](const TPickItem& item) { return CommentDisplay(lines.Lines(), item); });
    if (setup_.Dialogs->ExecModal(form) != QDialog::Accepted) return;
    const std::optional<TPickItem> item = form.SelectedItem();
    const int line = item ? item->Data - 1 : -1;
    if (line < 0) return;
    // The comment block above the definition comes into view with it.
    StoreReturnPoint(*editor);
    GoToLine(editor, JumpTopLine(lines.Lines(), line), line);
    editor->setFocus();
}

void TTarnwickMainForm::CountKakko1Click() {
    UserFunctionList(QStringLiteral("ユーザー関数ジャンプ"), BuildJumpList, false);
}

void TTarnwickMainForm::N74Click() { CountKakko1Click(); }

void TTarnwickMainForm::N71Click() { UserFunctionList(QStringLiteral("ユーザー関数使用数"), BuildUseCounts, true); }

void TTarnwickMainForm::N72Click() { UserFunctionList(QStringLiteral("未使用ユーザー関数"), BuildUnusedList, true); }

void TTarnwickMainForm::N78Click() {
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    StoreReturnPoint(*editor);
    const TCaretLine caret = CaretLineOf(*editor);
    if (CaretInCommentOrString(*editor, caret)) return;
    // On an empty line the word at the caret is empty too.
    const std::string prefix = caret.Text.empty() ? std::string() : CaretNamePrefix(caret.Text, caret.Offset);

    TProgressBarSink progress(ProgressBar1);
    const TDocumentLines lines(editor->Rows());
    const TPickList list = BuildSearchList(lines.Lines(), prefix, &progress);
    ProgressBar1->setValue(0);
    if (list.Items.empty()) {
        if (!list.Message.empty()) Message(MessageText(SjisToQString(list.Message)));
        return;
    }
    TForm5 form(this);
    form.AddItems(list.Items);
    form.SetCaption(QStringLiteral("func"));
    form.MakePickList();
    if (setup_.Dialogs->ExecModal(form) != QDialog::Accepted) return;
    if (const std::optional<TPickItem> item = form.SelectedItem()) InsertPickedName(editor, *item, false);
}

// ---------------------------------------------------------------- brackets

void TTarnwickMainForm::mnuCountBracketsClick() {
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    QElapsedTimer timer;
    timer.start();
    TProgressBarSink progress(ProgressBar1);
    const TRowLineTokens tokens(editor->Rows(), *editor->Fountain());
    const TBracketReport report = CountAllBracketsCommand(tokens, &progress);
    StatusBar1->SetPanelText(4, QString::fromStdString(report.Panel));
    ShowElapsed(timer);
    if (report.Move == TBracketReport::cmBalanceAtTop) {
        editor->SetRow(report.CaretLine);
        editor->SetTopRow(report.CaretLine);
    }
    Message(MessageText(SjisToQString(report.Message)));
    if (report.Move == TBracketReport::cmBalanceAtBottom) {
        editor->SetRow(report.CaretLine);
        editor->SetTopRow(BottomAlignedTopRow(editor->Row(), editor->VisibleRowCount()));
    }
}

void TTarnwickMainForm::mnuSelectBracketClick() {
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    const QString notBracket = QStringLiteral("カーソル位置の文字が、( または、) ではありません．");
    const TEditorScreenStrings& rows = editor->Rows();
    const int row = editor->Row();
    if (row < 0 || row >= rows.Count() || editor->Col() < 0) {
        Message(notBracket);
        return;
    }
    const int offsetInLine = editor->OffsetInLine(row, editor->Col());
    const std::string_view text = rows.View(row);
    if (offsetInLine < 0 || text.empty()) return;
    const std::size_t offset = OffsetInRow(rows, row, offsetInLine);
    const std::string_view character =
        offset < text.size() ? text.substr(offset, CharLengthAt(text, offset)) : std::string_view();
    StatusBar1->SetPanelText(TStatusPanels::kCommandPanel, SjisToQString(character));
    if ((character != "(" && character != ")") || editor->TokenKindAt(row, static_cast<int>(offset)) != tokSymbol) {
        Message(notBracket);
        return;
    }
    int partnerRow = row;
    int partnerOffset = static_cast<int>(offset);
    if (!editor->FindMatchingBracket(partnerRow, partnerOffset)) {
        Message(QStringLiteral("対応する括弧が見つかりません．"));
        return;
    }
    const int partnerColumn =
        editor->ExpandedWidth(LineTextUpTo(rows, partnerRow, static_cast<std::size_t>(partnerOffset) + 1));
    StatusBar1->SetPanelText(TStatusPanels::kCommandPanel, QString::fromStdString(MatchingBracketPanel(
                                                character.front(), editor->LineIndexOfRow(partnerRow), partnerColumn)));
    TRowOffset open{row, static_cast<int>(offset)};
    TRowOffset close{partnerRow, partnerOffset};
    if (character == ")") std::swap(open, close);
    const std::int64_t start = TextOffsetOf(rows, open);
    editor->SetSelStart(start);
    editor->SetSelLength(TextOffsetOf(rows, close) + 1 - start);
}

void TTarnwickMainForm::SelectionCount(TEditorEx* editor, bool selected) {
    if (!selected) {
        StatusBar1->SetPanelText(4, QString());
        return;
    }
    // The count takes the end as the last selected byte; an end at the start
    // of a row gives -1 there, which the count moves to the row before.
    const TStreamRange range = editor->SelectionRange();
    const TSelectionRange selection{range.Start.Row, range.Start.Offset, range.End.Row, range.End.Offset - 1};
    TProgressBarSink progress(ProgressBar1);
    const TRowLineTokens tokens(editor->Rows(), *editor->Fountain());
    StatusBar1->SetPanelText(4, QString::fromStdString(CountSelectedBrackets(tokens, selection, &progress)));
}

}  // namespace quodle
