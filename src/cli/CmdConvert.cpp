// quodle-cli convert: a white-space conversion of the 編集 menu over the
// whole file, printed as a save writes it. --tab gives the tab width (the
// editor's default when absent).
#include <algorithm>
#include <iterator>
#include <utility>

#include "app/Settings.h"
#include "cli/EditCommands.h"
#include "editor/LineConversions.h"

namespace quodle::cli {
namespace {

constexpr const char* kUsage =
    "convert [--raw] --op tabs-to-blanks|lead-blanks-to-tabs|runs-to-tabs|blanks-to-tabs|fullwidth-blanks"
    " [--tab W] FILE";

constexpr std::pair<const char*, TWhiteSpaceConversion> kOps[] = {
    {"tabs-to-blanks", wcTabsToBlanks}, {"lead-blanks-to-tabs", wcLeadBlanksToTabs}, {"runs-to-tabs", wcRunsToTabs},
    {"blanks-to-tabs", wcBlanksToTabs}, {"fullwidth-blanks", wcFullWidthBlanks},
};

int RunConvert(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail(std::string("usage: ") + kUsage);
    const std::string op = OptionValue(args, "--op");
    const auto it = std::find_if(std::begin(kOps), std::end(kOps), [&](const auto& o) { return op == o.first; });
    if (it == std::end(kOps)) return Fail("unknown --op '" + op + "'\nusage: quodle-cli " + kUsage);
    int tab = settings::kEditorTabSpaceCount.def;
    if (const std::string text = OptionValue(args, "--tab"); !text.empty()) {
        const auto value = NumberArg(text, "--tab", kMinTabSpaceCount, kMaxTabSpaceCount);
        if (!value) return kExitError;
        tab = static_cast<int>(*value);
    }
    const auto source = ReadSource(out, args.positional[0]);
    if (!source) return kExitError;
    return PrintEdited(out, *source, ConvertWhiteSpace(source->Lines(), it->second, TCellLayout{tab, 0}));
}

QUODLE_CLI_COMMAND("convert", kUsage, {"--op", "--tab"}, {}, RunConvert,
                   "A white-space conversion of the whole document: tabs-to-blanks, lead-blanks-to-tabs, "
                   "runs-to-tabs, blanks-to-tabs or fullwidth-blanks; --tab gives the tab width (default 4).");

}  // namespace
}  // namespace quodle::cli
