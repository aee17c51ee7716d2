// The variable check and variable list reports: one walk over the defun
// records, a block of lines per definition, the code outside definitions on
// top.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>

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

// The names `perLine` to a line, each followed by one blank. `line` is
// scratch space.
template <class Names>
void AppendNameLines(TTextLines& out, std::string& line, std::string_view indent, std::size_t perLine,
                     const Names& names) {
    for (std::size_t i = 0; i < names.size(); i += perLine) {
        line = indent;
        for (std::size_t k = i; k < names.size() && k < i + perLine; ++k) (line += names[k]) += ' ';
        out.push_back(line);
    }
}

template <class Names>
void AppendSection(TTextLines& out, std::string& line, std::string_view section, const Names& names) {
    out.push_back(section);
    AppendNameLines(out, line, kNameIndent, kNamesPerLine, names);
}

// "      12| drawbox( a b  / x y )"; nested: "      15|  + inner( x )".
// The local part is left out when `locals` is null.
void AppendHeading(TTextLines& out, std::string& h, const TDefunRecord& r, const std::vector<std::string>& args,
                   const std::vector<std::string>* locals) {
    char number[24];
    std::snprintf(number, sizeof number, "%8lld", static_cast<long long>(r.Line) + 1);
    h = number;
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
    out.push_back(h);
}

// Keeps the names for which `drop` is false, in order.
template <class Names, class Pred>
void Without(const Names& names, Pred drop, TNames& out) {
    out.clear();
    for (const std::string_view n : names)
        if (!drop(n)) out.push_back(n);
}

bool HasPrefix(std::string_view name, const std::vector<std::string>& prefixes) {
    for (const auto& p : prefixes)
        if (name.starts_with(p)) return true;
    return false;
}

class TReportBuilder {
public:
    TReportBuilder(const TCodeLines& code, const TExclusionSet& exclusions, TReportKind kind,
                   std::vector<std::string> prefixes, TVariableObserver* observer = nullptr)
        : code_(code),
          kind_(kind),
          prefixes_(std::move(prefixes)),
          observer_(observer),
          outside_(exclusions),
          body_(exclusions) {}

    // `sourceBytes`: the document's size, which a report seldom outgrows.
    TTextLines Run(const TTextLines& recordTexts, std::size_t sourceBytes) {
        // Reserved capacity that is not used costs nothing but address space.
        report_.reserve(sourceBytes + 4096, code_.size() + 64);
        std::vector<std::optional<TDefunRecord>> records;
        records.reserve(recordTexts.size());
        for (const auto& text : recordTexts) records.push_back(ParseDefunRecord(text));
        // The outside-code block stands on top but depends only on where the
        // top-level definitions lie, so it is made first and the
        // definitions' blocks are appended to it.
        Outside(records);
        for (std::size_t k = 0; k < records.size(); ++k) {
            if (!records[k]) continue;
            inner_.clear();
            if (!records[k]->Nested)
                for (std::size_t j = k + 1; j < records.size() && records[j] && records[j]->Nested; ++j)
                    inner_.push_back(records[j]->Name);
            Definition(k, *records[k]);
        }
        return std::move(report_);
    }

private:
    void Outside(const std::vector<std::optional<TDefunRecord>>& records) {
        long long previousEnd = -1;
        const auto add = [&](long long first, long long last) {
            if (first >= 0 && first <= last)
                outside_.AddLines(code_, static_cast<std::size_t>(first), static_cast<std::size_t>(last));
        };
        for (const auto& r : records) {
            if (!r || r->Nested) continue;
            if (r->Line > previousEnd) add(previousEnd + 1, static_cast<long long>(r->Line) - 1);
            previousEnd = r->EndLine;
        }
        add(previousEnd + 1, static_cast<long long>(code_.size()) - 1);
        outside_.Sorted(symbols_);
        Without(
            symbols_, [&](std::string_view n) { return kind_ == TReportKind::Check && HasPrefix(n, prefixes_); },
            globals_);
        if (observer_) observer_->Outside(symbols_, globals_);
        if (globals_.empty()) return;
        report_.push_back(kOutsideHeading);
        AppendNameLines(report_, line_, kOutsideIndent, kOutsideNamesPerLine, globals_);
    }

