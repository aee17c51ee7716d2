// One file of a project boiled down to its summary: the scanner's code and
// records, the variable check with its findings, and one pass over the code
// that follows the brackets to tell calls from data, argument lists and cond
// clauses, and to find where each global is set and read.
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "base/ShiftJis.h"
#include "base/Text.h"
#include "lisp/LispScanner.h"
#include "project/ProjectModel.h"

namespace quodle {

namespace {

enum class THead : std::uint8_t { hOther, hSetq, hDefun, hDefunQ, hLambda, hCond, hQuote, hFunction, hFunArg, hForeach };

// The forms whose lists and names mean something else than a call: those
// that take a function as an argument ('name, or (function name)) among
// them, and those that bind a name for their own body.
THead HeadOf(std::string_view name) {
    struct TEntry {
        std::string_view Name;
        THead Head;
    };
    static constexpr std::array<TEntry, 19> kHeads{{
        {"SETQ", THead::hSetq},         {"DEFUN", THead::hDefun},
        {"DEFUN-Q", THead::hDefunQ},    {"LAMBDA", THead::hLambda},
        {"COND", THead::hCond},         {"QUOTE", THead::hQuote},
        {"FUNCTION", THead::hFunction}, {"MAPCAR", THead::hFunArg},
        {"APPLY", THead::hFunArg},      {"VL-SORT", THead::hFunArg},
        {"VL-SORT-I", THead::hFunArg},  {"VL-MEMBER-IF", THead::hFunArg},
        {"VL-MEMBER-IF-NOT", THead::hFunArg}, {"VL-REMOVE-IF", THead::hFunArg},
        {"VL-REMOVE-IF-NOT", THead::hFunArg}, {"VL-SOME", THead::hFunArg},
        {"VL-EVERY", THead::hFunArg},   {"FOREACH", THead::hForeach},
        {"VLAX-FOR", THead::hForeach},
    }};
    if (name.size() < 4 || name.size() > 16) return THead::hOther;
    for (const TEntry& e : kHeads)
        if (AsciiEqualsIgnoreCase(name, e.Name)) return e.Head;
    return THead::hOther;
}

// Bytes that end a token in code-only lines. No trail byte of a double-byte
// character is one of them (trail bytes start at 0x40).
bool EndsToken(char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == '(' || c == ')' || c == '\'' || c == ',';
}

std::size_t TokenEnd(std::string_view s, std::size_t p) {
    while (p < s.size() && !EndsToken(s[p])) ++p;
    return p;
}

bool LooksNumeric(std::string_view token) {
    std::size_t i = 0;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
    if (i < token.size() && token[i] == '.') ++i;
    return i < token.size() && token[i] >= '0' && token[i] <= '9';
}

// A set of names with a value each, compared the program's way.
template <class T>
class TNameMap {
public:
    // The entry for `name`, made with `make` when it is new.
    template <class Make>
    T& At(std::string_view name, Make make) {
        const auto [index, inserted] = names_.Insert(name);
        if (inserted) values_.push_back(make());
        return values_[index];
    }
    T* Find(std::string_view name) {
        const std::size_t index = names_.Find(name);
        return index == TFoldedNameSet::npos ? nullptr : &values_[index];
    }
    std::vector<T>& Values() { return values_; }
    void Clear() {
        names_.Clear();
        values_.clear();
    }

private:
    TFoldedNameSet names_;
    std::vector<T> values_;
};

// What the variable check found per record, kept for the pass.
struct TDefinitionNames {
    std::vector<std::string> Declared;    // arguments and locals, the enclosing definition's too
    std::vector<std::string> Undeclared;  // before the prefixes
};

class TCheckCollector final : public TVariableObserver {
public:
    // `definitionOf`: the index in file.Definitions of each record (-1 for
    // one that does not read back).
    TCheckCollector(std::vector<int> definitionOf, TProjectFile& file)
        : byRecord_(definitionOf.size()), definitionOf_(std::move(definitionOf)), file_(file) {}

