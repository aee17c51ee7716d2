#pragma once
// The dialog seam for tests: answers are scripted in advance, every
// question and message is recorded with its exact caption and text.
#include <QApplication>
#include <QColor>
#include <QDialog>
#include <QFont>
#include <QString>
#include <QWidget>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "app/qt/Dialogs.h"

namespace quodle::testing {

class TFakeDialogs final : public TDialogs {
public:
    enum class TKind { Message, Question, Open, Save, Modal, LineNumber, Number, Confirm, Folder };
    struct TCall {
        TKind kind;
        QString caption;
        QString text;
        TFileDialogState state;  // file dialogs: the state they were shown with
    };

    std::vector<TCall> calls;
    std::deque<bool> answers;                    // Yes/No questions
    std::deque<std::optional<QString>> files;    // open and save dialogs; nullopt = cancel
    std::deque<std::optional<QString>> folders;  // the folder dialog; nullopt = cancel
    // Modal windows: each gets the next handler, which may drive the shown
    // window (click, type) and returns its result; none left = Rejected.
    std::deque<std::function<int(QDialog&)>> modals;
    std::deque<std::optional<QString>> lineNumbers;  // the line-number prompt; nullopt = cancel
    std::deque<std::optional<QFont>> fonts;    // the font dialog; nullopt = cancel
    std::deque<std::optional<QColor>> colors;  // the colour dialog; nullopt = cancel
    std::deque<std::optional<int>> integers;   // number prompts; nullopt = cancel
    std::deque<TReplaceAnswer> confirms;         // the replace confirmation
    std::vector<QRect> confirmCarets;            // the caret each confirmation was placed by
    int unscripted = 0;                          // dialogs that found no scripted answer

    void RunMessage(QWidget*, const QString& caption, const QString& text) override {
        TakeFocus();
        calls.push_back({TKind::Message, caption, text, {}});
    }
    bool RunYesNo(QWidget*, const QString& caption, const QString& text) override {
        TakeFocus();
        calls.push_back({TKind::Question, caption, text, {}});
        if (answers.empty()) {
            ++unscripted;
            return false;
        }
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    std::optional<QString> RunOpenFile(QWidget*, TFileDialogState& state) override { return File(TKind::Open, state); }
    std::optional<QString> RunSaveFile(QWidget*, TFileDialogState& state) override { return File(TKind::Save, state); }
    std::optional<QString> RunLineNumber(QWidget*) override {
        TakeFocus();
        calls.push_back({TKind::LineNumber, QString(), QString(), {}});
        return Next(lineNumbers);
    }

    // The call's text is the folder the dialog opened at.
    std::optional<QString> RunFolder(QWidget*, const QString& caption, const QString& initialDir) override {
        TakeFocus();
        calls.push_back({TKind::Folder, caption, initialDir, {}});
        return Next(folders);
    }
    std::optional<QFont> RunFont(QWidget*, const QFont&) override { return Next(fonts); }
    std::optional<QColor> RunColor(QWidget*, const QColor&) override { return Next(colors); }
    std::optional<int> RunInteger(QWidget*, const QString& caption, const QString& label, int, int, int) override {
        calls.push_back({TKind::Number, caption, label, {}});
        return Next(integers);
    }

    TReplaceAnswer RunConfirmReplace(QWidget*, const QString& text, const QRect& caret) override {
        calls.push_back({TKind::Confirm, QString(), text, {}});
        confirmCarets.push_back(caret);
        if (confirms.empty()) {
            ++unscripted;
            return TReplaceAnswer::Cancel;
        }
        const TReplaceAnswer answer = confirms.front();
        confirms.pop_front();
        return answer;
    }

    int RunModal(QDialog& dialog) override {
        TakeFocus();
        calls.push_back({TKind::Modal, dialog.windowTitle(), QString(), {}});
        if (modals.empty()) {
            ++unscripted;
            return QDialog::Rejected;
        }
        const auto handler = std::move(modals.front());
        modals.pop_front();
        return handler(dialog);
    }

    // The texts of the calls of one kind, in order.
    QStringList Texts(TKind kind) const {
        QStringList texts;
        for (const TCall& c : calls)
            if (c.kind == kind) texts << c.text;
        return texts;
    }
    // Every caption used by messages and questions.
    QStringList Captions() const {
        QStringList captions;
        for (const TCall& c : calls)
            if (c.kind == TKind::Message || c.kind == TKind::Question) captions << c.caption;
        return captions;
    }

private:
    // A real modal window takes the keyboard focus from the window below
    // while it is up, and that window gets it back only later, when it is
    // activated again: the program must not depend on the focus there.
    static void TakeFocus() {
        if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
    }
    std::optional<QString> File(TKind kind, const TFileDialogState& state) {
        TakeFocus();
        calls.push_back({kind, QString(), QString(), state});
        return Next(files);
    }
    template <class T>
    std::optional<T> Next(std::deque<std::optional<T>>& answers) {
        if (answers.empty()) {
            ++unscripted;
            return std::nullopt;
        }
        std::optional<T> answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
    std::optional<QString> Next(std::deque<std::optional<QString>>& answers) {
        if (answers.empty()) {
            ++unscripted;
            return std::nullopt;
        }
        // Taken apart: the compiler cannot follow a copied optional<QString>.
        const bool given = answers.front().has_value();
        const QString text = answers.front().value_or(QString());
        answers.pop_front();
        return given ? std::optional<QString>(text) : std::nullopt;
    }
};

}  // namespace quodle::testing
