// libFuzzer target for the variable analysis: any bytes, split into lines,
// must go through the check and the list without touching memory they do
// not own; every heading must jump into the document; the check must read
// the same whether its code is made whole or a definition at a time; and
// the one-pass symbol tokenizer must agree with the two blanking routines
// on every line.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzLines.h"
#include "base/Text.h"
#include "lisp/VariableAnalysis.h"

namespace {

void CheckReport(const quodle::TVariableReport& report, std::size_t lineCount) {
    if (report.Lines.empty() == report.Message.empty()) std::abort();
    for (const std::string_view line : report.Lines) {
        // Headings start with the line number, name lines with a TAB (a name
        // such as "9|" makes its line jump too, as the rule has it).
        const bool heading = line[0] != '\t' && line.find('|') == 8;
        const int row = quodle::ReportLineTarget(line);
        if (heading && (row < 0 || static_cast<std::size_t>(row) >= lineCount)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> lines = quodle::fuzz::SplitAtLineFeeds(data, size);
    static const std::vector<std::string> jogaiLines = {"T", "NIL"};
    static const quodle::TExclusionSet jogai(jogaiLines);
    quodle::TExclusionSettings settings;
    settings.Other = true;
    settings.OtherPrefix = "a";
    const quodle::TVariableReport check = quodle::VariableCheck(lines, jogai, settings);
    CheckReport(check, lines.size());
    CheckReport(quodle::VariableList(lines, jogai), lines.size());

    // Made a definition at a time, the check reads as over the whole code.
    const quodle::TCodeLines code = quodle::StripLispSource(lines);
    const quodle::TVariableReport whole =
        quodle::VariableCheck(code, quodle::CollectDefuns(code, 0, nullptr, false), jogai, settings, nullptr);
    if (whole.Lines.ToVector() != check.Lines.ToVector()) std::abort();
    for (std::size_t i = 0; i < code.size(); ++i) {
        std::vector<std::string> got;
        quodle::ExtractSymbolSet(code, i, i, jogai, got);
        std::vector<std::string> want;
        for (const auto& token : quodle::SplitCommaList(quodle::BlankQuoted(quodle::BlankCallHeads(code[i])))) {
            if (token.empty() || !quodle::IsCandidateSymbol(token, jogai)) continue;
            bool seen = false;
            for (const auto& w : want) seen = seen || quodle::AsciiUpper(w) == quodle::AsciiUpper(token);
            if (!seen) want.push_back(token);
        }
        quodle::SortTextList(want);
        if (got != want) std::abort();
    }
    return 0;
}