    void Outside(std::span<const std::string_view> symbols, std::span<const std::string_view> reported) override {
        for (const std::string_view n : symbols) outside_.Insert(n);
        for (const std::string_view n : reported) Add(TVariableKind::vkGlobal, -1, n, {});
    }
    void Definition(const TDefinitionVariables& found) override {
        TDefinitionNames& names = byRecord_[found.Record];
        names.Declared = found.Args;
        names.Declared.insert(names.Declared.end(), found.Locals.begin(), found.Locals.end());
        if (found.Definition.Nested) {
            names.Declared.insert(names.Declared.end(), enclosing_.begin(), enclosing_.end());
        } else {
            enclosing_ = names.Declared;
        }
        names.Undeclared.assign(found.Undeclared.begin(), found.Undeclared.end());
        const TProjectPlace place{found.Definition.Line, found.Definition.Col, 0};
        const auto add = [&](TVariableKind kind, std::span<const std::string_view> list) {
            for (const std::string_view n : list) Add(kind, definitionOf_[found.Record], n, place);
        };
        add(TVariableKind::vkGlobal, found.Globals);
        add(TVariableKind::vkUnusedArg, found.UnusedArgs);
        add(TVariableKind::vkUnusedLocal, found.UnusedLocals);
    }

    const TDefinitionNames& Of(std::size_t record) const { return byRecord_[record]; }
    const TFoldedNameSet& OutsideSymbols() const { return outside_; }

private:
    void Add(TVariableKind kind, int definition, std::string_view name, TProjectPlace place) {
        file_.Variables.push_back({kind, definition, static_cast<std::uint32_t>(file_.VariableNames.size()),
                                   static_cast<std::uint32_t>(name.size()), place});
        file_.VariableNames += name;
    }

    std::vector<TDefinitionNames> byRecord_;
    std::vector<int> definitionOf_;
    TProjectFile& file_;
    std::vector<std::string> enclosing_;
    TFoldedNameSet outside_;
};

// The pass over the code lines.
class TReferencePass {
public:
    TReferencePass(const TFoldedNameSet& builtins, const TCheckCollector& check,
                   std::vector<std::pair<TProjectPlace, std::size_t>> starts, TProjectFile& file)
        : builtins_(builtins), check_(check), starts_(std::move(starts)), file_(file) {}

    // Every place `name` is called or handed on goes to `places` too.
    void CollectCalls(std::string_view name, std::vector<TProjectPlace>* places) {
        callsOf_ = name;
        callPlaces_ = places;
    }

    void Run(const TCodeLines& code) {
        for (std::size_t i = 0; i < code.size(); ++i) Line(static_cast<int>(i), code[i]);
        while (!frames_.empty()) Close();
        file_.Calls = std::move(calls_.Values());
        file_.Globals = std::move(globals_.Values());
    }

    // The first place of each name the check lists outside definitions.
    std::optional<TProjectPlace> OutsidePlace(std::string_view name) {
        const TProjectPlace* place = outsidePlaces_.Find(name);
        return place ? std::optional<TProjectPlace>(*place) : std::nullopt;
    }

private:
    enum class TKind : std::uint8_t { Call, Data, ArgList, Clause };
    struct TFrame {
        TKind Kind = TKind::Call;
        THead Head = THead::hOther;
        int Elements = 0;  // the head counts
        bool Definition = false;
    };
    // The globals of the innermost definition, for looking tokens up.
    struct TScope {
        const std::vector<std::string>* Declared = nullptr;
        TFoldedNameSet Undeclared;
    };

    void Line(int line, std::string_view s) {
        std::size_t p = 0;
        while (p < s.size()) {
            const char c = s[p];
            if (static_cast<unsigned char>(c) <= ' ' || c == ',') {
                ++p;
            } else if (c == '(') {
                p = Open(line, s, p, false);
            } else if (c == ')') {
                if (!frames_.empty()) Close();
                ++p;
            } else if (c == '\'') {
                if (p + 1 < s.size() && s[p + 1] == '(') {
                    p = Open(line, s, p + 1, true);
                } else {
                    const std::size_t end = TokenEnd(s, p + 1);
                    Quoted(s.substr(p + 1, end - p - 1), {line, static_cast<int>(p + 1), 0});
                    p = std::max(end, p + 1);
                }
            } else {
                const std::size_t end = TokenEnd(s, p);
                Token(s.substr(p, end - p), {line, static_cast<int>(p), 0});
                p = end;
            }
        }
    }

