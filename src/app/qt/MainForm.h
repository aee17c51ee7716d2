#pragma once
// TTarnwickMainForm: the main window — tool bar, tabs of documents, the
// output pane, the status bar and every menu — and the life of the program
// from creation to shutdown.
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "app/qt/Dialogs.h"
#include "base/Color.h"
#include "base/FileIo.h"
#include "cad/CadTargets.h"
#include "print/StringsPrinter.h"
#include "project/ProjectModel.h"
#include "props/EditorExProp.h"
#include "search/SearchOptions.h"
#include "search/qt/SearchDialogStore.h"
#include "text/TextFile.h"

class QAction;
class QElapsedTimer;
class QKeyEvent;
class QLabel;
class QMenu;
class QPainter;
class QPlainTextEdit;
class QProgressBar;
class QSplitter;
class QToolBar;
class QToolButton;
class QTreeWidget;

namespace quodle {

class IniDocument;
class TCadDesktop;
class TClock;
class TShell;
class TSystemVariableWords;
struct TDocumentPlace;
struct TPickItem;
struct TReferencePick;
class TEditorEx;
class TOpenMenuList;
class TProjectPane;
struct TProjectReport;
class TPageControl;
class TStatusPanels;
class TStringsPrinterInfo;
class THyphenFountain;
class TLineEdits;
class TLineList;
class TTextLines;
class TProgressSink;
class TReadAhead;
enum class TVariableFix : std::uint8_t;
struct TPickList;
struct TWordListFolders;
struct TVariableReport;

// Where a main window finds its settings file and word lists, and how it
// asks its questions. Tests point these at a temporary folder and a
// scripted dialog seam.
struct TMainFormSetup {
    TDialogs* Dialogs = nullptr;
    QString SettingsPath;  // the INI file
    QString WordListDir;   // folder of the five word lists; the exclusion list is saved there
    QString SharedWordListDir;  // where lists missing from WordListDir are read; empty for none
    TCadDesktop* CadDesktop = nullptr;  // where the load command finds the CAD applications
    QString TemporaryLoadFile;          // where a modified document is written to be loaded
    TShell* Shell = nullptr;            // opens addresses in the text; the desktop's when null
    // The find and replace dialogs' options and histories: an INI file, or
    // empty for the user's own store.
    QString SearchSettingsPath;
    const TClock* Clock = nullptr;      // dates the function catalogue; the machine's when null
};

class TTarnwickMainForm : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 543;
    static constexpr int kDesignHeight = 407;
    // The left panel: a line while unused, this wide while it shows a tree.
    static constexpr int kCollapsedPanelWidth = 1;
    static constexpr int kTreePanelWidth = 150;

    // Runs the whole creation sequence (settings, word lists, reopen list).
    // A window made by "別の編集ウィンドウを開く" passes its creator.
    explicit TTarnwickMainForm(const TMainFormSetup& setup, TTarnwickMainForm* creator = nullptr);
    ~TTarnwickMainForm() override;

    // The files of the command line a start opens: those with an accepted
    // extension, as absolute paths.
    static QStringList StartupPaths(const QStringList& arguments);
    // Starts reading `paths` on a thread of their own, for
    // OpenStartupDocuments to take.
    static std::unique_ptr<TReadAhead> ReadAhead(const QStringList& paths);
    // The initial "New File" tab, then each of `paths` (StartupPaths); with
    // `readAhead`, the files it has read are taken from it.
    void OpenStartupDocuments(const QStringList& paths, TReadAhead* readAhead = nullptr);

    // The editor every command acts on: the first document editor of the
    // selected tab that has the focus, else the tab's last one.
    TEditorEx* ActiveEditor() const;
    TEditorEx* OutputPane() const { return EditorEx1; }

