#pragma once
// The findings of a project as the output pane shows them (and the command
// line prints them): grouped by kind, then by file, each line with the
// place a double click on it goes to.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextLines.h"
#include "project/ProjectModel.h"

namespace quodle {

struct TReportTarget {
    std::size_t File = 0;  // index into TProject::Files()
    int Line = 0;          // 0-based
    int Offset = 0;        // bytes into the line
    bool operator==(const TReportTarget&) const = default;
};

struct TProjectReport {
    TTextLines Lines;  // Shift-JIS
    std::vector<std::optional<TReportTarget>> Targets;  // one per line
    // The message shown besides the lines when there is nothing to report
    // (Shift-JIS), else empty.
    std::string Message;
};

// `folder` is the folder as the user named it (UTF-8 on Linux).
TProjectReport BuildProjectReport(const TProject& project, const std::vector<TFinding>& findings,
                                  std::string_view folder);

// "12:5": a place's line and character column, both from 1.
std::string PlaceText(const TProjectPlace& place);

}  // namespace quodle