    // A list opens at s[p]; returns where the scan goes on.
    std::size_t Open(int line, std::string_view s, std::size_t p, bool quoted) {
        const std::size_t nameEnd = TokenEnd(s, p + 1);
        const std::string_view name = s.substr(p + 1, nameEnd - p - 1);
        // What the single-file use counts count, wherever the list stands.
        if (!name.empty() && nameEnd < s.size() && (s[nameEnd] == ' ' || s[nameEnd] == ')'))
            Use(name, {line, static_cast<int>(p + 1), 0});

        TFrame frame;
        TFrame* parent = frames_.empty() ? nullptr : &frames_.back();
        const bool inData = parent && (parent->Kind == TKind::Data || parent->Kind == TKind::ArgList ||
                                       (parent->Kind == TKind::Call && parent->Head == THead::hQuote));
        if ((quoted || inData) && !AsciiEqualsIgnoreCase(name, "LAMBDA")) {
            frame.Kind = TKind::Data;
        } else if (parent && parent->Kind == TKind::Call &&
                   (((parent->Head == THead::hDefun || parent->Head == THead::hDefunQ) && parent->Elements == 2) ||
                    (parent->Head == THead::hLambda && parent->Elements == 1))) {
            frame.Kind = TKind::ArgList;
        } else if (parent && parent->Kind == TKind::Call && parent->Head == THead::hCond) {
            frame.Kind = TKind::Clause;
        }
        if (parent) ++parent->Elements;

        // A definition the scanner found opens here.
        const TProjectPlace at{line, static_cast<int>(p), 0};
        while (nextStart_ < starts_.size() && starts_[nextStart_].first < at) ++nextStart_;
        if (nextStart_ < starts_.size() && starts_[nextStart_].first == at) {
            frame.Definition = true;
            EnterDefinition(starts_[nextStart_++].second);
        }
        frames_.push_back(frame);
        if (frame.Kind != TKind::Call || name.empty()) return p + 1;
        Head(name, {line, static_cast<int>(p + 1), 0});
        return nameEnd;
    }

    void Close() {
        if (frames_.back().Definition) scopes_.pop_back();
        frames_.pop_back();
        while (!bound_.empty() && bound_.back().second > frames_.size()) bound_.pop_back();
    }

    // A name that a lambda's list or a foreach binds for the form's body:
    // no global there, though the variable check, which knows neither, says
    // so. It lasts while the frame at `depth` (counted from 1) is open.
    void Bind(std::string_view name, std::size_t depth) { bound_.emplace_back(name, depth); }
    bool IsBound(std::string_view name) const {
        for (auto it = bound_.rbegin(); it != bound_.rend(); ++it)
            if (AsciiEqualsIgnoreCase(it->first, name)) return true;
        return false;
    }

    void EnterDefinition(std::size_t record) {
        TScope& scope = scopes_.emplace_back();
        const TDefinitionNames& names = check_.Of(record);
        scope.Declared = &names.Declared;
        for (const std::string& n : names.Undeclared) scope.Undeclared.Insert(n);
    }

    // The first element of a call.
    void Head(std::string_view name, TProjectPlace place) {
        TFrame& frame = frames_.back();
        frame.Head = HeadOf(name);
        frame.Elements = 1;
        if (LooksNumeric(name) || IsBuiltin(name)) return;
        // A function held by an argument or local is called through it.
        if (IsBound(name)) return;
        if (!scopes_.empty())
            for (const std::string& d : *scopes_.back().Declared)
                if (AsciiEqualsIgnoreCase(d, name)) return;
        Call(name, place);
    }

