// quodle-cli debug: the debug lines of the デバッグ menu on a file. add-watch
// and add-break insert a line above the caret's line; comment, uncomment and
// delete act on every watch (pv) or break (bp) line; each prints the new
// document as a save writes it. next prints the number the next line of a
// group would get.
#include <algorithm>
#include <iterator>

#include "base/ShiftJis.h"
#include "cli/EditCommands.h"
#include "lisp/DebugLines.h"

namespace quodle::cli {
namespace {

constexpr const char* kUsage =
    "debug [--raw] --op add-watch --line N --name NAME FILE | --op add-break --line N FILE |"
    " --op comment|uncomment|delete|next --group pv|bp FILE";

std::optional<TDebugGroup> GroupArg(const Args& args) {
    const std::string group = OptionValue(args, "--group");
    if (group == "pv") return dgWatch;
    if (group == "bp") return dgBreak;
    Fail("--group must be pv or bp: '" + group + "'");
    return std::nullopt;
}

// Whether the option was given, with any value (an empty name is a name).
bool Given(const Args& args, const std::string& name) {
    return std::any_of(args.options.begin(), args.options.end(),
                       [&](const std::string& o) { return o.rfind(name + "=", 0) == 0; });
}

int RunDebug(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail(std::string("usage: ") + kUsage);
    const std::string op = OptionValue(args, "--op");
    static const char* const kOps[] = {"add-watch", "add-break", "comment", "uncomment", "delete", "next"};
    if (std::find(std::begin(kOps), std::end(kOps), op) == std::end(kOps))
        return Fail("unknown --op '" + op + "'\nusage: quodle-cli " + kUsage);
    const auto source = ReadSource(out, args.positional[0]);
    if (!source) return kExitError;
    const TLineList lines = source->Lines();
    if (op == "add-watch" || op == "add-break") {
        const std::optional<int> line = CaretLineArg(args, *source);
        if (!line) return kExitError;
        if (op == "add-break") return PrintEdited(out, *source, AddBreakLine(lines, *line));
        if (!Given(args, "--name")) return Fail("--name NAME is missing");
        return PrintEdited(out, *source, AddWatchLine(lines, *line, Utf8ToCp932(OptionValue(args, "--name"))));
    }
    const std::optional<TDebugGroup> group = GroupArg(args);
    if (!group) return kExitError;
    if (op == "comment") return PrintEdited(out, *source, CommentOutDebugLines(lines, *group));
    if (op == "uncomment") return PrintEdited(out, *source, ReenableDebugLines(lines, *group));
    if (op == "delete") return PrintEdited(out, *source, DeleteDebugLines(lines, *group));
    out.Line(std::to_string(NextDebugNumber(lines, *group)));
    return kExitOk;
}

QUODLE_CLI_COMMAND("debug", kUsage, {"--op", "--line", "--name", "--group"}, {}, RunDebug,
                   "Debug lines: a watch or break line above line N (add-watch, add-break), every watch (pv) or "
                   "break (bp) line commented out, re-enabled or deleted, or the number the next one gets (next).");

}  // namespace
}  // namespace quodle::cli
