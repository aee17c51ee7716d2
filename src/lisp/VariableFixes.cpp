#include "lisp/VariableFixes.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <vector>

#include "base/ShiftJis.h"
#include "base/Text.h"
#include "lisp/LispScanner.h"
#include "lisp/SymbolSet.h"

namespace quodle {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// What the check found for one definition.
struct TFacts {
    TDefunRecord Record;
    std::vector<std::string> Globals;
    std::vector<std::string> UnusedLocals;
};

class TFactsObserver final : public TVariableObserver {
public:
    std::vector<TFacts> Facts;
    void Outside(std::span<const std::string_view>, std::span<const std::string_view>) override {}
    void Definition(const TDefinitionVariables& found) override {
        TFacts f;
        f.Record = found.Definition;
        f.Globals.assign(found.Globals.begin(), found.Globals.end());
        f.UnusedLocals.assign(found.UnusedLocals.begin(), found.UnusedLocals.end());
        Facts.push_back(std::move(f));
    }
};

// The code of the document with the state each line starts in.
struct TCode {
    TCodeLines Lines;
    TStripStates States;
    explicit TCode(TLineList lines) {
        TStripState state;
        TProgressPass pass(nullptr, lines.size(), 0);
        Lines.Refill(lines, 0, state, std::numeric_limits<std::size_t>::max(), pass, &States);
    }
};

// ---------------------------------------------------------------- the head

struct TToken {
    int Line;
    std::size_t Begin, End;  // bytes of the document line
    bool Slash;
};

// The argument list as written: where its brackets stand in the document
// and the names and "/" between them.
struct THead {
    int OpenLine = 0;
    std::size_t OpenPos = 0;
    int CloseLine = 0;
    std::size_t ClosePos = 0;
    std::vector<TToken> Tokens;
    std::size_t SlashIndex = std::string::npos;  // in Tokens
};

enum class TProblem { None, Comment, Unusual };

// Splits [from, to) of a line of the list into names and "/".
TProblem AddTokens(std::string_view line, int index, std::size_t from, std::size_t to, THead& head) {
    for (std::size_t p = from; p < to;) {
        if (IsBlank(line[p])) {
            ++p;
            continue;
        }
        if (line[p] == ',') return TProblem::Unusual;
        if (line[p] == '/') {
            if (head.SlashIndex != std::string::npos) return TProblem::Unusual;
            head.SlashIndex = head.Tokens.size();
            head.Tokens.push_back({index, p, p + 1, true});
            ++p;
            continue;
        }
        const std::size_t begin = p;
        // None of these bytes is ever the second byte of a character.
        while (p < to && !IsBlank(line[p]) && line[p] != '/' && line[p] != ',') p += CharLengthAt(line, p);
        head.Tokens.push_back({index, begin, std::min(p, to), false});
    }
    return TProblem::None;
}

TProblem ReadHead(TLineList lines, const TCode& code, const TDefunRecord& r, THead& head) {
    // The list's brackets in the code: the second "(" and the ")" that
    // closes it, with no third "(" between (a form there).
    int opens = 0, openLine = -1, closeLine = -1;
    std::size_t openCol = 0, closeCol = 0;
    for (std::size_t l = static_cast<std::size_t>(r.Line); l < code.Lines.size() && closeLine < 0; ++l) {
        const std::string_view s = code.Lines[l];
        for (std::size_t p = l == static_cast<std::size_t>(r.Line) ? std::min<std::size_t>(r.Col, s.size()) : 0;
             p < s.size(); ++p) {
            if (s[p] == '(') {
                if (++opens == 3) return TProblem::Unusual;
                if (opens == 2) openLine = static_cast<int>(l), openCol = p;
            } else if (s[p] == ')') {
                if (opens < 2) return TProblem::Unusual;
                closeLine = static_cast<int>(l);
                closeCol = p;
                break;
            }
        }
    }
    if (closeLine < 0) return TProblem::Unusual;
    // The same bytes in the document: nothing may have been taken out
    // between the brackets, or the list holds a string or a comment.
    for (int l = openLine; l <= closeLine; ++l) {
        const std::string_view line = lines[static_cast<std::size_t>(l)];
        const std::string_view c = code.Lines[static_cast<std::size_t>(l)];
        const TStripState st = code.States.At(static_cast<std::size_t>(l));
        const std::size_t cf = l == openLine ? openCol : 0;
        std::size_t df = 0;
        if (l == openLine) {
            df = CodeToLineOffset(line, st, cf);
        } else if (!st.InCode()) {
            return TProblem::Comment;
        }
        std::size_t dt = line.size();
        if (l == closeLine) {
            const std::size_t close = CodeToLineOffset(line, st, closeCol);
            if (close - df != closeCol - cf) return TProblem::Comment;
            dt = close;
            head.CloseLine = l;
            head.ClosePos = close;
        } else if (line.size() - df != c.size() - cf) {
            return TProblem::Comment;
        }
        std::size_t from = df;
        if (l == openLine) {
            head.OpenLine = l;
            head.OpenPos = df;
            from = df + 1;
        }
        if (const TProblem p = AddTokens(line, l, from, dt, head); p != TProblem::None) return p;
    }
    return TProblem::None;
}

// ---------------------------------------------------------------- edits

// The changes of all fixed definitions, merged into line edits at the end.
struct TChanges {
    std::vector<TLineReplacement> Replacements;
    std::set<std::size_t> Deletable;  // lines to go if they end up blank
    int Names = 0;
};

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& n : names) {
        if (!text.empty()) text += ' ';
        text += n;
    }
    return text;
}