    void Token(std::string_view token, TProjectPlace place) {
        if (frames_.empty()) {
            Symbol(token, place, false);
            return;
        }
        TFrame& frame = frames_.back();
        const int position = frame.Elements++;
        if (frame.Kind == TKind::Data) return;
        if (frame.Kind == TKind::ArgList) {
            // A lambda's names (its locals after "/" too) hold for its body.
            const TFrame& owner = frames_[frames_.size() - 2];
            if (owner.Head == THead::hLambda && token != "/") Bind(token, frames_.size() - 1);
            return;
        }
        if (frame.Kind == TKind::Call && position == 0) {
            Head(token, place);
            return;
        }
        if (frame.Kind == TKind::Call) {
            switch (frame.Head) {
            case THead::hSetq: Symbol(token, place, position % 2 == 1); return;
            case THead::hDefun: if (position == 1) return; break;
            case THead::hDefunQ:
                if (position == 1) {
                    file_.QDefinitions.emplace_back(token);
                    return;
                }
                break;
            case THead::hFunction:
                if (position == 1) {
                    FunctionArgument(token, place);
                    return;
                }
                break;
            case THead::hQuote: return;
            case THead::hForeach:
                if (position == 1) {
                    Bind(token, frames_.size());
                    return;
                }
                break;
            default: break;
            }
        }
        Symbol(token, place, false);
    }

    // 'name: a function handed to mapcar and its kind, else data.
    void Quoted(std::string_view token, TProjectPlace place) {
        if (frames_.empty()) return;
        TFrame& frame = frames_.back();
        ++frame.Elements;
        if (frame.Kind == TKind::Call && frame.Head == THead::hFunArg && !token.empty()) FunctionArgument(token, place);
    }

    void FunctionArgument(std::string_view name, TProjectPlace place) {
        if (LooksNumeric(name) || IsBuiltin(name)) return;
        Call(name, place).Used = true;
    }

    bool IsBuiltin(std::string_view name) const { return builtins_.Find(name) != TFoldedNameSet::npos; }

    TFileCall& Entry(std::string_view name, TProjectPlace place) {
        return calls_.At(name, [&] { return TFileCall{std::string(name), place, 0, false}; });
    }
    TFileCall& Call(std::string_view name, TProjectPlace place) {
        if (callPlaces_ && AsciiEqualsIgnoreCase(name, callsOf_)) callPlaces_->push_back(place);
        TFileCall& call = Entry(name, place);
        if (call.Calls++ == 0) call.Place = place;
        return call;
    }
    void Use(std::string_view name, TProjectPlace place) {
        if (!LooksNumeric(name) && !IsBuiltin(name)) Entry(name, place).Used = true;
    }

    // A symbol in code: a use of a global when the check found it undeclared
    // where it stands.
    void Symbol(std::string_view name, TProjectPlace place, bool set) {
        if (IsBound(name)) return;
        if (scopes_.empty()) {
            if (check_.OutsideSymbols().Find(name) == TFoldedNameSet::npos) return;
            outsidePlaces_.At(name, [&] { return place; });
        } else if (scopes_.back().Undeclared.Find(name) == TFoldedNameSet::npos) {
            return;
        }
        TFileGlobal& global = globals_.At(name, [&] { return TFileGlobal{std::string(name), {}, {}}; });
        std::optional<TProjectPlace>& first = set ? global.FirstSet : global.FirstRead;
        if (!first) first = place;
    }

    const TFoldedNameSet& builtins_;
    const TCheckCollector& check_;
    std::vector<std::pair<TProjectPlace, std::size_t>> starts_;  // of the records, sorted
    std::size_t nextStart_ = 0;
    TProjectFile& file_;
    std::vector<TFrame> frames_;
    std::vector<TScope> scopes_;
    std::vector<std::pair<std::string_view, std::size_t>> bound_;  // views into the code
    TNameMap<TFileCall> calls_;
    TNameMap<TFileGlobal> globals_;
    TNameMap<TProjectPlace> outsidePlaces_;
    std::string_view callsOf_;
    std::vector<TProjectPlace>* callPlaces_ = nullptr;
};

bool HoldsNul(TLineList lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (!line.empty() && std::memchr(line.data(), '\0', line.size())) return true;
    }
    return false;
}

// Places were taken in the code; they move to the document's lines.
class TPlaceFixer {
public:
    TPlaceFixer(TLineList lines, const TStripStates& states) : lines_(lines), states_(states) {}
    void operator()(TProjectPlace& place) const {
        if (place.Line < 0 || static_cast<std::size_t>(place.Line) >= lines_.size()) return;
        const std::string_view line = lines_[static_cast<std::size_t>(place.Line)];
        const TStripState state = states_.At(static_cast<std::size_t>(place.Line));
        const std::size_t codeOffset = static_cast<std::size_t>(place.Offset);
        // Nothing was taken out before it: the code is the line.
        const std::string_view before = line.substr(0, std::min(codeOffset, line.size()));
        const std::size_t offset = state.InCode() && before.find_first_of("\";") == std::string_view::npos
                                       ? codeOffset
                                       : CodeToLineOffset(line, state, codeOffset);
        place.Offset = static_cast<int>(offset);
        int column = 0;
        for (std::size_t i = 0; i < offset && i < line.size(); i += CharLengthAt(line, i)) ++column;
        place.Column = column;
    }
    void operator()(std::optional<TProjectPlace>& place) const {
        if (place) (*this)(*place);
    }

private:
    TLineList lines_;
    const TStripStates& states_;
};

}  // namespace

