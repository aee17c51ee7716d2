// The variable check and variable list reports: one walk over the defun
// records, a block of lines per definition, the code outside definitions on
// top.
#include <charconv>
#include <cstdio>
#include <optional>

#include "app/IniFile.h"
#include "app/Settings.h"
#include "base/ShiftJis.h"
#include "base/Text.h"
#include "lisp/SymbolSet.h"
#include "lisp/VariableAnalysis.h"

namespace quodle {

namespace {

constexpr std::string_view kOutsideHeading = "       0l [ Global ]";
constexpr std::string_view kOutsideIndent = "\t\t\t  ";
constexpr std::size_t kOutsideNamesPerLine = 5;
constexpr std::string_view kNameIndent = "\t\t\t\t";
constexpr std::size_t kNamesPerLine = 10;
constexpr std::string_view kGlobalSection = "\t\t\t[ Global ]";
constexpr std::string_view kUnusedArgSection = "\t\t\t[ UnusedArg ]";
constexpr std::string_view kUnusedLocSection = "\t\t\t[ UnusedLoc ]";
constexpr std::string_view kLocSection = "\t\t\t[ Loc ]";
constexpr std::string_view kVarSection = "\t\t\t[ Var ]";

enum class TReportKind { Check, List };

using TNames = std::vector<std::string_view>;

TNames Views(const std::vector<std::string>& names) { return {names.begin(), names.end()}; }

// The names `perLine` to a line, each followed by one blank.
void AppendNameLines(std::vector<std::string>& out, std::string_view indent, std::size_t perLine,
                     const TNames& names) {
    for (std::size_t i = 0; i < names.size(); i += perLine) {
        std::string line(indent);
        for (std::size_t k = i; k < names.size() && k < i + perLine; ++k) (line += names[k]) += ' ';
        out.push_back(std::move(line));
    }
}

void AppendSection(std::vector<std::string>& out, std::string_view section, const TNames& names) {
    out.emplace_back(section);
    AppendNameLines(out, kNameIndent, kNamesPerLine, names);
}

// "      12| drawbox( a b  / x y )"; nested: "      15|  + inner( x )".
// The local part is left out when `locals` is null.
std::string Heading(const TDefunRecord& r, const std::vector<std::string>& args,
                    const std::vector<std::string>* locals) {
    char number[24];
    std::snprintf(number, sizeof number, "%8lld", static_cast<long long>(r.Line) + 1);
    std::string h = number;
    h += r.Nested ? "|  + " : "| ";
    h += r.Name;
    h += '(';
    if (!args.empty()) {
        h += ' ';
        for (const auto& a : args) (h += a) += ' ';
    }
    if (locals && !locals->empty()) {
        h += " / ";
        for (const auto& l : *locals) (h += l) += ' ';
    }
    h += ')';
    return h;
}

template <class Pred>
TNames Without(const TNames& names, Pred drop) {
    TNames out;
    for (const auto n : names)
        if (!drop(n)) out.push_back(n);
    return out;
}

bool HasPrefix(std::string_view name, const std::vector<std::string>& prefixes) {
    for (const auto& p : prefixes)
        if (name.starts_with(p)) return true;
    return false;
}

bool IsOneOf(std::string_view name, const std::vector<std::string>& exact) {
    for (const auto& e : exact)
        if (name == e) return true;
    return false;
}

class TReportBuilder {
public:
    TReportBuilder(const TCodeLines& code, const TExclusionSet& exclusions, TReportKind kind,
                   std::vector<std::string> prefixes)
        : code_(code), kind_(kind), prefixes_(std::move(prefixes)), outside_(exclusions), body_(exclusions) {}

    std::vector<std::string> Run(const std::vector<std::string>& recordTexts) {
        std::vector<std::optional<TDefunRecord>> records;
        records.reserve(recordTexts.size());
        for (const auto& text : recordTexts) records.push_back(ParseDefunRecord(text));
        long long previousEnd = -1;
        for (std::size_t k = 0; k < records.size(); ++k) {
            if (!records[k]) continue;
            const TDefunRecord& r = *records[k];
            if (r.Nested) {
                Definition(r, {});
                continue;
            }
            if (r.Line > previousEnd) AddOutside(previousEnd + 1, static_cast<long long>(r.Line) - 1);
            previousEnd = r.EndLine;
            std::vector<std::string> inner;
            for (std::size_t j = k + 1; j < records.size() && records[j] && records[j]->Nested; ++j)
                inner.push_back(records[j]->Name);
            Definition(r, inner);
        }
        AddOutside(previousEnd + 1, static_cast<long long>(code_.size()) - 1);

        TNames outside = outside_.Sorted();
        if (kind_ == TReportKind::Check)
            outside = Without(outside, [&](std::string_view n) { return HasPrefix(n, prefixes_); });
        std::vector<std::string> report;
        if (!outside.empty()) {
            report.emplace_back(kOutsideHeading);
            AppendNameLines(report, kOutsideIndent, kOutsideNamesPerLine, outside);
        }
        report.insert(report.end(), std::make_move_iterator(lines_.begin()), std::make_move_iterator(lines_.end()));
        return report;
    }

private:
    void AddOutside(long long first, long long last) {
        if (first >= 0 && first <= last)
            outside_.AddLines(code_, static_cast<std::size_t>(first), static_cast<std::size_t>(last));
    }

