#pragma once
// The one seam for message boxes and file dialogs: the main window asks its
// questions through TDialogs, so tests can script the answers and read the
// exact texts, and the real program shows plain Qt dialogs.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

class QColor;
class QDialog;
class QFont;
class QPrinter;
class QWidget;

namespace quodle {

// What a file dialog remembers between uses (one per dialog).
struct TFileDialogState {
    // "Description|pattern|Description|pattern…", the classic form.
    QString Filter;
    QString DefaultExt;  // without the dot, appended when the user types none
    QString InitialDir;
    QString InitialFile;  // the name proposed in it, if any
    int FilterIndex = 1;  // 1-based position in Filter
};

// The answers of the replace confirmation.
enum class TReplaceAnswer { Yes, No, Cancel, All };

// Where the replace confirmation stands: beside the caret (`caret` in
// screen pixels, as tall as a row), above the caret's row with a row
// between, or below it when there is no room above, and inside `screen`.
QPoint ConfirmBoxPosition(const QRect& screen, const QRect& caret, const QSize& box);

// Every modal window of the program goes through TDialogs, which gives the
// keyboard back, when the window closes, to the widget that had it before:
// without a window manager (remote sessions, kiosk set-ups, tests) nobody
// else does, and the main window's shortcuts would do nothing until a click.
// The public calls do that; implementations provide the Run… parts.
class TDialogs {
public:
    virtual ~TDialogs() = default;
    // A message with an OK button and no icon.
    void ShowMessage(QWidget* owner, const QString& caption, const QString& text);
    // A Yes/No question with no icon; true only for Yes.
    bool AskYesNo(QWidget* owner, const QString& caption, const QString& text);
    // The chosen path, or nothing on cancel. FilterIndex follows the choice.
    std::optional<QString> OpenFileName(QWidget* owner, TFileDialogState& state);
    std::optional<QString> SaveFileName(QWidget* owner, TFileDialogState& state);
    // Shows one of the program's own modal windows and returns its result
    // (QDialog::Accepted or Rejected); tests drive the window instead.
    int ExecModal(QDialog& dialog);
    // The font and colour dialogs, started on the given value: the chosen
    // one, or nothing on Cancel.
    std::optional<QFont> ChooseFont(QWidget* owner, const QFont& initial);
    std::optional<QColor> ChooseColor(QWidget* owner, const QColor& initial);
    // A number in [min, max] typed into a small prompt, or nothing on Cancel.
    std::optional<int> AskInteger(QWidget* owner, const QString& caption, const QString& label, int value, int min,
                                  int max);
    // The line-number prompt "行番号ジャンプ": the text typed, or nothing on Cancel.
    std::optional<QString> LineNumber(QWidget* owner);
    // The replace confirmation (Yes, No, Cancel, All) near the caret.
    TReplaceAnswer ConfirmReplace(QWidget* owner, const QString& text, const QRect& caret);
    // The system's printer set-up dialog; true when confirmed.
    bool PrinterSetup(QWidget* owner, QPrinter& printer);
    // A folder chosen in the folder dialog, which opens at `initialDir`; nothing on Cancel.
    std::optional<QString> FolderName(QWidget* owner, const QString& caption, const QString& initialDir);

protected:
    virtual void RunMessage(QWidget* owner, const QString& caption, const QString& text) = 0;
    virtual bool RunYesNo(QWidget* owner, const QString& caption, const QString& text) = 0;
    virtual std::optional<QString> RunOpenFile(QWidget* owner, TFileDialogState& state) = 0;
    virtual std::optional<QString> RunSaveFile(QWidget* owner, TFileDialogState& state) = 0;
    virtual int RunModal(QDialog& dialog);
    virtual std::optional<QFont> RunFont(QWidget* owner, const QFont& initial);
    virtual std::optional<QColor> RunColor(QWidget* owner, const QColor& initial);
    virtual std::optional<int> RunInteger(QWidget* owner, const QString& caption, const QString& label, int value,
                                          int min, int max);
    virtual std::optional<QString> RunLineNumber(QWidget* owner) = 0;
    virtual TReplaceAnswer RunConfirmReplace(QWidget* owner, const QString& text, const QRect& caret) = 0;
    virtual bool RunPrinterSetup(QWidget* owner, QPrinter& printer);
    virtual std::optional<QString> RunFolder(QWidget* owner, const QString& caption, const QString& initialDir);
};

// The dialogs of the running program.
class TQtDialogs final : public TDialogs {
protected:
    void RunMessage(QWidget* owner, const QString& caption, const QString& text) override;
    bool RunYesNo(QWidget* owner, const QString& caption, const QString& text) override;
    std::optional<QString> RunOpenFile(QWidget* owner, TFileDialogState& state) override;
    std::optional<QString> RunSaveFile(QWidget* owner, TFileDialogState& state) override;
    std::optional<QString> RunLineNumber(QWidget* owner) override;
    TReplaceAnswer RunConfirmReplace(QWidget* owner, const QString& text, const QRect& caret) override;
};

// "AutoLISPファイル(*.lsp)|*.lsp|…" as Qt name filters, one per pair.
QStringList QtNameFilters(const QString& classicFilter);

}  // namespace quodle
