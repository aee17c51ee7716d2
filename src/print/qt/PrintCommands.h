#pragma once
// Preview and printing of a document's lines, and what they ask of the
// window that starts them (the lines, the questions, the system dialogs),
// so tests can answer in its place.
#include <QFont>
#include <QString>
#include <optional>
#include <string>

#include "base/FileIo.h"
#include "base/LineList.h"
#include "print/StringsPrinter.h"
#include "print/qt/PageRenderer.h"
#include "print/qt/PrinterInfo.h"

class QDialog;
class QWidget;

namespace quodle {

inline const QString kPrintQuestion = QStringLiteral("印刷しますか？");
inline const QString kPrintQuestionCaption = QStringLiteral("Quodle");

class TPrintHost {
public:
    virtual ~TPrintHost() = default;
    // The active editor's lines and its file path (UTF-8).
    virtual TLineList Lines() = 0;
    virtual std::string FileName() = 0;
    // "印刷しますか？" with Yes and No; true only for Yes.
    virtual bool ConfirmPrint(QWidget* owner) = 0;
    // Shows a window of the program modally (the preview).
    virtual int ExecModal(QDialog& dialog) = 0;
    // The system's printer set-up dialog; true when confirmed.
    virtual bool PrinterSetup(QWidget* owner, QPrinter& printer) = 0;
    virtual std::optional<QFont> ChooseFont(QWidget* owner, const QFont& initial) = 0;
    // Where the pages go when there is no printer, asked at every print
    // (a file that exists only once the user agreed to replace it);
    // nothing cancels.
    virtual std::optional<QString> PdfFileName(QWidget* owner) = 0;
    // Tells that the PDF file could not be written (the earlier file, if
    // any, is still there).
    virtual void PdfNotWritten(QWidget* owner, const FileError& error) = 0;
    // The progress window for one rendering.
    virtual TPrintProgress& Progress(QWidget* owner) = 0;
};

// Renders with "プレビューを作成中" and shows the preview; false when
// rendering was stopped.
bool PreviewLines(QWidget* owner, TStringsPrinter& printer, TStringsPrinterInfo& info, TPrintHost& host);
// Asks "印刷しますか？"; on Yes renders with "印刷中" and sends the pages
// afresh. True when the pages went out (the asking window then closes);
// after No, no PDF file chosen, a stop, a job that could not be opened or a
// PDF file that could not be written the asking window stays as it was.
bool ConfirmAndPrint(QWidget* owner, TStringsPrinter& printer, TStringsPrinterInfo& info, TPrintHost& host);

// The printer's font as Qt shows it, and back.
QFont ToQFont(const TPrintFont& font);
TPrintFont FromQFont(const QFont& font, TColor color);

}  // namespace quodle
