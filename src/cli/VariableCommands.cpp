#include "cli/VariableCommands.h"

#include <filesystem>

#include "app/WordLists.h"

namespace quodle::cli {

std::optional<TExclusionSet> ExclusionsArg(const Args& args) {
    bool given = false;
    for (const auto& o : args.options) given = given || o.starts_with("--jogai=");
    if (given) {
        const std::string path = OptionValue(args, "--jogai");
        const auto list = LoadExclusionList(path);
        if (!list) {
            Fail(path + ": cannot read the exclusion list");
            return std::nullopt;
        }
        return TExclusionSet(*list);
    }
    const auto list = LoadExclusionList(std::filesystem::path(ExecutableDir()) / kExclusionListFile);
    return TExclusionSet(list.value_or(WordList{}));
}

void PrintReport(Output& out, const TVariableReport& report) {
    for (const std::string_view line : report.Lines) out.Line(line);
    if (!report.Lines.empty()) return;
    // A carriage return breaks a message box line.
    const std::string_view message = report.Message;
    std::size_t start = 0;
    for (std::size_t cr; (cr = message.find('\r', start)) != std::string::npos; start = cr + 1)
        out.Line(message.substr(start, cr - start));
    out.Line(message.substr(start));
}

}  // namespace quodle::cli