TProjectFile BinaryFile() {
    TProjectFile file;
    file.State = TFileState::fsBinary;
    file.Reason = Utf8ToCp932("テキストではありません (NUL 文字を含みます)．");
    return file;
}

namespace {

// The summary; with `callPlaces`, every place `callsOf` is called there too.
TProjectFile Summarise(TLineList lines, const TFoldedNameSet& builtins, const TExclusionSet& exclusions,
                       const TExclusionSettings& settings, std::string_view callsOf,
                       std::vector<TProjectPlace>* callPlaces) {
    if (HoldsNul(lines)) return BinaryFile();
    TProjectFile file;
    TCodeLines code;
    TStripStates states;
    TStripState state;
    TProgressPass silent(nullptr, 0, 0);
    code.Refill(lines, 0, state, std::numeric_limits<std::size_t>::max(), silent, &states);
    const TTextLines records = CollectDefuns(code, 0, nullptr, false);

    std::vector<std::pair<TProjectPlace, std::size_t>> starts;
    std::vector<int> definitionOf(records.size(), -1);
    for (std::size_t k = 0; k < records.size(); ++k) {
        const std::optional<TDefunRecord> r = ParseDefunRecord(records[k]);
        if (!r) continue;
        const TProjectPlace place{r->Line, r->Col, 0};
        definitionOf[k] = static_cast<int>(file.Definitions.size());
        file.Definitions.push_back({r->Name, r->Nested ? r->Outer : std::string(), place});
        starts.emplace_back(place, k);
    }
    std::sort(starts.begin(), starts.end());

    TCheckCollector check(std::move(definitionOf), file);
    const TVariableReport report = VariableCheck(code, records, exclusions, settings, &check);
    // Copied at its size: the check reserves room for a report as long as
    // the file, which a project of thousands of files must not keep.
    file.VariableReport = report.Lines;

    TReferencePass pass(builtins, check, std::move(starts), file);
    pass.CollectCalls(callsOf, callPlaces);
    pass.Run(code);
    for (TVariableItem& item : file.Variables)
        if (item.Definition < 0) item.Place = pass.OutsidePlace(file.NameOf(item)).value_or(TProjectPlace{});

    const TPlaceFixer fix(lines, states);
    for (TFileDefinition& d : file.Definitions) fix(d.Place);
    for (TFileCall& c : file.Calls) fix(c.Place);
    for (TFileGlobal& g : file.Globals) {
        fix(g.FirstSet);
        fix(g.FirstRead);
    }
    for (TVariableItem& item : file.Variables) fix(item.Place);
    if (callPlaces)
        for (TProjectPlace& place : *callPlaces) fix(place);
    // A project keeps thousands of these: without the room they grew with.
    file.Definitions.shrink_to_fit();
    file.Calls.shrink_to_fit();
    file.Globals.shrink_to_fit();
    file.Variables.shrink_to_fit();
    file.VariableNames.shrink_to_fit();
    return file;
}

}  // namespace

TProjectFile SummariseLines(TLineList lines, const TFoldedNameSet& builtins, const TExclusionSet& exclusions,
                            const TExclusionSettings& settings) {
    return Summarise(lines, builtins, exclusions, settings, {}, nullptr);
}

std::vector<TProjectPlace> CallPlaces(TLineList lines, std::string_view name, const TFoldedNameSet& builtins,
                                      const TExclusionSet& exclusions, const TExclusionSettings& settings) {
    std::vector<TProjectPlace> places;
    Summarise(lines, builtins, exclusions, settings, name, &places);
    return places;
}

}  // namespace quodle
