// Quodle: the program. Creates the main window, opens the files named on the
// command line and runs until the first main window is gone.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>

#include "app/Settings.h"
#include "app/WordLists.h"
#include "app/qt/Dialogs.h"
#include "app/qt/DisplayWait.h"
#include "app/qt/MainForm.h"
#include "app/qt/Messages.h"
#include "base/FileIo.h"
#include "base/qt/FontSubstitutes.h"
#include "cad/CadDesktop.h"
#include "cad/TemporaryLoadFile.h"
#include "text/ReadAhead.h"

namespace {

constexpr const char* kUsage =
    "usage: quodle [FILE...]\n"
    "       quodle --help | --version\n"
    "Quodle, the AutoLISP editor: opens each FILE ending in .lsp, .txt, .dxf, .dcl or .scr in a tab.\n"
    "  -h, --help   this usage\n"
    "  --version    the version\n";

// --help and --version are answered without a display; every other
// argument is the toolkit's or a file's.
std::optional<int> AnswerOptions(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--") break;
        const char* text = a == "--help" || a == "-h" ? kUsage : nullptr;
        if (a == "--version") text = "quodle " QUODLE_VERSION "\n";
        if (!text) continue;
        const bool written = std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0;
        return written ? 0 : 2;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (const std::optional<int> answered = AnswerOptions(argc, argv)) return *answered;
    // A save past a file-size limit fails and is reported; the text stays.
    quodle::IgnoreFileSizeLimitSignal();
    quodle::TDisplayWait display(argc, argv);
    if (!display.Error().empty()) {
        std::fprintf(stderr, "quodle: %s\n", display.Error().c_str());
        return 1;
    }
    // The files named on the command line are read while the toolkit starts
    // and the window is built. The toolkit has not taken its own options out
    // yet: a read that is no document's is dropped unused.
    QStringList early;
    for (int i = 1; i < argc; ++i) early << QString::fromLocal8Bit(argv[i]);
    std::unique_ptr<quodle::TReadAhead> readAhead =
        quodle::TTarnwickMainForm::ReadAhead(quodle::TTarnwickMainForm::StartupPaths(early));
    QApplication app(argc, argv);
    display.Release();
    // The design fonts are mapped onto installed faces before any widget is
    // made: a font resolved before the mapping keeps the fallback face.
    quodle::RegisterFontSubstitutes();
    // The task-bar title; the window caption is the form's own.
    QApplication::setApplicationName(QString::fromUtf8(quodle::kApplicationTitle));
    QApplication::setQuitOnLastWindowClosed(false);
    // The user interface is Japanese, the toolkit's own dialogs included.
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkitTexts);

    const QString executable = QApplication::applicationFilePath();
    quodle::TQtDialogs dialogs;
    quodle::TMainFormSetup setup;
    setup.Dialogs = &dialogs;
    setup.SettingsPath =
        QString::fromStdString(quodle::settings::SettingsFilePath(executable.toStdString()).string());
    const quodle::TWordListFolders words = quodle::WordListFoldersOf(executable.toStdString());
    setup.WordListDir = QString::fromStdString(words.own.string());
    setup.SharedWordListDir = QString::fromStdString(words.shared.string());
    const std::unique_ptr<quodle::TCadDesktop> desktop = quodle::CreateSystemDesktop();
    setup.CadDesktop = desktop.get();
    setup.TemporaryLoadFile =
        QString::fromStdString(quodle::TemporaryLoadFilePath(executable.toStdString()).string());

    auto* form = new quodle::TTarnwickMainForm(setup);
    QObject::connect(form, &QObject::destroyed, &app, &QApplication::quit);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    form->OpenStartupDocuments(quodle::TTarnwickMainForm::StartupPaths(arguments), readAhead.get());
    readAhead.reset();
    form->show();
    return app.exec();
}
