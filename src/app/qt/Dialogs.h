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

class TDialogs {
public:
    virtual ~TDialogs() = default;
    // A message with an OK button and no icon.
    virtual void ShowMessage(QWidget* owner, const QString& caption, const QString& text) = 0;
    // A Yes/No question with no icon; true only for Yes.
    virtual bool AskYesNo(QWidget* owner, const QString& caption, const QString& text) = 0;
    // The chosen path, or nothing on cancel. FilterIndex follows the choice.
    virtual std::optional<QString> OpenFileName(QWidget* owner, TFileDialogState& state) = 0;
    virtual std::optional<QString> SaveFileName(QWidget* owner, TFileDialogState& state) = 0;
    // Shows one of the program's own modal windows and returns its result
    // (QDialog::Accepted or Rejected); tests drive the window instead.
    virtual int ExecModal(QDialog& dialog);
    // The font and colour dialogs, started on the given value: the chosen
    // one, or nothing on Cancel.
    virtual std::optional<QFont> ChooseFont(QWidget* owner, const QFont& initial);
    virtual std::optional<QColor> ChooseColor(QWidget* owner, const QColor& initial);
    // A number in [min, max] typed into a small prompt, or nothing on Cancel.
    virtual std::optional<int> AskInteger(QWidget* owner, const QString& caption, const QString& label, int value,
                                          int min, int max);
    // The line-number prompt "行番号ジャンプ": the text typed, or nothing on Cancel.
    virtual std::optional<QString> LineNumber(QWidget* owner) = 0;
    // The replace confirmation (Yes, No, Cancel, All) near the caret.
    virtual TReplaceAnswer ConfirmReplace(QWidget* owner, const QString& text, const QRect& caret) = 0;
    // The system's printer set-up dialog; true when confirmed.
    virtual bool PrinterSetup(QWidget* owner, QPrinter& printer);
    // A folder chosen in the folder dialog, which opens at `initialDir`; nothing on Cancel.
    virtual std::optional<QString> FolderName(QWidget* owner, const QString& caption, const QString& initialDir);
};

// The dialogs of the running program.
class TQtDialogs final : public TDialogs {
public:
    void ShowMessage(QWidget* owner, const QString& caption, const QString& text) override;
    bool AskYesNo(QWidget* owner, const QString& caption, const QString& text) override;
    std::optional<QString> OpenFileName(QWidget* owner, TFileDialogState& state) override;
    std::optional<QString> SaveFileName(QWidget* owner, TFileDialogState& state) override;
    std::optional<QString> LineNumber(QWidget* owner) override;
    TReplaceAnswer ConfirmReplace(QWidget* owner, const QString& text, const QRect& caret) override;
};

// "AutoLISPファイル(*.lsp)|*.lsp|…" as Qt name filters, one per pair.
QStringList QtNameFilters(const QString& classicFilter);

}  // namespace quodle
