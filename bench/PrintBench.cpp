// Printing a document to PDF, in one run: laying out its rows (the
// baseline), rendering every page into the spool, and rendering and writing
// the PDF file. Prints pages per second and the ratios at the end.
//   PrintBench FILE.lsp
// One whole print to PDF, for a peak-memory figure:
//   PrintBench --once FILE.lsp OUT.pdf
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <string>

#include "EditorBenchSupport.h"
#include "editor/StandaloneDocument.h"
#include "lisp/DocumentLines.h"
#include "print/qt/PageRenderer.h"
#include "print/qt/PrinterInfo.h"

using namespace quodle;
using quodle::bench::SharedFountain;
using quodle::bench::ThreadMicros;

namespace {

TStringsPrinter Printer() {
    TStringsPrinter printer = TStringsPrinter::Design();
    printer.SetFountain(SharedFountain());
    printer.SetFileName("/bench/workload.lsp");
    return printer;
}

struct TFigures {
    double layoutMs = 0, renderMs = 0, pdfMs = 0;
    std::size_t pages = 0;
} gFigures;

std::size_t PrintToPdf(TLineList lines, const QString& pdf, bool send) {
    const TStringsPrinter printer = Printer();
    TStringsPrinterInfo info;
    info.SetPdfOutput();
    TRenderedPages pages;
    if (!RenderPages(printer, info.Device(), lines, pages, kPrintProgressText, nullptr)) return 0;
    if (send) WritePdf(printer, pages, info.Printer(), pdf.toStdString());
    return pages.Pages.Count();
}

void BM_Layout(benchmark::State& state, TLineList lines) {
    const TStringsPrinter printer = Printer();
    TStringsPrinterInfo info;
    info.SetPdfOutput();
    for (auto _ : state) {
        const double c0 = ThreadMicros();
        state.counters["pages"] = static_cast<double>(CountPages(printer, info.Device(), lines));
        gFigures.layoutMs = (ThreadMicros() - c0) / 1000;
        state.SetIterationTime(gFigures.layoutMs / 1000);
    }
}

void BM_Render(benchmark::State& state, TLineList lines) {
    for (auto _ : state) {
        const double c0 = ThreadMicros();
        gFigures.pages = PrintToPdf(lines, QStringLiteral("/dev/null"), false);
        gFigures.renderMs = (ThreadMicros() - c0) / 1000;
        state.SetIterationTime(gFigures.renderMs / 1000);
    }
}

void BM_Pdf(benchmark::State& state, TLineList lines) {
    const QString out = QStringLiteral("/tmp/quodle-print-bench.pdf");
    for (auto _ : state) {
        const double c0 = ThreadMicros();
        gFigures.pages = PrintToPdf(lines, out, true);
        gFigures.pdfMs = (ThreadMicros() - c0) / 1000;
        state.SetIterationTime(gFigures.pdfMs / 1000);
    }
    std::remove(out.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--once") == 0) {
        TStandaloneDocument document;
        document.LoadFromFile(argv[2]);
        const TDocumentLines lines(document.Rows());
        const std::size_t pages = PrintToPdf(lines.Lines(), QString::fromLocal8Bit(argv[3]), true);
        std::printf("%zu\n", pages);
        return pages > 0 ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: PrintBench FILE.lsp | PrintBench --once FILE.lsp OUT.pdf\n");
        return 2;
    }
    TStandaloneDocument document;
    document.LoadFromFile(argv[1]);
    const TDocumentLines lines(document.Rows());
    for (auto* b : {benchmark::RegisterBenchmark("Layout", BM_Layout, lines.Lines()),
                    benchmark::RegisterBenchmark("Render", BM_Render, lines.Lines()),
                    benchmark::RegisterBenchmark("RenderAndPdf", BM_Pdf, lines.Lines())})
        b->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    const TFigures& f = gFigures;
    std::printf("pages %zu; layout %.0f ms, render %.0f ms (%.1f x layout), render + PDF %.0f ms (%.1f x layout)\n",
                f.pages, f.layoutMs, f.renderMs, f.renderMs / f.layoutMs, f.pdfMs, f.pdfMs / f.layoutMs);
    std::printf("pages per second (render + PDF, thread cpu): %.1f; 1000 pages would take %.1f s\n",
                f.pages / (f.pdfMs / 1000), 1000 / (f.pages / (f.pdfMs / 1000)));
    return 0;
}
