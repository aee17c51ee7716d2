#pragma once
// What the variable commands (check, vars) share: the exclusion list from
// --jogai or beside the executable, and how a report is printed.
#include <optional>

#include "app/WordLists.h"
#include "cli/Cli.h"
#include "lisp/VariableAnalysis.h"

namespace quodle::cli {

// The list named by --jogai (an error when it cannot be read), else
// "JogaiList.txt" beside the executable (empty when it is missing, as in
// the program). Nothing after reporting an error.
std::optional<WordList> ExclusionListArg(const Args& args);
// The same as a set of names to leave out.
std::optional<TExclusionSet> ExclusionsArg(const Args& args);

// The prefixes --no-star, --no-gb and --prefix TEXT leave in force.
TExclusionSettings ExclusionSettingsArg(const Args& args);

// Writes a report's lines as the analysis makes them.
TReportLineSink ReportSink(Output& out);
// What is left of a report: its lines, or its message (line breaks as line
// breaks) when it has none.
void PrintReport(Output& out, const TVariableReport& report);

}  // namespace quodle::cli
