// quodle-cli find / replace: the search engine over a whole document (its
// rows joined with CR LF, as a save writes them), searched row by row as
// the editor does.
#include <limits>

#include "base/ShiftJis.h"
#include "base/Text.h"
#include "cli/LispSource.h"
#include "search/RowsSearch.h"

namespace quodle::cli {
namespace {

constexpr const char* kFindUsage =
    "find --pattern P [--options down,matchcase,wholeword,zenkaku,crlf,space] [--start S] [--length L] [--raw] FILE";
constexpr const char* kReplaceUsage =
    "replace --pattern P --with R [--options down,matchcase,wholeword,zenkaku,crlf,space] [--raw] FILE";

std::optional<TSearchOptions> ParseOptions(const std::string& list) {
    static constexpr struct {
        std::string_view name;
        TSearchOptions flags;
    } kNames[] = {{"down", sfDown},          {"matchcase", sfMatchCase},     {"wholeword", sfWholeWord},
                  {"zenkaku", sfNoMatchZenkaku}, {"crlf", sfIncludeCRLF}, {"space", sfIncludeSpace}};
    TSearchOptions options = 0;
    for (const std::string& word : SplitCommaList(list)) {
        if (word.empty()) continue;
        const auto it = std::find_if(std::begin(kNames), std::end(kNames), [&](const auto& n) { return n.name == word; });
        if (it == std::end(kNames)) {
            Fail("unknown search option '" + word + "'");
            return std::nullopt;
        }
        options |= it->flags;
    }
    return options;
}

std::optional<std::int64_t> OffsetArg(const Args& args, const char* name) {
    const std::string text = OptionValue(args, name);
    if (text.empty()) return 0;
    return NumberArg(text, name, 0, std::numeric_limits<std::int64_t>::max());
}

bool Given(const Args& args, std::string_view name) {
    const std::string prefix = std::string(name) + "=";
    return std::any_of(args.options.begin(), args.options.end(), [&](const std::string& o) { return o.rfind(prefix, 0) == 0; });
}

// The match SearchBuffer would give on the rows joined with CR LF, found by
// the rows' own search: the whole text is never built.
bool SearchRows(const TEditorStringList& rows, std::int64_t& start, std::int64_t& length, std::string_view pattern,
                TSearchOptions options) {
    const std::int64_t size = TextOffsetOf(rows, TextEnd(rows));
    if (pattern.empty() || size == 0 || start > size) return false;
    const TSearchPattern prepared(pattern, options);
    std::optional<TRowsMatch> match;
    if (HasOption(options, sfDown)) {
        if (length > size - start) return false;
        match = SearchRowsForward(rows, PositionOfTextOffset(rows, start + length), prepared);
    } else {
        // A start inside a character leaves that character after the limit.
        TRowOffset limit = PositionOfTextOffset(rows, start);
        if (limit.Row < rows.Count() && limit.Offset > 0 && IsTrailByteAt(rows.View(limit.Row), limit.Offset))
            --limit.Offset;
        match = SearchRowsBackward(rows, limit, prepared);
    }
    if (!match) return false;
    start = TextOffsetOf(rows, {match->Start.Row, 0}) + match->Start.Offset;
    length = match->Length;
    return true;
}

int RunFind(const Args& args, Output& out) {
    if (args.positional.size() != 1 || !Given(args, "--pattern")) return Fail(std::string("usage: ") + kFindUsage);
    const auto options = ParseOptions(OptionValue(args, "--options"));
    const auto start = options ? OffsetArg(args, "--start") : std::nullopt;
    const auto length = start ? OffsetArg(args, "--length") : std::nullopt;
    if (!length) return kExitError;
    const auto source = ReadSource(out, args.positional[0]);
    if (!source) return kExitError;
    std::int64_t s = *start, l = *length;
    if (!SearchRows(source->Rows(), s, l, Utf8ToCp932(OptionValue(args, "--pattern")), *options)) {
        out.Line("not found");
        return kExitFindings;
    }
    out.Line("found " + std::to_string(s) + " " + std::to_string(l));
    return kExitOk;
}

int RunReplace(const Args& args, Output& out) {
    if (args.positional.size() != 1 || !Given(args, "--pattern") || !Given(args, "--with"))
        return Fail(std::string("usage: ") + kReplaceUsage);
    const auto options = ParseOptions(OptionValue(args, "--options"));
    if (!options) return kExitError;
    const auto source = ReadSource(out, args.positional[0]);
    if (!source) return kExitError;
    TEditorScreenStrings& rows = source->Rows();
    // Forward from the start, or backward from the end of the text.
    const TRowOffset from = HasOption(*options, sfDown) ? TRowOffset{} : TextEnd(rows);
    const std::uint64_t limit = ReplaceAllLimit();
    const TReplaceAll all = ReplaceAll(rows, from, TSearchPattern(Utf8ToCp932(OptionValue(args, "--pattern")), *options),
                                       Utf8ToCp932(OptionValue(args, "--with")), limit);
    if (all.End == TReplaceEnd::TooLarge)
        return Fail("replacing " + std::to_string(all.Count) + " matches would make the document " +
                    std::to_string(all.Bytes) + " bytes, more than the " + std::to_string(limit) +
                    " a replace may make; nothing replaced");
    if (const int status = PrintDocument(out, rows); status != kExitOk) return status;
    std::fprintf(stderr, "%lld\n", static_cast<long long>(all.Count));
    return kExitOk;
}

QUODLE_CLI_COMMAND("find", kFindUsage, {"--pattern", "--options", "--start", "--length"}, {}, RunFind,
                   "One search over the document from byte --start after a selection of --length bytes: \"found "
                   "START LENGTH\" (exit 0) or \"not found\" (exit 1). --options takes down, matchcase, wholeword, "
                   "zenkaku, crlf and space.");
QUODLE_CLI_COMMAND("replace", kReplaceUsage, {"--pattern", "--with", "--options"}, {}, RunReplace,
                   "Replace-all over the document (forward with \"down\" in --options, else backward): the "
                   "document as a save writes it, the count on stderr.");

}  // namespace
}  // namespace quodle::cli