    // Documents (menu ファイル, ウィンドウ, drop and reopen).
    enum class TSaveResult { Saved, Cancelled, Failed };
    void NewDocument();
    void OpenWithDialog();
    // pushReopen is false when the caller has put the path on the reopen list.
    void OpenFileIntoNewTab(const QString& path, bool pushReopen = true);
    void OpenFiles(const QStringList& paths);  // dropped files
    void Reopen(const QString& path);
    bool SaveActive();
    TSaveResult SaveActiveAs();
    void CloseActive();
    void ToggleSplit();
    TTarnwickMainForm* OpenSecondWindow();

    // State the tests and the later commands read.
    const QStringList& TabPaths() const { return tabPaths_; }
    TPageControl* PageControl() const { return PageControl1; }
    TStatusPanels* StatusPanels() const { return StatusBar1; }
    QProgressBar* ProgressBar() const { return ProgressBar1; }
    QAction* Action(const QString& name) const;
    QMenu* ReopenMenu() const { return reopenMenu_; }
    TEditorExProp& Template() { return EditorExProp1; }
    const std::shared_ptr<THyphenFountain>& Fountain1() const { return HyphenFountain1; }
    const std::vector<std::string>& FunctionList() const { return functionList_; }
    const std::vector<std::string>& SysVarList() const { return sysVarList_; }
    const std::vector<std::string>& ExclusionList() const { return exclusionList_; }
    bool BackupEnabled() const;
    bool IsFirstWindow() const { return creator_ == nullptr; }
    const TFileDialogState& OpenDialogState() const { return OpenDialog1; }

    // Pointer hints (used by the hint commands of later parts).
    void ShowHint(const QString& text);
    void HideHint();
    // The hint window once shown (null before).
    const QLabel* HintWindow() const { return hintWindow_; }

    // The return point, shared by all tabs: every jump stores the caret row
    // and first visible row of the editor it acts on; 元の行に戻る goes back.
    // A command takes that editor before any prompt of its own opens: while
    // a prompt is up (and right after) no editor has the focus, and the
    // active editor of a split tab would be the other pane.
    struct TReturnPoint {
        int row = 0;
        int topRow = 0;
    };
    void StoreReturnPoint(const TEditorEx& editor);
    void JumpBack();
    const TReturnPoint& ReturnPoint() const { return returnPoint_; }

