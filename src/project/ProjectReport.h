#pragma once
// The findings of a project as the output pane shows them (and the command
// line prints them): grouped by kind, then by file, each line with the
// place a double click on it goes to.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextLines.h"
#include "project/ProjectModel.h"

namespace quodle {

struct TReportTarget {
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;
    std::uint32_t File = kNone;  // index into TProject::Files(); kNone: the line leads nowhere
    int Line = 0;                // 0-based
    int Offset = 0;              // bytes into the line
    bool operator==(const TReportTarget&) const = default;
};

struct TProjectReport {
    TTextLines Lines;  // Shift-JIS
    // One per line, kept small: a report can have a line for each of
    // hundreds of thousands of variables.
    std::vector<TReportTarget> Targets;
    std::optional<TReportTarget> TargetAt(std::size_t line) const {
        if (line >= Targets.size() || Targets[line].File == TReportTarget::kNone) return std::nullopt;
        return Targets[line];
    }
    // The message shown besides the lines when there is nothing to report
    // (Shift-JIS), else empty.
    std::string Message;
};

// `folder` is the folder as the user named it (UTF-8 on Linux).
TProjectReport BuildProjectReport(const TProject& project, const std::vector<TFinding>& findings,
                                  std::string_view folder);

// The calls of the function `name` the project's files hold (CallsOf), as
// 関数の呼び出し箇所 lists them: under a heading with the folder, the name
// and the count, each file's line and a line per call with its place and
// its line's text, each leading there.
TProjectReport BuildCallsReport(const TProject& project, std::string_view name,
                                const std::vector<TProject::TFileCalls>& calls, std::string_view folder);

// Whether there are findings, or a file's variable check has any.
bool AnythingToReport(const TProject& project, const std::vector<TFinding>& findings);

// "12:5": a place's line and character column, both from 1.
std::string PlaceText(const TProjectPlace& place);

}  // namespace quodle
