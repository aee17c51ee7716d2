// quodle-cli print: a document printed to a PDF file with the printer
// settings the program keeps (its settings file), or the options.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/IniFile.h"
#include "app/Settings.h"
#include "app/WordLists.h"
#include "cli/Cli.h"
#include "cli/LispSource.h"
#include "print/qt/PageRenderer.h"
#include "print/qt/PrinterInfo.h"
#include "syntax/HyphenFountain.h"

namespace quodle::cli {

namespace {

// The toolkit needs an application object for fonts; without a display it
// draws off screen. Without a runtime folder (a cron job, ssh, CI) the
// toolkit would complain on stderr and fall back to a shared one in /tmp:
// a private folder of our own is made instead and removed after the
// application (members go in reverse order).
struct TGuiApplication {
    std::optional<QTemporaryDir> runtimeDir;
    std::unique_ptr<QGuiApplication> app;
};

std::unique_ptr<TGuiApplication> GuiApplication() {
    if (QGuiApplication::instance()) return nullptr;
    auto gui = std::make_unique<TGuiApplication>();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#ifndef Q_OS_WIN
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        gui->runtimeDir.emplace(QDir::tempPath() + QStringLiteral("/quodle-cli-runtime-XXXXXX"));
        if (gui->runtimeDir->isValid()) qputenv("XDG_RUNTIME_DIR", QFile::encodeName(gui->runtimeDir->path()));
    }
#endif
    static int argc = 1;
    static char name[] = "quodle-cli";
    static char* argv[] = {name, nullptr};
    gui->app = std::make_unique<QGuiApplication>(argc, argv);
    return gui;
}

int RunPrint(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail("print needs one FILE");
    const std::string pdf = OptionValue(args, "--pdf");
    if (pdf.empty()) return Fail("print needs --pdf OUT.pdf");
    const auto app = GuiApplication();

    TStringsPrinter printer = TStringsPrinter::Design();
    // A missing settings file reads as empty: the design values stay.
    printer.Restore(settings::ReadPrintBlob(IniFile(settings::SettingsFilePath(WindowProgramPath()))));
    if (const std::string columns = OptionValue(args, "--columns"); !columns.empty()) {
        const auto n = NumberArg(columns, "--columns", kMinColumnCount, kMaxColumnCount);
        if (!n) return kExitError;
        printer.SetColumnCount(static_cast<int>(*n));
    }
    if (args.Has("--no-color")) printer.SetPrintMode(pmBW);

    const std::unique_ptr<TSourceFile> source = ReadSource(out, args.positional[0]);
    if (!source) return kExitError;
    const std::shared_ptr<TFountain> fountain = CreateDocumentFountain(WordListFoldersOf(WindowProgramPath()));
    printer.SetFountain(fountain);
    printer.SetFileName(std::filesystem::absolute(args.positional[0]).string());

    TStringsPrinterInfo info;
    info.SetPdfOutput();
    TRenderedPages pages;
    if (!RenderPages(printer, info.Device(), source->Lines(), pages, kPrintProgressText, nullptr))
        return Fail("the pages could not be rendered");
    try {
        WritePdf(printer, pages, info.Printer(), pdf);
    } catch (const FileError& e) {
        return Fail(std::string("cannot write ") + e.what());
    }
    out.Line(std::to_string(pages.Pages.Count()) + " pages");
    return kExitOk;
}

}  // namespace

QUODLE_CLI_COMMAND("print", "print --pdf OUT.pdf [--columns N] [--no-color] FILE", {"--pdf", "--columns"},
                   {"--no-color"}, RunPrint,
                   "The document printed to a PDF file as the print command prints it, with the program's print "
                   "settings; --columns 1..3 and --no-color override them. Prints the page count.");

}  // namespace quodle::cli