void Localise(const THead& head, const std::vector<std::string>& names, TChanges& out) {
    const bool slash = head.SlashIndex != std::string::npos;
    if (head.Tokens.empty()) {
        out.Replacements.push_back(
            {static_cast<std::size_t>(head.OpenLine), head.OpenPos + 1, 0, "/ " + Joined(names)});
    } else {
        const TToken& last = head.Tokens.back();
        out.Replacements.push_back(
            {static_cast<std::size_t>(last.Line), last.End, 0, (slash ? " " : " / ") + Joined(names)});
    }
    out.Names += static_cast<int>(names.size());
}

// Takes out the tokens not kept, line by line: a line keeps its indentation
// and what stands before and after the list; a kept name keeps the gap in
// front of it when its neighbour stays, else it gets one blank.
void Drop(TLineList lines, const THead& head, const std::vector<bool>& kept, TChanges& out) {
    for (std::size_t i = 0; i < head.Tokens.size();) {
        const int l = head.Tokens[i].Line;
        std::size_t j = i;
        bool touched = false;
        for (; j < head.Tokens.size() && head.Tokens[j].Line == l; ++j) touched = touched || !kept[j];
        if (touched) {
            const std::string_view line = lines[static_cast<std::size_t>(l)];
            const std::size_t segFrom = l == head.OpenLine ? head.OpenPos + 1 : 0;
            const std::size_t segTo = l == head.CloseLine ? head.ClosePos : line.size();
            std::string text(line.substr(segFrom, head.Tokens[i].Begin - segFrom));
            bool any = false;
            for (std::size_t k = i; k < j; ++k) {
                const TToken& t = head.Tokens[k];
                if (!kept[k]) continue;
                if (any) text += k > i && kept[k - 1] ? line.substr(head.Tokens[k - 1].End, t.Begin - head.Tokens[k - 1].End)
                                                       : std::string_view(" ");
                text += line.substr(t.Begin, t.End - t.Begin);
                any = true;
            }
            if (any) text += line.substr(head.Tokens[j - 1].End, segTo - head.Tokens[j - 1].End);
            out.Replacements.push_back({static_cast<std::size_t>(l), segFrom, segTo - segFrom, std::move(text)});
            if (!any && l != head.OpenLine && l != head.CloseLine) out.Deletable.insert(static_cast<std::size_t>(l));
        }
        i = j;
    }
}