    // The LISP analyses (MainFormAnalyses.cpp), named after their menu items.
    void mnuCountBracketsClick();  // 全括弧数カウント
    void mnuSelectBracketClick();  // 対応括弧までを選択
    void CountKakko1Click();       // ユーザー関数へジャンプ
    void N74Click();               // ジャンプ → ユーザー関数へ
    void N71Click();               // ユーザー関数使用数
    void N72Click();               // 未使用ユーザー関数
    void N78Click();               // ユーザー関数検索
    void N3Click();                // 未使用・未宣言変数
    void N76Click();               // 変数一覧
    void N85Click();               // 変数名除外リストを編集
    // A double click or Enter on a report line of the output pane.
    void OutputPaneJump();
    // Fixes of the code (MainFormFixes.cpp): full-width slips listed in the
    // output pane and replaced; a definition's locals made and tidied, at
    // the caret or for the output pane's line. Each edit one undo step.
    void mnuSlipsClick();          // 全角の記号・英数字を一覧
    void mnuSlipsFixClick();       // 全角の記号・英数字を半角に修正
    void mnuLocaliseClick();       // 未宣言変数をローカル変数に追加
    void mnuDropUnusedClick();     // 未使用ローカル変数を削除
    void PaneLocaliseClick();      // the same for the output pane's line
    void PaneDropUnusedClick();
    // プロジェクト解析... (MainFormProject.cpp): the files of a folder as one program.
    void mnuProjectAnalysisClick();
    void mnuProjectCallsClick();
    // The function catalogue and the command/function tree (MainFormTree.cpp).
    void N88Click();  // コメント抜き出し(関数カタログ化）
    void N89Click();  // コマンド・関数ツリー
    void SpeedButton1Click();  // the tree's title: builds it again
    void SpeedButton2Click();  // "x": clears and collapses the panel
    void TreeView1Click();     // the comment of the selected node into Memo1
    void TreeView1DblClick();  // jumps to the selected node's definition
    // 編集 → システム変数を大文字に (MainFormReference.cpp).
    void N66Click();
    // ファイル → 印刷 (MainFormPrint.cpp): the print settings dialog.
    void N92Click();
    TStringsPrinter& StringsPrinter() { return StringsPrinter1; }
    // The printer the pages go to, asked for on first use.
    TStringsPrinterInfo& PrinterInfo();
    // マーク (MainFormMarks.cpp): commands on the active editor's row marks.
    void mnuMarkToggleClick();
    void mnuMarkNextClick();
    void mnuMarkPreviousClick();
    void mnuMarkClearClick();
    // rm10 .. rm15: sets or removes the extra mark on the caret row.
    void RowMarkClick(int mark);
    // 編集 conversions (MainFormEdit.cpp): the whole document, one undo step.
    void mnuTabToSpaceClick();       // タブ　->　空白変換
    void mnuLeadSpaceToTabClick();   // 先頭スペース -> タブ変換
    void mnuRunSpaceToTabClick();    // 連続スペース -> タブ変換
    void mnuSpaceToTabClick();       // スペース -> タブ変換
    void mnuZenkakuSpaceClick();     // 全角空白　->　半角変換
    // デバッグ (MainFormDebug.cpp).
    void mnuCommentAddClick();       // 先頭に ; を追加
    void mnuCommentDeleteClick();    // 先頭の ; を削除
    void mnuWatchAddClick();         // ウォッチ行DEBUG_PVを追加
    void mnuWatchCommentClick();
    void mnuWatchUncommentClick();
    void mnuWatchDeleteClick();
    void mnuBreakAddClick();         // ブレークポイントDEBUG_BPを追加
    void mnuBreakCommentClick();
    void mnuBreakUncommentClick();
    void mnuBreakDeleteClick();
    // 設定 (MainFormOptions.cpp).
    void mnuScrollTestClick();       // スクロールテスト
    // 文字種別を表示する: the kind and text of the token at the caret in
    // panel 5, after each caret move of a document editor while checked.
    void ShowTokenKind(TEditorEx* editor);
    // ジャンプ (MainFormJumps.cpp).
    void mnuJumpLineClick();
    void mnuJumpTopClick();
    void mnuJumpEndClick();

    // ロード (MainFormLoad.cpp): the load command and the choice of target.
    void CAD1Click();
    void AutoCAD200420092Click() { SelectLoadTarget(TCadTarget::ctAutoCad); }
    void IntelliCADIJCAD2Click() { SelectLoadTarget(TCadTarget::ctIntelliCad); }
    void ZwCAD2Click() { SelectLoadTarget(TCadTarget::ctZwCad); }
    void BricsCAD1Click() { SelectLoadTarget(TCadTarget::ctBricsCad); }
    // 検索 (MainFormSearch.cpp): find, find again forward and backward, replace.
    void mnuFindClick();
    void mnuFindForwardClick();
    void mnuFindBackwardClick();
    void mnuReplaceClick();
    // The search state: empty until a dialog is accepted.
    const QString& FindString() const { return findString_; }
    const QString& ReplaceString() const { return replaceString_; }
    TSearchOptions SearchOptions() const { return searchOptions_; }

    // 設定 and ヘルプ (MainFormSettings.cpp).
    void mnuSettingsClick();       // 設定: the settings dialog
    void mnuCurrentPropsClick();   // カレント環境設定: the active editor's properties
    void mnuAboutClick();          // バージョン情報
    // A layout switch: changes the template and every document editor (both
    // panes of a split) the same way.
    void ChangeEveryEditor(const std::function<void(TEditorExProp&)>& change);
    // The check marks of the layout switches from the template.
    void RefreshLayoutSwitches();

