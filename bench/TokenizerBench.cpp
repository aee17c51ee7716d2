// Tokenizing every row of a large LISP file, as quodle-cli tokens does
// without printing: each row parsed from the state the row above left.
//   TokenizeRows     the rows already in the row store (loaded before timing)
//   MemchrLineCount  its baseline: a memchr line count over the same bytes
//                    in memory
//   TokensCommand    the whole command without printing: load the file into
//                    the row store, then tokenize
//   LineCountFile    its baseline: read(2) in 1 MiB blocks and count LF with
//                    memchr, as the peers' linecount anchor does
//   ColourRows       every row tokenized and each token given its colour, as
//                    the painter does with bracket depth colours off
//   ColourRowsDepth  the same with them on: the option's cost is its ratio
//                    to ColourRows
//   RowStates        every row's state computed by the row store, as after
//                    loading with InitBracketsFull
//   RowStatesDepth   the same while an editor shows bracket depths: each
//                    row's bracket balance is counted and kept too
// Usage: TokenizerBench FILE [benchmark options]
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "base/FileIo.h"
#include "editor/StandaloneDocument.h"
#include "syntax/BracketDepth.h"
#include "syntax/ProgramFountains.h"
#include "text/EditorScreenStrings.h"

namespace {

std::string gPath = "/tmp/big.lsp";

const std::string& FileBytes() {
    static const std::string bytes = [] {
        auto b = quodle::ReadFileBytes(gPath);
        if (!b) {
            std::fprintf(stderr, "TokenizerBench: no file %s\n", gPath.c_str());
            std::exit(2);
        }
        return std::move(*b);
    }();
    return bytes;
}

const quodle::TEditorScreenStrings& Rows() {
    static const auto rows = [] {
        auto r = std::make_unique<quodle::TEditorScreenStrings>();
        r->LoadFromFile(gPath);
        return r;
    }();
    return *rows;
}

void MemchrLineCount(benchmark::State& state) {
    const std::string& text = FileBytes();
    for (auto _ : state) {
        std::size_t lines = 0;
        const char* p = text.data();
        const char* const end = p + text.size();
        while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))))) {
            ++lines;
            ++p;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

std::size_t TokenizeAll(const quodle::TEditorScreenStrings& rows, quodle::TFountainParser& parser) {
    std::size_t tokens = 0;
    quodle::TRowParseState rowState;
    const char key = static_cast<char>(parser.KeyByte());
    for (quodle::TheStringList::TRowCursor row(rows, 0); !row.AtEnd(); row.Next()) {
        rowState.RowEnding = static_cast<std::uint8_t>(row.Word1() & quodle::rowbits::kRowEndingMask);
        if (parser.KeyByte() >= 0 && !row.Holds(key)) parser.NextRowLacksKey();
        tokens += parser.ParseRow(row.Text(), nullptr, rowState).size();
        rowState.PrevRowEnding = rowState.RowEnding;
    }
    return tokens;
}

void TokenizeRows(benchmark::State& state) {
    const quodle::TEditorScreenStrings& rows = Rows();
    const auto fountain = quodle::CreateHyphenFountain1();
    const auto parser = fountain->CreateParser();
    std::size_t tokens = 0;
    for (auto _ : state) {
        tokens = TokenizeAll(rows, *parser);
        benchmark::DoNotOptimize(tokens);
    }
    state.counters["tokens"] = static_cast<double>(tokens);
    state.counters["rows"] = rows.Count();
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FileBytes().size()));
}

void TokensCommand(benchmark::State& state) {
    const auto fountain = quodle::CreateHyphenFountain1();
    const auto parser = fountain->CreateParser();
    for (auto _ : state) {
        quodle::TEditorScreenStrings rows;
        rows.LoadFromFile(gPath);
        benchmark::DoNotOptimize(TokenizeAll(rows, *parser));
    }
}

template <bool kDepths>
void ColourRows(benchmark::State& state) {
    const quodle::TEditorScreenStrings& rows = Rows();
    const auto fountain = quodle::CreateHyphenFountain1();
    const auto parser = fountain->CreateParser();
    std::size_t coloured = 0;
    for (auto _ : state) {
        coloured = 0;
        std::optional<quodle::TDepthColoring> depths;
        if (kDepths) depths.emplace(false, 0);
        quodle::TRowParseState rowState;
        for (int r = 0; r < rows.Count(); ++r) {
            rowState.RowEnding = rows.RowEnding(r);
            const std::string_view text = rows.View(r);
            const int depth = kDepths ? depths->Depth() : 0;
            const std::span<const quodle::TTokenSpan> tokens = parser->ParseRow(text, nullptr, rowState);
            for (const quodle::TTokenSpan& t : tokens)
                coloured += quodle::TokenColorBy(depths, *parser, t, text) != nullptr ? 1 : 0;
            if (kDepths) {
                // As the painter goes on to the next row: from the row's balance.
                quodle::TBracketCounter counter;
                counter.Add(tokens, text);
                depths->SetDepth(counter.Balance().Apply(depth));
            }
            rowState.PrevRowEnding = rowState.RowEnding;
        }
        benchmark::DoNotOptimize(coloured);
    }
    state.counters["coloured"] = static_cast<double>(coloured);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FileBytes().size()));
}

// Every state computed from the top, as after loading with InitBracketsFull.
template <bool kDepths>
void RowStates(benchmark::State& state) {
    static quodle::TStandaloneDocument doc(quodle::CreateHyphenFountain1());
    quodle::TEditorScreenStrings& rows = doc.Rows();
    if (rows.Count() == 0) doc.LoadFromFile(gPath);
    doc.SetBracketDepths(kDepths);
    for (auto _ : state) {
        rows.UpdateAllStates();
        benchmark::DoNotOptimize(rows.EnsureRowState(rows.Count() - 1));
    }
    state.counters["depth at end"] = rows.BracketDepthAt(rows.Count() - 1);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FileBytes().size()));
}

void LineCountFile(benchmark::State& state) {
    std::vector<char> buf(1 << 20);
    for (auto _ : state) {
        const int fd = ::open(gPath.c_str(), O_RDONLY);
        std::size_t lines = 0;
        ssize_t n;
        while ((n = ::read(fd, buf.data(), buf.size())) > 0) {
            const char* p = buf.data();
            const char* const end = p + n;
            while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))))) {
                ++lines;
                ++p;
            }
        }
        ::close(fd);
        benchmark::DoNotOptimize(lines);
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (argc > 1) gPath = argv[1];
    Rows();  // loaded before any timing
    benchmark::RegisterBenchmark("MemchrLineCount", MemchrLineCount)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("TokenizeRows", TokenizeRows)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("LineCountFile", LineCountFile)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("TokensCommand", TokensCommand)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ColourRows", ColourRows<false>)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ColourRowsDepth", ColourRows<true>)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("RowStates", RowStates<false>)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("RowStatesDepth", RowStates<true>)->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