    // One definition's block; inner_ holds the names of the definitions
    // nested in a top-level one.
    void Definition(std::size_t index, const TDefunRecord& r) {
        std::vector<std::string> args = ExtractDefunArgs(code_, r.Line, r.Col);
        std::vector<std::string> locals = ExtractDefunLocals(code_, r.Line, r.Col);
        body_.Clear();
        body_.AddBody(code_, r.Line, r.Col, !r.Nested);
        body_.Sorted(symbols_);

        // A nested definition also sees the names of the top-level one
        // around it.
        declared_.Clear();
        for (const auto& n : args) declared_.Insert(n);
        for (const auto& n : locals) declared_.Insert(n);
        if (r.Nested) {
            for (const auto& n : enclosingArgs_) declared_.Insert(n);
            for (const auto& n : enclosingLocals_) declared_.Insert(n);
        }
        Without(symbols_, [&](std::string_view n) { return declared_.Find(n) != TFoldedNameSet::npos; }, undeclared_);
        const auto used = [&](std::string_view n) { return body_.Contains(n); };
        Without(args, used, unusedArgs_);
        Without(locals, used, unusedLocals_);
        const auto isInner = [&](std::string_view n) {
            return !r.Nested && std::find(inner_.begin(), inner_.end(), n) != inner_.end();
        };

        if (kind_ == TReportKind::Check) {
            Without(undeclared_, [&](std::string_view n) { return HasPrefix(n, prefixes_) || isInner(n); }, globals_);
            if (observer_) {
                Without(undeclared_, isInner, observed_);
                observer_->Definition({index, r, args, locals, observed_, globals_, unusedArgs_, unusedLocals_});
            }
            if (!globals_.empty() || !unusedArgs_.empty() || !unusedLocals_.empty()) {
                AppendHeading(report_, line_, r, args, &locals);
                if (!globals_.empty()) AppendSection(report_, line_, kGlobalSection, globals_);
                if (!unusedArgs_.empty()) AppendSection(report_, line_, kUnusedArgSection, unusedArgs_);
                if (!unusedLocals_.empty()) AppendSection(report_, line_, kUnusedLocSection, unusedLocals_);
            }
        } else {
            AppendHeading(report_, line_, r, args, nullptr);
            if (!locals.empty()) AppendSection(report_, line_, kLocSection, locals);
            if (!r.Nested && !symbols_.empty()) AppendSection(report_, line_, kVarSection, symbols_);
            // The section stands whenever there are undeclared names, even
            // when all of them are names of nested definitions.
            if (!undeclared_.empty()) {
                Without(undeclared_, isInner, globals_);
                AppendSection(report_, line_, kGlobalSection, globals_);
            }
            if (!unusedArgs_.empty()) AppendSection(report_, line_, kUnusedArgSection, unusedArgs_);
            if (!unusedLocals_.empty()) AppendSection(report_, line_, kUnusedLocSection, unusedLocals_);
        }
        if (!r.Nested) {
            enclosingArgs_ = std::move(args);
            enclosingLocals_ = std::move(locals);
        }
    }

    const TCodeLines& code_;
    TReportKind kind_;
    std::vector<std::string> prefixes_;
    TVariableObserver* observer_;
    TSymbolSet outside_;
    TSymbolSet body_;  // each definition's in turn
    TFoldedNameSet declared_;
    std::vector<std::string> inner_;
    std::vector<std::string> enclosingArgs_;
    std::vector<std::string> enclosingLocals_;
    // Scratch lists, kept to spare an allocation per definition.
    TNames symbols_, undeclared_, unusedArgs_, unusedLocals_, globals_, observed_;
    std::string line_;  // the line being made
    TTextLines report_;
};

TVariableReport ReportOf(TReportBuilder builder, const TTextLines& records, std::size_t sourceBytes,
                         TReportKind kind) {
    TVariableReport report;
    report.Lines = builder.Run(records, sourceBytes);
    if (report.Lines.empty())
        report.Message = Utf8ToCp932(kind == TReportKind::Check ? kNoFindingsMessage : kNoVariablesMessage);
    return report;
}

TVariableReport BuildReport(TLineList lines, const TExclusionSet& exclusions, TReportKind kind,
                            std::vector<std::string> prefixes, TProgressSink* progress) {
    const TCodeLines code = StripLispSource(lines, 80, progress);
    const TTextLines records = CollectDefuns(code, 20, progress, false);
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) bytes += lines[i].size();
    TVariableReport report = ReportOf(TReportBuilder(code, exclusions, kind, std::move(prefixes)), records, bytes, kind);
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

TVariableReport VariableCheck(TLineList lines, const TExclusionSet& exclusions, const TExclusionSettings& settings,
                              TProgressSink* progress) {
    return BuildReport(lines, exclusions, TReportKind::Check, settings.ActivePrefixes(), progress);
}

TVariableReport VariableCheck(const TCodeLines& code, const TTextLines& records, const TExclusionSet& exclusions,
                              const TExclusionSettings& settings, TVariableObserver* observer) {
    return ReportOf(TReportBuilder(code, exclusions, TReportKind::Check, settings.ActivePrefixes(), observer), records,
                    code.Text().size(), TReportKind::Check);
}

TVariableReport VariableList(TLineList lines, const TExclusionSet& exclusions, TProgressSink* progress) {
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