    // Refreshes after a change of the active document.
    void Refresh();
    void TabChange();
    void RefreshPositionPanel(TEditorEx* editor);
    // The states of the 編集 items, as the menu shows them when it opens.
    void UpdateEditMenu();
    void CreateLayoutSwitches(QMenu* menu);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class TPositionMode { RowCol, LinesChar };

    // Construction (MainForm.cpp, MainFormMenus.cpp).
    void CreateLayout();
    void CreateMenus();
    void CreateToolBar();
    // MainFormEdit.cpp: the 編集 items that forward to the active editor.
    void CreateEditItems(QMenu* edit);
    QAction* AddItem(QMenu* menu, const QString& name, const QString& caption, const QString& shortcut = {});
    QAction* Connected(QAction* action, const std::function<void()>& handler);
    void ReadSettings(const IniDocument& doc);
    // The origin a window of that size takes or keeps: `origin` unless that
    // is off every screen (PlaceWindow), so none is ever stored off-screen.
    static QPoint OnScreen(QPoint origin, QSize size);
    // The folders of the setup's word lists.
    TWordListFolders WordListFolders() const;
    void WriteSettingsAtShutdown();
    void WriteFormPosition();
    void ApplyLoadTarget();
    void SelectLoadTarget(TCadTarget target);
    TTargetFlags LoadTargetFlags() const;

    // Documents (MainFormDocuments.cpp).
    TEditorEx* CreateDocumentEditor(QWidget* page);
    void PrepareEditor(TEditorEx* editor);
    void ConnectEditorEvents(TEditorEx* editor);
    QWidget* CreateDocumentPage(TEditorEx** editorOut);
    // The test before every way of opening a file, with its message.
    bool MayOpen(const QString& path);
    bool LoadInto(TEditorEx* editor, const QString& path, TReadEncoding encoding = TReadEncoding::Detect);
    // The tab that holds the file at path (SameFile), or -1.
    int FindOpenTab(const QString& path) const;
    // Writes the text (through a temporary file, with an optional backup);
    // a failure is reported and leaves the document modified.
    bool WriteDocument(TEditorEx* editor, const QString& path, const std::optional<QString>& backupPath,
                       const QString& backupFailureText, int backupStep);
    void SetDialogFolders(const QString& path);
    // The text is on disk: every editor that shows it is unmodified.
    void MarkSaved(TEditorEx* editor);
    void SelectTab(int index);
    void RemoveTab(int index);
    void Unsplit(int tabIndex);
    bool IsSplit(int tabIndex) const;
    // False when a write failed: the window then stays open.
    bool CloseAllTabsForShutdown();

    // A document's file changed by another program (MainFormDiskChanges.cpp).
    // Records what the file was when the editor's text was read from it or
    // written to it, for its tab and for second windows on the same text.
    void RememberDiskState(TEditorEx* editor, const QString& path, const std::optional<FileStamp>& stamp);
    // Before the document of a tab overwrites its own file: true when the
    // file is as the program left it, else when the user says so.
    bool MayOverwrite(int index);
    // When a tab or the window comes back: offers to read the active
    // document's file again when it changed on disk (once per change).
    void CheckDiskChange();
    // Reads the document's file into it again, the caret and the view kept
    // where they were; a file that cannot be read leaves the text as it was.
    void ReadAgain(TEditorEx* editor, const QString& path, TReadEncoding encoding);
    void RebuildReopenMenu();