    // One definition's block; `inner` holds the names of the definitions
    // nested in a top-level one.
    void Definition(const TDefunRecord& r, const std::vector<std::string>& inner) {
        std::vector<std::string> args = ExtractDefunArgs(code_, r.Line, r.Col);
        std::vector<std::string> locals = ExtractDefunLocals(code_, r.Line, r.Col);
        body_.Clear();
        AddBodySymbols(code_, r.Line, r.Col, !r.Nested, body_);
        const TNames symbols = body_.Sorted();

        // A nested definition also sees the names of the top-level one
        // around it.
        declared_.Clear();
        for (const auto& n : args) declared_.Insert(n);
        for (const auto& n : locals) declared_.Insert(n);
        if (r.Nested) {
            for (const auto& n : enclosingArgs_) declared_.Insert(n);
            for (const auto& n : enclosingLocals_) declared_.Insert(n);
        }
        const TNames undeclared =
            Without(symbols, [&](std::string_view n) { return declared_.Find(n) != TFoldedNameSet::npos; });
        const auto used = [&](std::string_view n) { return body_.Contains(n); };
        const TNames unusedArgs = Without(Views(args), used);
        const TNames unusedLocals = Without(Views(locals), used);
        const auto isInner = [&](std::string_view n) { return IsOneOf(n, inner); };

        if (kind_ == TReportKind::Check) {
            TNames globals = Without(undeclared, [&](std::string_view n) { return HasPrefix(n, prefixes_); });
            if (!r.Nested) globals = Without(globals, isInner);
            if (!globals.empty() || !unusedArgs.empty() || !unusedLocals.empty()) {
                lines_.push_back(Heading(r, args, &locals));
                if (!globals.empty()) AppendSection(lines_, kGlobalSection, globals);
                if (!unusedArgs.empty()) AppendSection(lines_, kUnusedArgSection, unusedArgs);
                if (!unusedLocals.empty()) AppendSection(lines_, kUnusedLocSection, unusedLocals);
            }
        } else {
            lines_.push_back(Heading(r, args, nullptr));
            if (!locals.empty()) AppendSection(lines_, kLocSection, Views(locals));
            if (!r.Nested && !symbols.empty()) AppendSection(lines_, kVarSection, symbols);
            // The section stands whenever there are undeclared names, even
            // when all of them are names of nested definitions.
            if (!undeclared.empty())
                AppendSection(lines_, kGlobalSection, r.Nested ? undeclared : Without(undeclared, isInner));
            if (!unusedArgs.empty()) AppendSection(lines_, kUnusedArgSection, unusedArgs);
            if (!unusedLocals.empty()) AppendSection(lines_, kUnusedLocSection, unusedLocals);
        }
        if (!r.Nested) {
            enclosingArgs_ = std::move(args);
            enclosingLocals_ = std::move(locals);
        }
    }

    const TCodeLines& code_;
    TReportKind kind_;
    std::vector<std::string> prefixes_;
    TSymbolSet outside_;
    TSymbolSet body_;
    TFoldedNameSet declared_;
    std::vector<std::string> enclosingArgs_;
    std::vector<std::string> enclosingLocals_;
    std::vector<std::string> lines_;  // the definitions' blocks
};

TVariableReport BuildReport(std::span<const std::string> lines, const TExclusionSet& exclusions, TReportKind kind,
                            std::vector<std::string> prefixes, TProgressSink* progress) {
    const TCodeLines code = StripLispSource(lines, 80, progress);
    const std::vector<std::string> records = CollectDefuns(code, 20, progress, false);
    TVariableReport report;
    report.Lines = TReportBuilder(code, exclusions, kind, std::move(prefixes)).Run(records);
    if (report.Lines.empty())
        report.Message = kind == TReportKind::Check ? kNoFindingsMessage : kNoVariablesMessage;
    if (progress) progress->SetPosition(0);
    return report;
}

}  // namespace

std::vector<std::string> TExclusionSettings::ActivePrefixes() const {
    std::vector<std::string> prefixes;
    if (Star) prefixes.emplace_back("*");
    if (Gb) prefixes.emplace_back("GB_");
    if (Other && !OtherPrefix.empty()) prefixes.push_back(OtherPrefix);
    return prefixes;
}

TExclusionSettings ReadExclusionSettings(const IniDocument& doc) {
    TExclusionSettings s;
    s.Star = settings::Read(doc, settings::kExceptCheck1);
    s.Gb = settings::Read(doc, settings::kExceptCheck2);
    s.Other = settings::Read(doc, settings::kExceptCheck3);
    s.OtherPrefix = Utf8ToCp932(settings::Read(doc, settings::kExceptString3));
    return s;
}

void WriteExclusionSettings(IniDocument& doc, const TExclusionSettings& s) {
    settings::Write(doc, settings::kExceptCheck1, s.Star);
    settings::Write(doc, settings::kExceptCheck2, s.Gb);
    settings::Write(doc, settings::kExceptCheck3, s.Other);
    settings::Write(doc, settings::kExceptString3, Cp932ToUtf8(s.OtherPrefix));
}

TVariableReport VariableCheck(std::span<const std::string> lines, const TExclusionSet& exclusions,
                              const TExclusionSettings& settings, TProgressSink* progress) {
    return BuildReport(lines, exclusions, TReportKind::Check, settings.ActivePrefixes(), progress);
}

TVariableReport VariableList(std::span<const std::string> lines, const TExclusionSet& exclusions,
                             TProgressSink* progress) {
    return BuildReport(lines, exclusions, TReportKind::List, {}, progress);
}

int ReportLineTarget(std::string_view reportLine) {
    const std::size_t bar = reportLine.find('|');
    if (bar == std::string_view::npos || bar == 0) return -1;
    std::string_view number = TrimBlanks(reportLine.substr(0, bar));
    if (number.starts_with('+')) number.remove_prefix(1);
    int n = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), n);
    if (ec != std::errc() || end != number.data() + number.size() || n < 1) return -1;
    return n - 1;
}

}  // namespace quodle
