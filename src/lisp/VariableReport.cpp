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

// Code that is not whole is made this much at a time between definitions.
constexpr std::size_t kStretchBytes = 64 << 10;

// Whether the walks that read a definition from its "(" at (line, col) end
// inside `code`. The argument list's (ReadDefunList) ends at a third "(" or
// at a ")" while two are open — a ")" before the second "(" does not end
// it, so it can run past the definition; the body's ends at the ")" that
// balances the "(", which with `balanced` is known to lie inside.
bool WalksEndWithin(const TCodeLines& code, std::size_t line, std::size_t col, bool balanced) {
    int opens = 0, depth = 0;
    bool listEnded = false;
    for (std::size_t i = line; i < code.size(); ++i, col = 0) {
        const std::string_view s = code[i];
        for (std::size_t p = std::min(col, s.size()); p < s.size(); ++p) {
            if (s[p] == '(') {
                ++depth;
                listEnded = listEnded || ++opens == 3;
            } else if (s[p] == ')') {
                listEnded = listEnded || opens == 2;
                balanced = balanced || --depth == 0;
            } else {
                continue;
            }
            if (listEnded && balanced) return true;
        }
    }
    return false;
}

class TReportBuilder {
public:
    TReportBuilder(const TExclusionSet& exclusions, TReportKind kind, std::vector<std::string> prefixes,
                   TVariableObserver* observer = nullptr)
        : kind_(kind), prefixes_(std::move(prefixes)), observer_(observer), outside_(exclusions), body_(exclusions) {}

    // Code that is not whole is made again from the states of `scan`, in
    // order: the lines outside definitions, then a definition at a time.
    // With `sink`, the report's lines go there as they are made and the
    // result holds none.
    TVariableReport Run(TCodeWindow& code, const TTextLines& recordTexts, const TDefunScan* scan,
                        const TReportLineSink& sink) {
        sink_ = &sink;
        // The outside-code block stands on top but depends only on where
        // the top-level definitions lie.
        long long end = -1;
        TStripState after;  // of the line after the last definition's end
        for (std::size_t k = 0; k < recordTexts.size(); ++k) {
            const auto r = ParseDefunRecord(recordTexts[k]);
            if (!r || r->Nested) continue;
            if (r->Line > end) OutsideStretch(code, end + 1, r->Line - 1, after);
            end = r->EndLine;
            if (scan) after = scan->EndStates.At(k);
        }
        OutsideStretch(code, end + 1, static_cast<long long>(code.LineCount()) - 1, after);
        Outside();
        std::vector<TDefunRecord> group;
        for (std::size_t k = 0; k < recordTexts.size();) {
            // A record and the nested ones read back after it.
            const std::size_t first = k;
            group.clear();
            if (auto r = ParseDefunRecord(recordTexts[k++])) {
                group.push_back(std::move(*r));
                for (; k < recordTexts.size(); ++k) {
                    auto n = ParseDefunRecord(recordTexts[k]);
                    if (!n || !n->Nested) break;
                    group.push_back(std::move(*n));
                }
            }
            if (group.empty()) continue;
            if (scan) LoadGroup(code, group, scan->LineStates.At(first + FirstLineRecord(group)));
            inner_.clear();
            if (!group.front().Nested)
                for (std::size_t j = 1; j < group.size(); ++j) inner_.push_back(group[j].Name);
            for (std::size_t j = 0; j < group.size(); ++j) Definition(code, first + j, group[j]);
            Flush();
        }
        TVariableReport report;
        report.Lines = std::move(report_);
        report.Written = written_;
        if (report.Lines.empty() && written_ == 0)
            report.Message = Utf8ToCp932(kind_ == TReportKind::Check ? kNoFindingsMessage : kNoVariablesMessage);
        return report;
    }

private:
    // Lines first to last (none when last < first), where line `first`
    // starts in `state`, as code outside definitions.
    void OutsideStretch(TCodeWindow& code, long long first, long long last, TStripState state) {
        if (first < 0 || first > last) return;
        for (auto line = static_cast<std::size_t>(first); line <= static_cast<std::size_t>(last);) {
            const std::size_t held = code.Load(line, static_cast<std::size_t>(last), state, kStretchBytes);
            const std::size_t base = code.Base();
            outside_.AddLines(code.Code(), line - base, line - base + held - 1);
            line += held;
            state = code.StateAt(line);
        }
    }