    // Status panels.
    void RefreshModifiedPanel(TEditorEx* editor);
    // The file format (MainFormEncoding.cpp): the 文字コード menu, its
    // panel, and a change that marks the document modified.
    void CreateEncodingMenu(QMenu* file);
    void RefreshEncodingMenu(TEditorEx* editor);
    void RefreshFormatPanel(TEditorEx* editor);
    void ChangeFileFormat(TEditorEx* editor, const TFileFormat& format);
    // 開き直す: the active document's file read again in the encoding the
    // user names, after asking when that loses changes.
    void ReopenInEncoding(TReadEncoding encoding);
    void RefreshOverwritePanel(TEditorEx* editor);
    void RefreshSelectionModePanel(TEditorEx* editor);
    void SetPositionMode(TPositionMode mode);

    // The active editor if its text may be changed (not Read Only).
    TEditorEx* WritableEditor() const;
    // A command's line edits on the active editor's lines, as one undo step.
    void EditActiveLines(const std::function<TLineEdits(TLineList, TEditorEx&)>& command);
    // ";" put before (add) or taken from the selected rows or the caret's line.
    void CommentCaretLines(bool add);

    // The reference lists in the document editors (MainFormReference.cpp):
    // Tab on a selection, Ctrl+Space, system variables drawn in bold,
    // pointer hints and double clicks.
    void ConnectReferenceEvents(TEditorEx* editor);
    bool EditorKeyPress(TEditorEx* editor, const QKeyEvent& key);
    void EditorMouseMove(TEditorEx* editor, const QPoint& pos, Qt::KeyboardModifiers modifiers);
    void EditorDoubleClick(TEditorEx* editor);
    void HighlightSystemVariables(TEditorEx* editor, QPainter* painter, const QByteArray& row, int x, int y, int index,
                                  const QRect& rect);
    // Shows a pick list of reference lines; the picked name goes in at the caret.
    void ShowReferencePick(TEditorEx* editor, const TReferencePick& pick);
    // The caret line with a "func" ("system") pick-list item put in.
    void InsertPickedName(TEditorEx* editor, const TPickItem& item, bool systemVariable);
    // The second reserved-word list as a lookup, made again after the
    // tokenizer changes.
    const TSystemVariableWords& SystemVariableWords();
    // A place in the editor's document for the pointer and double-click
    // decisions; its lines and definitions are kept until the rows change.
    TDocumentPlace PlaceIn(TEditorEx* editor, int row, int col);

    // The left panel with the command/function tree (MainFormTree.cpp).
    void CreateTreePanel(QWidget* parent);
    // The editor a tab had before it was split, of the active tab.
    TEditorEx* TabOriginalEditor() const;
    // The file-name part of the active tab's path ("New File" when unsaved).
    QString ActiveFileName() const;

    // Analyses (MainFormAnalyses.cpp).
    void ConnectOutputPane();
    void ConnectFixes(QMenu* lisp);
    void ConnectFixesPane();
    // The fix on the definition whose "(defun" stands on `definitionLine`;
    // with `recheck` the variable check runs again into the output pane.
    void FixVariables(TEditorEx* editor, int definitionLine, TVariableFix fix, bool recheck);
    // Shows report lines in the output pane from its top.
    void ShowInOutputPane(const TTextLines& lines);
    // Status panel 4 after a selection change of a document editor.
    void SelectionCount(TEditorEx* editor, bool selected);
    // The first bracket pair of the output pane's tokenizer.
    void SetPaneBrackets(const std::string& left, const std::string& right);
    void ShowElapsed(const QElapsedTimer& timer);
    // Builds a user-function list of the active document and shows it in
    // TForm5; a picked function is jumped to.
    void UserFunctionList(const QString& caption, TPickList (*build)(TLineList, TProgressSink*), bool storeAtStart);
    void ShowVariableReport(const TVariableReport& report, const QElapsedTimer& timer);
    // Moves the editor to a 0-based line, `topLine` at the top.
    void GoToLine(TEditorEx* editor, int topLine, int line);
    // A line of the project report in the pane: opens its file (or selects
    // its tab) at its place; false when the line is none of that report's.
    bool ProjectPaneJump(int paneLine);
    // Asks for the folder and runs one of the project pane's analyses on it
    // with the open documents' texts, its report to the output pane.
    using TProjectPaneRun = std::function<const TProjectReport*(TProjectPane&, const QString& folder, TProjectOptions,
                                                                 const TProjectTexts&, TProgressSink*)>;
    void RunProjectPane(const QString& caption, const TProjectPaneRun& run);

