#include "project/ProjectReport.h"

#include <algorithm>
#include <cstdio>

#include "base/ShiftJis.h"
#include "base/Text.h"
#include "lisp/VariableAnalysis.h"

namespace quodle {

namespace {

std::string_view HeadingOf(TFindingKind kind) {
    switch (kind) {
    case TFindingKind::fkUndefinedFunction: return "[ 未定義関数 ]";
    case TFindingKind::fkDuplicateDefinition: return "[ 重複定義 ]";
    case TFindingKind::fkUnusedFunction: return "[ 未使用関数 ]";
    case TFindingKind::fkSharedGlobal: return "[ 共有グローバル変数 ]";
    case TFindingKind::fkSkippedFile: break;
    }
    return "[ 解析できないファイル ]";
}

std::string_view RoleText(TPlaceRole role) {
    return role == TPlaceRole::prSet ? "(代入)" : role == TPlaceRole::prRead ? "(参照)" : "";
}

// What follows a finding's name, in brackets: the pane colours the name
// from the "|" to the "(" as it does in the variable check's headings.
std::string DetailText(const TFinding& f) {
    switch (f.Kind) {
    case TFindingKind::fkUndefinedFunction: return "(呼び出し " + std::to_string(f.Calls) + " 回)";
    case TFindingKind::fkDuplicateDefinition: return "(定義 " + std::to_string(f.Others.size() + 1) + " か所)";
    case TFindingKind::fkUnusedFunction: return "(呼び出しなし)";
    default: break;
    }
    return std::string(RoleText(f.Where.Role));
}

class TReportWriter {
public:
    TReportWriter(const TProject& project, TProjectReport& report) : project_(project), report_(report) {}

    void Add(std::string_view cp932, TReportTarget target = {}) {
        report_.Lines.push_back(cp932);
        report_.Targets.push_back(target);
    }
    void AddUtf8(std::string_view utf8, TReportTarget target = {}) {
        Add(Utf8ToCp932(utf8), target);
    }

    std::string FileName(std::size_t file) const { return Utf8ToCp932(project_.Files()[file].Name); }
    // The text before a line's file name, then the name. (Appended, not
    // added to a literal: GCC 12's optimiser warns about that falsely.)
    std::string FileName(std::string_view before, std::size_t file) const {
        std::string line(before);
        line += FileName(file);
        return line;
    }

    static TReportTarget TargetOf(std::size_t file, int line, int offset) {
        return {static_cast<std::uint32_t>(file), line, offset};
    }
    static TReportTarget TargetOf(const TFindingPlace& p) { return TargetOf(p.File, p.Place.Line, p.Place.Offset); }

    // "    12:5| name" and what follows it.
    void Finding(const TFinding& f) {
        char head[32];
        std::snprintf(head, sizeof head, "%8s| ", PlaceText(f.Where.Place).c_str());
        Add(head + f.Name + " " + Utf8ToCp932(DetailText(f)), TargetOf(f.Where));
        for (const TFindingPlace& other : f.Others) {
            std::string line = FileName("\t\t\t", other.File) + "  " + PlaceText(other.Place);
            if (const std::string_view role = RoleText(other.Role); !role.empty()) {
                line += ' ';
                line += Utf8ToCp932(role);
            }
            Add(line, TargetOf(other));
        }
    }