TLineEdits EditsOf(TLineList lines, TChanges& changes) {
    std::sort(changes.Replacements.begin(), changes.Replacements.end(),
              [](const TLineReplacement& a, const TLineReplacement& b) {
                  return a.Line != b.Line ? a.Line < b.Line : a.Offset < b.Offset;
              });
    TLineEdits edits;
    for (std::size_t i = 0; i < changes.Replacements.size();) {
        const std::size_t l = changes.Replacements[i].Line;
        const std::string_view line = lines[l];
        std::string text;
        std::size_t copied = 0;
        for (; i < changes.Replacements.size() && changes.Replacements[i].Line == l; ++i) {
            const TLineReplacement& r = changes.Replacements[i];
            text.append(line.substr(copied, r.Offset - copied));
            text += r.Text;
            copied = r.Offset + r.Length;
        }
        text.append(line.substr(copied));
        if (changes.Deletable.contains(l) && TrimBlanks(text).empty()) edits.Delete(static_cast<int>(l));
        else if (text != line) edits.Replace(static_cast<int>(l), text);
    }
    return edits;
}

// ---------------------------------------------------------------- one definition

class TFixer {
public:
    TFixer(TLineList lines, TVariableFix fix, const TExclusionSet& exclusions, const TExclusionSettings& settings)
        : lines_(lines), fix_(fix), exclusions_(exclusions), code_(lines) {
        const TTextLines records = CollectDefuns(code_.Lines, 0, nullptr, false);
        TFactsObserver observer;
        VariableCheck(code_.Lines, records, exclusions, settings, &observer);
        facts_ = std::move(observer.Facts);
    }

    const std::vector<TFacts>& Facts() const { return facts_; }

    // Adds the definition's change; false (with the result's message) when
    // its head cannot be rewritten.
    bool Add(const TFacts& f, const std::vector<std::string>& names, TVariableFixResult& result) {
        if (names.empty()) return true;
        THead head;
        const TProblem problem = ReadHead(lines_, code_, f.Record, head);
        if (problem != TProblem::None) {
            result.Refused = true;
            result.Line = f.Record.Line;
            result.Message = Utf8ToCp932(problem == TProblem::Comment ? kHeadHasCommentMessage : kUnusualHeadMessage);
            return false;
        }
        if (fix_ == TVariableFix::Localise) {
            Localise(head, names, changes_);
            return true;
        }
        std::vector<bool> kept(head.Tokens.size(), true);
        bool anyLocal = false;
        const std::size_t first = head.SlashIndex == std::string::npos ? head.Tokens.size() : head.SlashIndex + 1;
        for (std::size_t k = first; k < head.Tokens.size(); ++k) {
            const std::string_view text = lines_[static_cast<std::size_t>(head.Tokens[k].Line)].substr(
                head.Tokens[k].Begin, head.Tokens[k].End - head.Tokens[k].Begin);
            if (std::find(names.begin(), names.end(), text) != names.end()) {
                kept[k] = false;
                ++changes_.Names;
            } else {
                anyLocal = true;
            }
        }
        if (!anyLocal && first < head.Tokens.size() + 1 && head.SlashIndex != std::string::npos)
            kept[head.SlashIndex] = false;
        Drop(lines_, head, kept, changes_);
        return true;
    }

    // The names the fix works on: the undeclared ones to add, or the unused
    // locals that no definition written inside this one uses either (taking
    // them out would make those uses global).
    std::vector<std::string> Names(const TFacts& f) {
        if (fix_ == TVariableFix::Localise) return f.Globals;
        if (f.UnusedLocals.empty()) return {};
        TSymbolSet whole(exclusions_);
        whole.AddBody(code_.Lines, f.Record.Line, f.Record.Col, false);
        std::vector<std::string> names;
        for (const auto& n : f.UnusedLocals)
            if (!whole.Contains(n)) names.push_back(n);
        return names;
    }

