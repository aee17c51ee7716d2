#include "cli/VariableCommands.h"

#include <filesystem>

#include "app/WordLists.h"
#include "base/ShiftJis.h"
#include "cli/LispSource.h"

namespace quodle::cli {

std::optional<WordList> ExclusionListArg(const Args& args) {
    bool given = false;
    for (const auto& o : args.options) given = given || o.starts_with("--jogai=");
    if (given) {
        const std::string path = OptionValue(args, "--jogai");
        auto list = LoadExclusionList(path);
        if (!list) Fail(path + ": cannot read the exclusion list");
        return list;
    }
    return LoadExclusionList(WordListFoldersOf(WindowProgramPath()).PathOf(kExclusionListFile)).value_or(WordList{});
}

std::optional<TExclusionSet> ExclusionsArg(const Args& args) {
    const auto list = ExclusionListArg(args);
    if (!list) return std::nullopt;
    return TExclusionSet(*list);
}

TExclusionSettings ExclusionSettingsArg(const Args& args) {
    TExclusionSettings settings;
    settings.Star = !args.Has("--no-star");
    settings.Gb = !args.Has("--no-gb");
    settings.OtherPrefix = Utf8ToCp932(OptionValue(args, "--prefix"));
    settings.Other = !settings.OtherPrefix.empty();
    return settings;
}

TReportLineSink ReportSink(Output& out) {
    return [&out](std::string_view line) { out.Line(line); };
}

void PrintReport(Output& out, const TVariableReport& report) {
    for (const std::string_view line : report.Lines) out.Line(line);
    if (!report.HasFindings()) PrintMessage(out, report.Message);
}

}  // namespace quodle::cli
