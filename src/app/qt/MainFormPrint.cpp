// ファイル → 印刷: the print settings dialog on the active document, with
// the main window answering what printing asks.
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <memory>
#include <optional>

#include "app/qt/MainForm.h"
#include "app/qt/Messages.h"
#include "app/qt/PageControl.h"
#include "editor/qt/EditorEx.h"
#include "lisp/DocumentLines.h"
#include "print/qt/PrintProgressWindow.h"
#include "print/qt/PrintSettingsDialog.h"
#include "print/qt/PrinterInfo.h"

namespace quodle {

namespace {

class TMainFormPrintHost final : public TPrintHost {
public:
    TMainFormPrintHost(TDialogs& dialogs, TEditorEx& editor, QString path)
        : dialogs_(dialogs), editor_(editor), path_(std::move(path)) {}

    TLineList Lines() override {
        lines_.emplace(editor_.Rows());
        return lines_->Lines();
    }
    std::string FileName() override { return path_.toStdString(); }
    bool ConfirmPrint(QWidget* owner) override {
        return dialogs_.AskYesNo(owner, kPrintQuestionCaption, kPrintQuestion);
    }
    int ExecModal(QDialog& dialog) override { return dialogs_.ExecModal(dialog); }
    bool PrinterSetup(QWidget* owner, QPrinter& printer) override { return dialogs_.PrinterSetup(owner, printer); }
    std::optional<QFont> ChooseFont(QWidget* owner, const QFont& initial) override {
        return dialogs_.ChooseFont(owner, initial);
    }
    // The document's name with ".pdf", in its folder, is proposed.
    std::optional<QString> PdfFileName(QWidget* owner) override {
        pdfDialog_.Filter = QStringLiteral("PDF (*.pdf)|*.pdf");
        pdfDialog_.DefaultExt = QStringLiteral("pdf");
        if (QDir::isAbsolutePath(path_)) {
            const QFileInfo document(path_);
            pdfDialog_.InitialDir = document.absolutePath();
            pdfDialog_.InitialFile = document.completeBaseName() + QStringLiteral(".pdf");
        }
        const std::optional<QString> chosen = dialogs_.SaveFileName(owner, pdfDialog_);
        if (!chosen) return std::nullopt;
        if (QFileInfo::exists(*chosen) &&
            !dialogs_.AskYesNo(owner, QString::fromUtf8(kMessageCaption), ReplaceExistingText(*chosen)))
            return std::nullopt;
        return chosen;
    }
    void PdfNotWritten(QWidget* owner, const FileError& error) override {
        dialogs_.ShowMessage(owner, QString::fromUtf8(kMessageCaption), SaveFailedText(error));
    }
    // The window is the host's alone: a window that asks may close first.
    TPrintProgress& Progress(QWidget*) override {
        progress_ = std::make_unique<TFormStringsPrinterProgress>(nullptr);
        return *progress_;
    }

private:
    TDialogs& dialogs_;
    TEditorEx& editor_;
    QString path_;
    std::optional<TDocumentLines> lines_;
    TFileDialogState pdfDialog_;
    std::unique_ptr<TFormStringsPrinterProgress> progress_;
};

}  // namespace

TStringsPrinterInfo& TTarnwickMainForm::PrinterInfo() {
    if (!printerInfo_) printerInfo_ = std::make_unique<TStringsPrinterInfo>();
    return *printerInfo_;
}

void TTarnwickMainForm::N92Click() {
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    const int index = PageControl1->ActivePageIndex();
    const QString path = index >= 0 && index < tabPaths_.size() ? tabPaths_[index] : QString();
    StringsPrinter1.SetBracketDepthColors(editor->BracketDepthColors());
    TMainFormPrintHost host(*setup_.Dialogs, *editor, path);
    TForm10 form(this, StringsPrinter1, PrinterInfo(), host);
    setup_.Dialogs->ExecModal(form);
}

}  // namespace quodle