    void Finish(TVariableFixResult& result) {
        result.Names = changes_.Names;
        result.Edits = EditsOf(lines_, changes_);
        if (result.Names == 0)
            result.Message = Utf8ToCp932(fix_ == TVariableFix::Localise ? kNothingToLocaliseMessage : kNothingToDropMessage);
    }

private:
    TLineList lines_;
    TVariableFix fix_;
    const TExclusionSet& exclusions_;
    TCode code_;
    std::vector<TFacts> facts_;
    TChanges changes_;
};

}  // namespace

TVariableFixResult FixDefinitionVariables(TLineList lines, int definitionLine, TVariableFix fix,
                                          const TExclusionSet& exclusions, const TExclusionSettings& settings) {
    TVariableFixResult result;
    TFixer fixer(lines, fix, exclusions, settings);
    const auto& facts = fixer.Facts();
    const auto it = std::find_if(facts.begin(), facts.end(),
                                 [&](const TFacts& f) { return f.Record.Line == definitionLine; });
    if (it == facts.end()) {
        result.Message = Utf8ToCp932(kNoDefinitionMessage);
        return result;
    }
    if (!fixer.Add(*it, fixer.Names(*it), result)) return result;
    fixer.Finish(result);
    return result;
}

TVariableFixResult FixAllDefinitionVariables(TLineList lines, TVariableFix fix, const TExclusionSet& exclusions,
                                             const TExclusionSettings& settings) {
    TVariableFixResult result;
    TFixer fixer(lines, fix, exclusions, settings);
    // The names the enclosing definition takes as locals, upper-cased.
    std::set<std::string> enclosing;
    for (const TFacts& f : fixer.Facts()) {
        std::vector<std::string> names = fixer.Names(f);
        if (!f.Record.Nested) {
            enclosing.clear();
            if (fix == TVariableFix::Localise)
                for (const auto& n : names) enclosing.insert(AsciiUpper(n));
        } else {
            std::erase_if(names, [&](const std::string& n) { return enclosing.contains(AsciiUpper(n)); });
        }
        if (!fixer.Add(f, names, result)) return result;
    }
    fixer.Finish(result);
    return result;
}

int DefinitionAroundLine(TLineList lines, int line) {
    const TCodeLines code = StripLispSource(lines);
    const TTextLines records = CollectDefuns(code, 0, nullptr, false);
    int found = -1;
    bool inTopLevel = false;
    for (const std::string_view text : records) {
        const std::optional<TDefunRecord> r = ParseDefunRecord(text);
        if (!r) continue;
        if (!r->Nested) {
            inTopLevel = r->Line <= line && line <= r->EndLine;
            if (inTopLevel) found = r->Line;
            continue;
        }
        if (!inTopLevel || r->Line > line) continue;
        // A nested definition ends where its brackets balance.
        int depth = 0;
        bool ended = false;
        for (std::size_t l = static_cast<std::size_t>(r->Line); l < code.size() && !ended; ++l) {
            const std::string_view s = code[l];
            for (std::size_t p = l == static_cast<std::size_t>(r->Line) ? static_cast<std::size_t>(r->Col) : 0;
                 p < s.size(); ++p) {
                if (s[p] == '(') ++depth;
                if (s[p] == ')' && --depth == 0) {
                    ended = true;
                    if (static_cast<int>(l) >= line && r->Line >= found) found = r->Line;
                    break;
                }
            }
        }
    }
    return found;
}

int ReportLineOwner(TLineList report, int line) {
    for (int l = std::min(line, static_cast<int>(report.size()) - 1); l >= 0; --l) {
        const std::string_view text = report[static_cast<std::size_t>(l)];
        if (const int target = ReportLineTarget(text); target >= 0) return target;
        // Only the indented lines under a heading belong to it.
        if (text.empty() || text[0] != '\t') return -1;
    }
    return -1;
}

}  // namespace quodle
