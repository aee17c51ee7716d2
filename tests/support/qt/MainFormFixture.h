#pragma once
// The real main window for Qt tests: its settings file and word lists in a
// temporary folder, every dialog answered through the scripted seam.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/qt/MainForm.h"
#include "base/ShiftJis.h"
#include "support/FakeCadDesktop.h"
#include "support/qt/EditorInput.h"
#include "support/qt/FakeDialogs.h"
#include "text/ReadAhead.h"

namespace quodle::testing {

// Writes `text` (UTF-8 here) as Shift-JIS bytes.
inline void WriteSjisFile(const QString& path, const QString& text) {
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    const std::string bytes = Utf8ToCp932(text.toStdString());
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

inline QString ReadSjisFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QStringLiteral("<missing>");
    return FromSjis(f.readAll().toStdString());
}

// Mixed into a test class: call InitFixture() from init() and
// CleanupFixture() from cleanup().
class TMainFormFixture {
protected:
    using TKind = TFakeDialogs::TKind;

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TFakeDialogs> dialogs_;
    std::unique_ptr<TFakeCadDesktop> fakeDesktop_;
    TCadDesktop* cadDesktop_ = nullptr;  // the fake unless a test sets another
    TShell* shellSeam_ = nullptr;        // the desktop's unless a test sets one
    const TClock* clock_ = nullptr;      // the machine's unless a test sets one

    QString Path(const QString& name) const { return dir_->filePath(name); }
    QString IniPath() const { return Path(QStringLiteral("bin/quodle.ini")); }

    // A fresh folder with an empty bin/ for the settings and word lists.
    void InitFixture() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("bin")));
        dialogs_ = std::make_unique<TFakeDialogs>();
        fakeDesktop_ = std::make_unique<TFakeCadDesktop>();
        cadDesktop_ = fakeDesktop_.get();
        shellSeam_ = nullptr;
        clock_ = nullptr;
    }
    // Deletes every main window (a window deletes its own top-level
    // children), then checks that each dialog had a scripted answer and the
    // program's caption.
    void CleanupFixture() {
        QList<QPointer<TTarnwickMainForm>> windows;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* form = qobject_cast<TTarnwickMainForm*>(w)) windows << form;
        for (const auto& w : windows) delete w.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(dialogs_->unscripted, 0);
        for (const QString& caption : dialogs_->Captions()) QCOMPARE(caption, QStringLiteral("Tarnwick"));
    }

    // A window, not shown yet, that has opened `arguments` as at start-up.
    TTarnwickMainForm* NewWindow(const QStringList& arguments = {}) const {
        TMainFormSetup setup;
        setup.Dialogs = dialogs_.get();
        setup.SettingsPath = IniPath();
        setup.WordListDir = Path(QStringLiteral("bin"));
        setup.CadDesktop = cadDesktop_;
        setup.Shell = shellSeam_;
        setup.Clock = clock_;
        setup.TemporaryLoadFile = Path(QStringLiteral("bin/temp.lsp"));
        setup.SearchSettingsPath = Path(QStringLiteral("search.ini"));
        // The files are read ahead while the window is made, as at a start.
        const QStringList paths = TTarnwickMainForm::StartupPaths(arguments);
        const std::unique_ptr<TReadAhead> readAhead = TTarnwickMainForm::ReadAhead(paths);
        auto* w = new TTarnwickMainForm(setup);
        w->OpenStartupDocuments(paths, readAhead.get());
        return w;
    }
    // Shows the window and waits until it is active, so keys reach it.
    static bool Show(TTarnwickMainForm* w) {
        w->show();
        w->activateWindow();
        return QTest::qWaitForWindowActive(w);
    }
    TTarnwickMainForm* Create(const QStringList& arguments = {}) const {
        TTarnwickMainForm* w = NewWindow(arguments);
        if (!Show(w)) qWarning("window not active");
        return w;
    }

    QStringList Messages() const { return dialogs_->Texts(TKind::Message); }
};

}  // namespace quodle::testing
