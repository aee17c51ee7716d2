// quodle-cli project: the whole-project analysis of a folder, as the output
// pane shows it or as JSON, with exit status 1 when it finds anything, so
// that a build can gate on it.
#include <charconv>
#include <filesystem>

#include "app/WordLists.h"
#include "base/ShiftJis.h"
#include "base/Text.h"
#include "cli/LispSource.h"
#include "cli/VariableCommands.h"
#include "lisp/ReferenceLists.h"
#include "project/ProjectReport.h"

namespace quodle::cli {
namespace {

constexpr const char* kUsage =
    "project [--raw] [--json] [--exclude FILE] [--functions FILE] [--jogai FILE] [--no-star] [--no-gb] "
    "[--prefix TEXT] [--jobs N] DIR";

void AppendJsonString(std::string& out, std::string_view utf8) {
    out += '"';
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            (out += '\\') += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

// File names are the platform's bytes; one that is no UTF-8 came from a
// Shift-JIS system.
std::string FileNameUtf8(const std::string& name) { return IsValidUtf8(name) ? name : Cp932ToUtf8(name); }

std::string_view KindName(TFindingKind kind) {
    switch (kind) {
    case TFindingKind::fkUndefinedFunction: return "undefined-function";
    case TFindingKind::fkDuplicateDefinition: return "duplicate-definition";
    case TFindingKind::fkUnusedFunction: return "unused-function";
    case TFindingKind::fkSharedGlobal: return "shared-global";
    case TFindingKind::fkUndeclaredVariable: return "undeclared-variable";
    case TFindingKind::fkUnusedArgument: return "unused-argument";
    case TFindingKind::fkUnusedLocal: return "unused-local";
    case TFindingKind::fkSkippedFile: break;
    }
    return "skipped-file";
}

// "file", "line" and "column" (both from 1, the column in characters).
void AppendPlace(std::string& out, const TProject& project, const TFindingPlace& p) {
    out += "\"file\": ";
    AppendJsonString(out, FileNameUtf8(project.Files()[p.File].Name));
    out += ", \"line\": " + std::to_string(p.Place.Line + 1) + ", \"column\": " + std::to_string(p.Place.Column + 1);
    if (p.Role == TPlaceRole::prSet || p.Role == TPlaceRole::prRead)
        out += std::string(", \"use\": ") + (p.Role == TPlaceRole::prSet ? "\"set\"" : "\"read\"");
}

// One object a line, in an array.
std::string Json(const TProject& project, const std::vector<TFinding>& findings) {
    std::string out = "[";
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const TFinding& f = findings[i];
        out += i == 0 ? "\n" : ",\n";
        out += "{\"kind\": \"" + std::string(KindName(f.Kind)) + "\", ";
        if (f.Kind == TFindingKind::fkSkippedFile) {
            out += "\"file\": ";
            AppendJsonString(out, FileNameUtf8(project.Files()[f.Where.File].Name));
            out += ", \"reason\": ";
            AppendJsonString(out, Cp932ToUtf8(f.Reason));
            out += "}";
            continue;
        }
        out += "\"name\": ";
        AppendJsonString(out, Cp932ToUtf8(f.Name));
        out += ", ";
        AppendPlace(out, project, f.Where);
        if (f.Kind == TFindingKind::fkUndefinedFunction) out += ", \"calls\": " + std::to_string(f.Calls);
        if (f.Kind == TFindingKind::fkUndeclaredVariable || f.Kind == TFindingKind::fkUnusedArgument ||
            f.Kind == TFindingKind::fkUnusedLocal) {
            out += ", \"function\": ";
            if (f.Function.empty()) out += "null";
            else AppendJsonString(out, Cp932ToUtf8(f.Function));
        }
        if (!f.Others.empty()) {
            out += ", \"others\": [";
            for (std::size_t k = 0; k < f.Others.size(); ++k) {
                out += k == 0 ? "{" : ", {";
                AppendPlace(out, project, f.Others[k]);
                out += "}";
            }
            out += "]";
        }
        out += "}";
    }
    out += findings.empty() ? "]\n" : "\n]\n";
    return out;
}

int RunProject(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail(std::string("usage: ") + kUsage);
    TProjectOptions options;
    const auto exclusions = ExclusionsArg(args);
    if (!exclusions) return kExitError;
    options.VariableExclusions = *exclusions;
    options.VariableSettings = ExclusionSettingsArg(args);
    std::string functions = OptionValue(args, "--functions");
    if (functions.empty()) functions = (std::filesystem::path(ExecutableDir()) / kFunctionReferenceFile).string();
    const std::optional<WordList> reference = LoadWordList(functions);
    if (!reference) return Fail("cannot read the function reference " + functions);
    options.BuiltinFunctions = ReferenceFunctionNames(*reference);
    if (const std::string file = OptionValue(args, "--exclude"); !file.empty()) {
        try {
            options.ExcludedFunctions = ReadNameList(file);
        } catch (const EFileError& e) {
            return Fail("cannot read " + e.Path().string() + ": " + e.Reason());
        }
    }
    if (const std::string jobs = OptionValue(args, "--jobs"); !jobs.empty()) {
        const auto [end, ec] = std::from_chars(jobs.data(), jobs.data() + jobs.size(), options.Threads);
        if (ec != std::errc() || end != jobs.data() + jobs.size() || options.Threads == 0)
            return Fail("--jobs must be a number from 1: '" + jobs + "'");
    }

    const std::string& folder = args.positional[0];
    TProject project(std::move(options));
    try {
        project.Analyse(folder);
    } catch (const EFileError& e) {
        return Fail("cannot read the folder " + e.Path().string() + ": " + e.Reason());
    }
    const std::vector<TFinding> findings = project.Findings();
    if (args.Has("--json")) {
        out.Verbatim(Json(project, findings));
    } else {
        const TProjectReport report = BuildProjectReport(project, findings, folder);
        PrintLines(out, report.Lines);
        if (!report.Message.empty()) out.Line(report.Message);
    }
    return findings.empty() ? kExitOk : kExitFindings;
}

QUODLE_CLI_COMMAND("project", kUsage, {"--exclude", "--functions", "--jogai", "--prefix", "--jobs"},
                   {"--json", "--no-star", "--no-gb"}, RunProject);

}  // namespace
}  // namespace quodle::cli
