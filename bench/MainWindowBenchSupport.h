#pragma once
// What the main-window benchmarks share: the thread's own cpu time in
// milliseconds and the median of the samples, a dialog seam that answers
// nothing, and a main window shown offscreen with the shipped word lists and
// its settings in a temporary folder.
#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "EditorBenchSupport.h"
#include "app/qt/Dialogs.h"
#include "app/qt/MainForm.h"

namespace quodle::bench {

inline double ThreadMillis() { return ThreadMicros() / 1e3; }

inline double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Dialogs no one answers: the benchmarks' windows ask nothing, and a
// message would mean the measured command went another way.
class TQuietDialogs : public TDialogs {
protected:
    void RunMessage(QWidget*, const QString&, const QString& text) override {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(text));
    }
    bool RunYesNo(QWidget*, const QString&, const QString&) override { return false; }
    std::optional<QString> RunOpenFile(QWidget*, TFileDialogState&) override { return std::nullopt; }
    std::optional<QString> RunSaveFile(QWidget*, TFileDialogState&) override { return std::nullopt; }
    std::optional<QString> RunLineNumber(QWidget*) override { return std::nullopt; }
    int RunModal(QDialog&) override { return QDialog::Rejected; }
    TReplaceAnswer RunConfirmReplace(QWidget*, const QString&, const QRect&) override { return TReplaceAnswer::Cancel; }
};

struct TBenchWindow {
    QTemporaryDir dir;
    TTarnwickMainForm* form = nullptr;
    explicit TBenchWindow(TDialogs* dialogs) {
        TMainFormSetup setup;
        setup.Dialogs = dialogs;
        setup.SettingsPath = dir.filePath(QStringLiteral("quodle.ini"));
        setup.WordListDir = QStringLiteral(QUODLE_DATA_DIR);
        setup.TemporaryLoadFile = dir.filePath(QStringLiteral("temp.lsp"));
        form = new TTarnwickMainForm(setup);
        form->OpenStartupDocuments({});
        form->resize(1800, 1250);
        form->show();
        QApplication::processEvents();
    }
    ~TBenchWindow() { delete form; }
    TBenchWindow(const TBenchWindow&) = delete;
    TBenchWindow& operator=(const TBenchWindow&) = delete;
};

}  // namespace quodle::bench
