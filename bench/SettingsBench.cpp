// The settings file at start-up and shutdown: a sound settings file (every
// key the program writes) against damaged ones of about 10 MB — 230 000
// reopen entries, or 100 000 print-setting chunks — each read the way the
// main window's creation reads it, and the whole life of a main window
// (creation with its settings, shutdown with its write batch). The baseline
// of every ratio is a plain read of the same file. Prints the ratios of the
// same run at the end.
//   SettingsBench [folder]   (default: a new folder under /tmp)
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "MainWindowBenchSupport.h"
#include "app/IniFile.h"
#include "app/OpenMenuList.h"
#include "app/Settings.h"
#include "base/FileIo.h"

using namespace quodle;
namespace fs = std::filesystem;

namespace {

fs::path gFolder;
std::map<std::string, std::string> gWorkloads;
std::map<std::string, double> gMedianMs;  // filled from the reporter

std::string SoundSettings() {
    IniDocument doc;
    using namespace settings;
    Write(doc, kFormLeft, 100);
    Write(doc, kFormTop, 80);
    Write(doc, kCadCaption, "AutoCADへロード");
    Write(doc, kFontName, "ＭＳ ゴシック");
    Write(doc, kFontSize, 10);
    Write(doc, kColorSelectBk, 0x00FF8000);
    Write(doc, kEditorTabSpaceCount, 4);
    Write(doc, kHintShowHint, true);
    TOpenMenuList reopen;
    for (int i = 0; i < 12; ++i) reopen.Push("/home/user/lisp/ツール" + std::to_string(i) + ".lsp");
    reopen.Store(doc);
    WritePrintBlob(doc, std::string(600, '\x5A'));
    return doc.Serialize();
}

std::string ManyReopenEntries() {
    std::string text = "[OpenMenuItems]\nCount=230000\n";
    for (int i = 0; i < 230000; ++i)
        text += "Item" + std::to_string(i) + "=/home/user/lisp/damaged/f" + std::to_string(i) + ".lsp\n";
    return text;
}

std::string ManyPrintChunks() {
    std::string text = "[Print]\npara_c=100000\n";
    const std::string digits(64, 'A');
    for (int i = 0; i < 100000; ++i) text += "para_d" + std::to_string(i) + "=" + digits + "\n";
    return text;
}

fs::path Workload(const std::string& name) { return gFolder / name / "quodle.ini"; }

void WriteWorkload(const std::string& name) {
    fs::create_directories(gFolder / name);
    std::ofstream(Workload(name), std::ios::binary) << gWorkloads[name];
}

void PlainRead(benchmark::State& state, const std::string& name) {
    for (auto _ : state) benchmark::DoNotOptimize(ReadFileBytes(Workload(name)));
}

// What the main window's creation reads, in one read batch.
void CreationReads(benchmark::State& state, const std::string& name) {
    for (auto _ : state) {
        const IniDocument doc = IniFile(Workload(name)).Read();
        TOpenMenuList reopen;
        reopen.Load(doc);
        benchmark::DoNotOptimize(settings::Read(doc, settings::kFontSize));
        benchmark::DoNotOptimize(settings::ReadPrintBlob(doc));
    }
}

// A main window from creation (settings, word lists, the first tab) to its
// destruction (the shutdown write batch); the file keeps its size.
void WindowLife(benchmark::State& state, const std::string& name) {
    static quodle::bench::TQuietDialogs dialogs;
    TMainFormSetup setup;
    setup.Dialogs = &dialogs;
    setup.SettingsPath = QString::fromStdString(Workload(name).string());
    setup.WordListDir = QString::fromStdString((gFolder / name).string());
    for (auto _ : state) {
        auto* form = new TTarnwickMainForm(setup);
        form->OpenStartupDocuments({});
        delete form;
        // Shutdown drops the surplus print chunks: every window meets the
        // file as it was.
        state.PauseTiming();
        WriteWorkload(name);
        state.ResumeTiming();
    }
}

class TCollector : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        // A single run counts until the median of the repetitions comes.
        for (const Run& run : runs)
            if (run.aggregate_name.empty() || run.aggregate_name == "median")
                gMedianMs[run.run_name.str()] =
                    run.GetAdjustedRealTime() * 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    char pattern[] = "/tmp/quodle-settings-bench-XXXXXX";
    gFolder = argc > 1 ? fs::path(argv[1]) : fs::path(::mkdtemp(pattern));
    gWorkloads = {{"sound", SoundSettings()}, {"reopen", ManyReopenEntries()}, {"print", ManyPrintChunks()}};
    for (const auto& [name, text] : gWorkloads) {
        WriteWorkload(name);
        benchmark::RegisterBenchmark(("PlainRead/" + name).c_str(), PlainRead, name)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("CreationReads/" + name).c_str(), CreationReads, name)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("WindowLife/" + name).c_str(), WindowLife, name)->Unit(benchmark::kMillisecond);
    }
    TCollector reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto ms = [](const std::string& run) { return gMedianMs.count(run) ? gMedianMs[run] : -1.0; };
    std::printf("\n== settings file, wall-clock medians\n");
    for (const auto& [name, text] : gWorkloads) {
        const double plain = ms("PlainRead/" + name);
        std::printf("%-6s (%5.1f MB): plain read %7.2f ms; creation reads %7.2f ms = %6.1f x plain read;"
                    " window life %7.1f ms = %5.2f x the sound file's\n",
                    name.c_str(), static_cast<double>(text.size()) / 1e6, plain, ms("CreationReads/" + name),
                    ms("CreationReads/" + name) / plain, ms("WindowLife/" + name),
                    ms("WindowLife/" + name) / ms("WindowLife/sound"));
    }
    if (argc <= 1) fs::remove_all(gFolder);
    return 0;
}