    // The outside-code block.
    void Outside() {
        outside_.Sorted(symbols_);
        Without(
            symbols_, [&](std::string_view n) { return kind_ == TReportKind::Check && HasPrefix(n, prefixes_); },
            globals_);
        if (observer_) observer_->Outside(symbols_, globals_);
        if (!globals_.empty()) {
            report_.push_back(kOutsideHeading);
            AppendNameLines(report_, line_, kOutsideIndent, kOutsideNamesPerLine, globals_);
        }
        Flush();
    }

    void Flush() {
        if (!*sink_) return;
        for (const std::string_view line : report_) (*sink_)(line);
        written_ += report_.size();
        report_.clear();
    }

    // The record of a group that stands on the first line.
    static std::size_t FirstLineRecord(const std::vector<TDefunRecord>& group) {
        std::size_t start = 0;
        for (std::size_t j = 1; j < group.size(); ++j)
            if (group[j].Line < group[start].Line) start = j;
        return start;
    }

    // Makes the code hold the group's lines, the first starting in `state`:
    // a top-level definition's lines and as many more as the walks over its
    // records read (a nested one after its end, an argument list that is
    // not one), grown until they end inside or the text does.
    void LoadGroup(TCodeWindow& code, const std::vector<TDefunRecord>& group, TStripState state) {
        const auto first = static_cast<std::size_t>(group[FirstLineRecord(group)].Line);
        const std::size_t lastLine = code.LineCount() - 1;
        const TDefunRecord& head = group.front();
        std::size_t last = std::min(lastLine, static_cast<std::size_t>(head.Nested ? head.Line : head.EndLine));
        for (;;) {
            code.Load(first, last, state);
            if (last == lastLine || GroupWalksEndWithin(code, group)) return;
            last = std::min(lastLine, first + 2 * (last - first + 1));
        }
    }

    static bool GroupWalksEndWithin(const TCodeWindow& code, const std::vector<TDefunRecord>& group) {
        const TDefunRecord& head = group.front();
        return std::all_of(group.begin(), group.end(), [&](const TDefunRecord& r) {
            // A nested definition found before its top-level one's ")" ends
            // before it.
            const bool balanced =
                !head.Nested && (&r == &head || r.Line < head.EndLine || (r.Line == head.EndLine && r.Col < head.EndCol));
            return WalksEndWithin(code.Code(), static_cast<std::size_t>(r.Line) - code.Base(),
                                  static_cast<std::size_t>(r.Col), balanced);
        });
    }

    // One definition's block; inner_ holds the names of the definitions
    // nested in a top-level one.
    void Definition(const TCodeWindow& code, std::size_t index, const TDefunRecord& r) {
        const int line = r.Line - static_cast<int>(code.Base());
        std::vector<std::string> args = ExtractDefunArgs(code.Code(), line, r.Col);
        std::vector<std::string> locals = ExtractDefunLocals(code.Code(), line, r.Col);
        body_.Clear();
        body_.AddBody(code.Code(), line, r.Col, !r.Nested);
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
    const TReportLineSink* sink_ = nullptr;
    std::size_t written_ = 0;
};

// The code is made a definition at a time and never held whole: a large
// document's report then takes little more memory than the report.
TVariableReport BuildReport(TLineList lines, const TExclusionSet& exclusions, TReportKind kind,
                            std::vector<std::string> prefixes, TProgressSink* progress, const TReportLineSink& sink) {
    const TDefunScan scan = ScanDefuns(lines, 40, progress);
    TProgressPass pass(progress, lines.size(), 60);
    TCodeWindow code(lines, pass);
    TVariableReport report = TReportBuilder(exclusions, kind, std::move(prefixes)).Run(code, scan.Records, &scan, sink);
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
                              TProgressSink* progress, const TReportLineSink& sink) {
    return BuildReport(lines, exclusions, TReportKind::Check, settings.ActivePrefixes(), progress, sink);
}

TVariableReport VariableCheck(const TCodeLines& code, const TTextLines& records, const TExclusionSet& exclusions,
                              const TExclusionSettings& settings, TVariableObserver* observer) {
    TCodeWindow whole(code);
    return TReportBuilder(exclusions, TReportKind::Check, settings.ActivePrefixes(), observer)
        .Run(whole, records, nullptr, {});
}

TVariableReport VariableList(TLineList lines, const TExclusionSet& exclusions, TProgressSink* progress,
                             const TReportLineSink& sink) {
    return BuildReport(lines, exclusions, TReportKind::List, {}, progress, sink);
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
