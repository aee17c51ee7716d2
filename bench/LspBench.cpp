// The language server on one large document: a full load (didOpen of the
// whole text and its first diagnostics) against one edit (an incremental
// didChange in the middle of the text and the diagnostics published after
// it), in the same run. Run through bench/lsp.sh.
//   LspBench FILE [benchmark options]   (FILE in Shift-JIS, as stored)
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "app/WordLists.h"
#include "base/ShiftJis.h"
#include "lsp/LspServer.h"

namespace {

using quodle::lsp::json;

struct TSession {
    std::size_t published = 0;
    quodle::lsp::TLspServer server;

    TSession()
        : server(Setup(), [this](std::string_view body) { published += body.find("publishDiagnostics") != body.npos; },
                 [](std::string_view) {}) {
        Send({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", {{"capabilities", json::object()}}}});
        Send({{"jsonrpc", "2.0"}, {"method", "initialized"}, {"params", json::object()}});
    }
    static quodle::lsp::TServerSetup Setup() {
        quodle::lsp::TServerSetup setup;
        setup.Lists = quodle::LoadWordListSet(std::filesystem::path(QUODLE_DATA_DIR));
        return setup;
    }
    void Send(const json& message) {
        server.Handle(message.dump());
        server.Flush();
    }
    void Open(const std::string& text) {
        Send({{"jsonrpc", "2.0"},
              {"method", "textDocument/didOpen"},
              {"params", {{"textDocument", {{"uri", "file:///bench.lsp"}, {"version", 1}, {"text", text}}}}}});
    }
};

std::string Utf8Text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return quodle::Cp932ToUtf8(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

void BM_FullLoad(benchmark::State& state, const std::string& path) {
    const std::string text = Utf8Text(path);
    for (auto _ : state) {
        TSession session;
        session.Open(text);
        if (session.published != 1) state.SkipWithError("no diagnostics");
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}

void BM_EditInTheMiddle(benchmark::State& state, const std::string& path) {
    const std::string text = Utf8Text(path);
    TSession session;
    session.Open(text);
    const std::size_t middle = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n') / 2);
    int version = 1;
    for (auto _ : state) {
        // A blank typed and taken away again, by turns: each edit changes the
        // text and so its diagnostics are made anew.
        const bool typing = version % 2 == 1;
        const json range = {{"start", {{"line", middle}, {"character", 0}}},
                            {"end", {{"line", middle}, {"character", typing ? 0 : 1}}}};
        session.Send({{"jsonrpc", "2.0"},
                      {"method", "textDocument/didChange"},
                      {"params",
                       {{"textDocument", {{"uri", "file:///bench.lsp"}, {"version", ++version}}},
                        {"contentChanges", json::array({{{"range", range}, {"text", typing ? " " : ""}}})}}}});
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (argc < 2) return 2;
    const std::string path = argv[1];
    benchmark::RegisterBenchmark("full load", BM_FullLoad, path)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("edit, then diagnostics", BM_EditInTheMiddle, path)->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
