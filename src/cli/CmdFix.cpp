// quodle-cli fix: the document put right and printed as a save writes it:
// --slips replaces the full-width slips in code, --localise adds each
// definition's undeclared names to its locals, --drop-unused takes out its
// unused locals (with --line N only the definition around line N). A head
// that cannot be rewritten safely is refused with exit status 2.
#include <cstdio>

#include "base/ShiftJis.h"
#include "cli/EditCommands.h"
#include "cli/VariableCommands.h"
#include "lisp/CodeSlips.h"
#include "lisp/VariableFixes.h"

namespace quodle::cli {
namespace {

constexpr const char* kUsage =
    "fix [--raw] --slips|--localise|--drop-unused [--line N] [--jogai FILE] [--no-star] [--no-gb] [--prefix TEXT] "
    "FILE";

int RunFix(const Args& args, Output& out) {
    const int modes = args.Has("--slips") + args.Has("--localise") + args.Has("--drop-unused");
    if (args.positional.size() != 1 || modes != 1) return Fail(std::string("usage: ") + kUsage);
    const auto exclusions = ExclusionsArg(args);
    if (!exclusions) return kExitError;
    const auto source = ReadSource(out, args.positional[0]);
    if (!source) return kExitError;
    if (args.Has("--slips")) return PrintEdited(out, *source, FixCodeSlips(source->Lines()));

    const TVariableFix fix = args.Has("--localise") ? TVariableFix::Localise : TVariableFix::DropUnused;
    const TExclusionSettings settings = ExclusionSettingsArg(args);
    TVariableFixResult result;
    if (OptionValue(args, "--line").empty()) {
        result = FixAllDefinitionVariables(source->Lines(), fix, *exclusions, settings);
    } else {
        const std::optional<int> line = CaretLineArg(args, *source);
        if (!line) return kExitError;
        const int definition = DefinitionAroundLine(source->Lines(), *line);
        if (definition < 0) return Fail(std::string(kNoDefinitionMessage));
        result = FixDefinitionVariables(source->Lines(), definition, fix, *exclusions, settings);
    }
    if (result.Refused)
        return Fail("line " + std::to_string(result.Line + 1) + ": " + Cp932ToUtf8(result.Message));
    if (!result.Message.empty()) std::fprintf(stderr, "%s\n", Cp932ToUtf8(result.Message).c_str());
    return PrintEdited(out, *source, result.Edits);
}

QUODLE_CLI_COMMAND("fix", kUsage, {"--line", "--jogai", "--prefix"},
                   {"--slips", "--localise", "--drop-unused", "--no-star", "--no-gb"}, RunFix,
                   "The document put right, as a save writes it: --slips replaces full-width slips in code by ASCII; "
                   "--localise adds the undeclared names the check lists to each definition's locals after \"/\", "
                   "--drop-unused takes out the unused locals it lists (--line N: only the definition around line N; "
                   "exclusions as for check). A definition whose argument list holds a comment or a string, or "
                   "cannot be read, is refused with exit status 2.");

}  // namespace
}  // namespace quodle::cli