    // Search (MainFormSearch.cpp): EditorSearch on the editor the command
    // took (before any dialog of its own) with the stored string and
    // options; the not-found message on failure.
    bool SearchStep(TEditorEx* editor);
    // Replaces the hit and then, with sfReplaceAll, the rest of the matches
    // as one edit; asks first while sfReplaceConfirm is set.
    void ReplaceLoop(TEditorEx& editor);

    // Sets the top row, then the caret row (both clamp).
    static void GoToRow(TEditorEx* editor, int row);
    // A file (not a folder) is there.
    static bool FileExists(const QString& path);
    void Message(const QString& text);
    bool Ask(const QString& text);

    TMainFormSetup setup_;
    QPointer<TTarnwickMainForm> creator_;

    // Layout (names as the later parts refer to them).
    QToolBar* ToolBar1 = nullptr;
    QWidget* Panel4 = nullptr;  // left panel for the command/function tree
    QToolButton* SpeedButton1 = nullptr;  // tree title
    QToolButton* SpeedButton2 = nullptr;  // "x"
    QTreeWidget* TreeView1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QSplitter* Splitter1 = nullptr;  // tabs above, output pane below
    TPageControl* PageControl1 = nullptr;
    TEditorEx* EditorEx1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QWidget* Panel3 = nullptr;  // right dock site
    TStatusPanels* StatusBar1 = nullptr;
    QLabel* hintWindow_ = nullptr;
    std::unique_ptr<TShell> desktopShell_;  // when the setup brings none
    TShell* shell_ = nullptr;
    std::unique_ptr<TSystemVariableWords> systemVariableWords_;  // null: to be made
    struct TDocumentCache;
    std::shared_ptr<TDocumentCache> documentCache_;  // of the document last pointed at
    std::shared_ptr<TProjectPane> projectPane_;  // the last project report, once there is one

    std::map<QString, QAction*> actions_;
    QMenu* reopenMenu_ = nullptr;
    QAction* CAD1 = nullptr;  // the load command
    std::vector<QAction*> loadTargets_;  // in the order of TCadTarget

    QStringList tabPaths_;
    std::unique_ptr<TOpenMenuList> reopenList_;
    TReadAhead* readAhead_ = nullptr;  // while the start-up documents open
    TColor activeTabText_ = clBlue;
    TColor activeTabFill_ = clAqua;
    TPositionMode positionMode_ = TPositionMode::RowCol;
    std::vector<std::string> functionList_;
    std::vector<std::string> sysVarList_;
    std::vector<std::string> exclusionList_;
    TEditorExProp EditorExProp1;
    std::shared_ptr<THyphenFountain> HyphenFountain1;  // documents and printing
    std::shared_ptr<THyphenFountain> HyphenFountain2;  // the output pane
    std::string printBlob_;  // print settings as stored; rewritten only when they change
    std::string printSettingsRead_;  // the printer's settings as read, to tell a change
    TStringsPrinter StringsPrinter1 = TStringsPrinter::Design();
    std::unique_ptr<TStringsPrinterInfo> printerInfo_;
    TFileDialogState OpenDialog1;
    TFileDialogState SaveDialog1;
    bool shownOnce_ = false;
    bool checkingDisk_ = false;  // the reload question is open
    bool closingTabs_ = false;   // the close questions run: no reload questions
    TReturnPoint returnPoint_;
    TSearchDialogStore searchStore_;
    QString findString_;
    QString replaceString_;
    TSearchOptions searchOptions_ = 0;
};

}  // namespace quodle