    // The file's own variable check, as F5 shows it; its headings go to
    // their lines in that file.
    void VariableReport(std::size_t file) {
        for (const std::string_view line : project_.Files()[file].VariableReport) {
            const int target = ReportLineTarget(line);
            Add(line, target >= 0 ? TargetOf(file, target, 0) : TReportTarget{});
        }
    }

private:
    const TProject& project_;
    TProjectReport& report_;
};

}  // namespace

std::string PlaceText(const TProjectPlace& place) {
    return std::to_string(place.Line + 1) + ":" + std::to_string(place.Column + 1);
}

TProjectReport BuildProjectReport(const TProject& project, const std::vector<TFinding>& findings,
                                  std::string_view folder) {
    TProjectReport report;
    // Made at its size: the files' variable checks make up most of it, and
    // a report that grew by doubling would for a while take twice the room.
    std::size_t bytes = 1024, lines = 16;
    for (const TFinding& f : findings) {
        lines += 2 + f.Others.size();
        bytes += (2 + f.Others.size()) * (f.Name.size() + f.Reason.size() + 64);
    }
    for (const TProjectFile& file : project.Files()) {
        lines += 1 + file.VariableReport.size();
        bytes += file.Name.size() + 2 + file.VariableReport.TextSize();
    }
    report.Lines.reserve(bytes, lines);
    report.Targets.reserve(lines);
    TReportWriter out(project, report);
    const std::size_t fileCount = project.Files().size();
    out.AddUtf8("■ プロジェクト解析 ******************************");
    out.AddUtf8(" フォルダー : " + std::string(folder));
    out.AddUtf8(" ファイル : " + std::to_string(fileCount) + " 個");
    if (!project.ChecksUndefined()) out.AddUtf8(" 関数リファレンスがないため、未定義関数は調べていません．");
    out.AddUtf8("*********************************************** ■");

    // The findings between files, kind by kind and file by file; then each
    // file's variable check; the files skipped come last.
    std::string_view heading;
    std::size_t file = static_cast<std::size_t>(-1);
    const auto section = [&](std::string_view title) {
        if (title == heading) return;
        heading = title;
        out.AddUtf8(heading);
        file = static_cast<std::size_t>(-1);
    };
    const auto fileLine = [&](std::size_t index) {
        if (index == file) return;
        file = index;
        out.Add(out.FileName(" ", file), TReportWriter::TargetOf(file, 0, 0));
    };
    std::size_t k = 0;
    for (; k < findings.size() && findings[k].Kind != TFindingKind::fkSkippedFile; ++k) {
        section(HeadingOf(findings[k].Kind));
        fileLine(findings[k].Where.File);
        out.Finding(findings[k]);
    }
    for (std::size_t i = 0; i < fileCount; ++i) {
        if (project.Files()[i].VariableReport.empty()) continue;
        section("[ 未使用・未宣言変数 ]");
        fileLine(i);
        out.VariableReport(i);
    }
    for (; k < findings.size(); ++k) {
        section(HeadingOf(findings[k].Kind));
        out.Add(out.FileName(" ", findings[k].Where.File) + " : " + findings[k].Reason);
    }
    if (!AnythingToReport(project, findings))
        report.Message = Utf8ToCp932(fileCount == 0 ? "フォルダーにLISPファイル(*.lsp)がありません．"
                                                    : "報告することはありません．");
    return report;
}

TProjectReport BuildCallsReport(const TProject& project, std::string_view name,
                                const std::vector<TProject::TFileCalls>& calls, std::string_view folder) {
    TProjectReport report;
    TReportWriter out(project, report);
    std::size_t count = 0;
    for (const TProject::TFileCalls& c : calls) count += c.Places.size();
    out.AddUtf8("■ 関数の呼び出し箇所 ******************************");
    out.AddUtf8(" フォルダー : " + std::string(folder));
    out.Add(Utf8ToCp932(" 関数 : ") + std::string(name) + Utf8ToCp932(" (呼び出し " + std::to_string(count) + " 回)"));
    out.AddUtf8("*********************************************** ■");
    for (const TProject::TFileCalls& c : calls) {
        out.Add(out.FileName(" ", c.File), TReportWriter::TargetOf(c.File, 0, 0));
        for (std::size_t k = 0; k < c.Places.size(); ++k) {
            char head[32];
            std::snprintf(head, sizeof head, "%8s| ", PlaceText(c.Places[k]).c_str());
            out.Add(head + std::string(TrimBlanks(c.Lines[k])),
                    TReportWriter::TargetOf(c.File, c.Places[k].Line, c.Places[k].Offset));
        }
    }
    if (count == 0)
        report.Message = project.IsBuiltin(name)
                             ? std::string(name) + Utf8ToCp932(" は組み込み関数のため，呼び出し箇所は調べません．")
                             : Utf8ToCp932("関数 ") + std::string(name) + Utf8ToCp932(" を呼び出している箇所はありません．");
    return report;
}

bool AnythingToReport(const TProject& project, const std::vector<TFinding>& findings) {
    return !findings.empty() || std::any_of(project.Files().begin(), project.Files().end(),
                                            [](const TProjectFile& f) { return !f.Variables.empty(); });
}

}  // namespace quodle
