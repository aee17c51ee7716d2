#include "app/qt/Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>

#include "app/qt/FontChooser.h"
#include "app/qt/LineNumberDialog.h"

namespace quodle {

namespace {

// Taken before a modal window opens; gives the keyboard back to the widget
// that had it (or to the owner's window) once the window is gone.
class TFocusReturn {
public:
    explicit TFocusReturn(QWidget* owner) : focused_(QApplication::focusWidget()), owner_(owner) {}
    TFocusReturn(const TFocusReturn&) = delete;
    TFocusReturn& operator=(const TFocusReturn&) = delete;
    ~TFocusReturn() {
        QWidget* target = focused_ ? focused_.data() : owner_.data();
        if (!target || !target->window()->isVisible()) return;
        target->window()->activateWindow();
        if (focused_) focused_->setFocus(Qt::OtherFocusReason);
    }

private:
    QPointer<QWidget> focused_;
    QPointer<QWidget> owner_;
};

}  // namespace

void TDialogs::ShowMessage(QWidget* owner, const QString& caption, const QString& text) {
    TFocusReturn back(owner);
    RunMessage(owner, caption, text);
}

bool TDialogs::AskYesNo(QWidget* owner, const QString& caption, const QString& text) {
    TFocusReturn back(owner);
    return RunYesNo(owner, caption, text);
}

std::optional<QString> TDialogs::OpenFileName(QWidget* owner, TFileDialogState& state) {
    TFocusReturn back(owner);
    return RunOpenFile(owner, state);
}

std::optional<QString> TDialogs::SaveFileName(QWidget* owner, TFileDialogState& state) {
    TFocusReturn back(owner);
    return RunSaveFile(owner, state);
}

int TDialogs::ExecModal(QDialog& dialog) {
    TFocusReturn back(dialog.parentWidget());
    return RunModal(dialog);
}

std::optional<QFont> TDialogs::ChooseFont(QWidget* owner, const QFont& initial) {
    TFocusReturn back(owner);
    return RunFont(owner, initial);
}

std::optional<QColor> TDialogs::ChooseColor(QWidget* owner, const QColor& initial) {
    TFocusReturn back(owner);
    return RunColor(owner, initial);
}

std::optional<int> TDialogs::AskInteger(QWidget* owner, const QString& caption, const QString& label, int value,
                                        int min, int max) {
    TFocusReturn back(owner);
    return RunInteger(owner, caption, label, value, min, max);
}

std::optional<QString> TDialogs::LineNumber(QWidget* owner) {
    TFocusReturn back(owner);
    return RunLineNumber(owner);
}

TReplaceAnswer TDialogs::ConfirmReplace(QWidget* owner, const QString& text, const QRect& caret) {
    TFocusReturn back(owner);
    return RunConfirmReplace(owner, text, caret);
}

bool TDialogs::PrinterSetup(QWidget* owner, QPrinter& printer) {
    TFocusReturn back(owner);
    return RunPrinterSetup(owner, printer);
}

std::optional<QString> TDialogs::FolderName(QWidget* owner, const QString& caption, const QString& initialDir) {
    TFocusReturn back(owner);
    return RunFolder(owner, caption, initialDir);
}

int TDialogs::RunModal(QDialog& dialog) { return dialog.exec(); }

bool TDialogs::RunPrinterSetup(QWidget* owner, QPrinter& printer) {
    QPrintDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QFont> TDialogs::RunFont(QWidget* owner, const QFont& initial) {
    TFontChooser chooser(initial, owner);
    if (chooser.exec() != QDialog::Accepted) return std::nullopt;
    return chooser.ChosenFont();
}

std::optional<int> TDialogs::RunInteger(QWidget* owner, const QString& caption, const QString& label, int value,
                                        int min, int max) {
    bool ok = false;
    const int chosen = QInputDialog::getInt(owner, caption, label, value, min, max, 1, &ok);
    return ok ? std::optional<int>(chosen) : std::nullopt;
}

std::optional<QString> TDialogs::RunFolder(QWidget* owner, const QString& caption, const QString& initialDir) {
    const QString folder = QFileDialog::getExistingDirectory(owner, caption, initialDir);
    return folder.isEmpty() ? std::nullopt : std::optional<QString>(folder);
}

std::optional<QColor> TDialogs::RunColor(QWidget* owner, const QColor& initial) {
    const QColor color = QColorDialog::getColor(initial, owner);
    return color.isValid() ? std::optional<QColor>(color) : std::nullopt;
}

void TQtDialogs::RunMessage(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

bool TQtDialogs::RunYesNo(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
    return box.exec() == QMessageBox::Yes;
}

QStringList QtNameFilters(const QString& classicFilter) {
    const QStringList parts = classicFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& title = parts[i];
        const QString pattern = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the last parentheses of the title.
        filters << (title.contains(QLatin1Char('(')) ? title : title + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return filters;
}

namespace {

std::optional<QString> RunFileDialog(QWidget* owner, TFileDialogState& state, bool save) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The program asks its own question before replacing a file.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = QtNameFilters(state.Filter);
    dialog.setNameFilters(filters);
    if (state.FilterIndex >= 1 && state.FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[state.FilterIndex - 1]);
    dialog.setDefaultSuffix(state.DefaultExt);
    if (!state.InitialDir.isEmpty()) dialog.setDirectory(state.InitialDir);
    if (!state.InitialFile.isEmpty()) dialog.selectFile(state.InitialFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0) state.FilterIndex = static_cast<int>(chosen) + 1;
    return dialog.selectedFiles().constFirst();
}

}  // namespace

std::optional<QString> TQtDialogs::RunOpenFile(QWidget* owner, TFileDialogState& state) {
    return RunFileDialog(owner, state, false);
}

std::optional<QString> TQtDialogs::RunSaveFile(QWidget* owner, TFileDialogState& state) {
    return RunFileDialog(owner, state, true);
}

std::optional<QString> TQtDialogs::RunLineNumber(QWidget* owner) {
    TLineNumberDialog dialog(owner);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Text();
}

QPoint ConfirmBoxPosition(const QRect& screen, const QRect& caret, const QSize& box) {
    int left = caret.left() + 2;
    int top = caret.top() - box.height() - caret.height();
    if (top < screen.top()) top = caret.top() + caret.height();
    if (left + box.width() > screen.right()) left = screen.right() + 1 - box.width() - 4;
    return {left, top};
}

TReplaceAnswer TQtDialogs::RunConfirmReplace(QWidget* owner, const QString& text, const QRect& caret) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("確認"), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::YesToAll, owner);
    box.button(QMessageBox::YesToAll)->setText(QStringLiteral("すべて(&A)"));
    // Laid out first, so that its size is known when it is placed.
    box.adjustSize();
    const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) box.move(ConfirmBoxPosition(screen->geometry(), caret, box.frameGeometry().size()));
    switch (box.exec()) {
    case QMessageBox::Yes: return TReplaceAnswer::Yes;
    case QMessageBox::No: return TReplaceAnswer::No;
    case QMessageBox::YesToAll: return TReplaceAnswer::All;
    default: return TReplaceAnswer::Cancel;
    }
}

}  // namespace quodle
