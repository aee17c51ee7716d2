// quodle-cli project: the whole-project analysis of a folder, as the output
// pane shows it or as JSON, with exit status 1 when it finds anything, so
// that a build can gate on it.
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
    "project [--raw] [--json | --calls NAME] [--exclude FILE] [--functions FILE] [--jogai FILE] [--no-star] "
    "[--no-gb] [--prefix TEXT] [--jobs N] DIR";

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
    case TFindingKind::fkSkippedFile: break;
    }
    return "skipped-file";
}

std::string_view KindName(TVariableKind kind) {
    switch (kind) {
    case TVariableKind::vkUnusedArg: return "unused-argument";
    case TVariableKind::vkUnusedLocal: return "unused-local";
    case TVariableKind::vkGlobal: break;
    }
    return "undeclared-variable";
}

// "file", "line" and "column" (both from 1, the column in characters).
void AppendPlace(std::string& out, const TProject& project, std::size_t file, const TProjectPlace& place) {
    out += "\"file\": ";
    AppendJsonString(out, FileNameUtf8(project.Files()[file].Name));
    out += ", \"line\": " + std::to_string(place.Line + 1) + ", \"column\": " + std::to_string(place.Column + 1);
}
void AppendPlace(std::string& out, const TProject& project, const TFindingPlace& p) {
    AppendPlace(out, project, p.File, p.Place);
    if (p.Role == TPlaceRole::prSet || p.Role == TPlaceRole::prRead)
        out += std::string(", \"use\": ") + (p.Role == TPlaceRole::prSet ? "\"set\"" : "\"read\"");
}

// An array of one object a line, in the order of the text report, written
// as it is made: a large project's variable checks alone run to millions.
class TJsonWriter {
public:
    explicit TJsonWriter(Output& out) : out_(out) {}
    ~TJsonWriter() { out_.Verbatim(first_ ? "[]\n" : "\n]\n"); }

    void Finding(const TProject& project, const TFinding& f) {
        Begin(KindName(f.Kind));
        if (f.Kind == TFindingKind::fkSkippedFile) {
            line_ += "\"file\": ";
            AppendJsonString(line_, FileNameUtf8(project.Files()[f.Where.File].Name));
            line_ += ", \"reason\": ";
            AppendJsonString(line_, Cp932ToUtf8(f.Reason));
            return End();
        }
        Name(f.Name);
        AppendPlace(line_, project, f.Where);
        if (f.Kind == TFindingKind::fkUndefinedFunction) line_ += ", \"calls\": " + std::to_string(f.Calls);
        if (!f.Others.empty()) {
            line_ += ", \"others\": [";
            for (std::size_t k = 0; k < f.Others.size(); ++k) {
                line_ += k == 0 ? "{" : ", {";
                AppendPlace(line_, project, f.Others[k]);
                line_ += "}";
            }
            line_ += "]";
        }
        End();
    }

    void Variable(const TProject& project, std::size_t file, const TVariableItem& v) {
        const TProjectFile& f = project.Files()[file];
        Begin(KindName(v.Kind));
        Name(f.NameOf(v));
        AppendPlace(line_, project, file, v.Place);
        line_ += ", \"function\": ";
        if (v.Definition < 0) line_ += "null";
        else AppendJsonString(line_, Cp932ToUtf8(f.Definitions[static_cast<std::size_t>(v.Definition)].Name));
        End();
    }

private:
    void Begin(std::string_view kind) {
        line_ = first_ ? "[\n" : ",\n";
        first_ = false;
        line_ += "{\"kind\": \"" + std::string(kind) + "\", ";
    }
    void Name(std::string_view cp932) {
        line_ += "\"name\": ";
        AppendJsonString(line_, Cp932ToUtf8(cp932));
        line_ += ", ";
    }
    void End() {
        line_ += "}";
        out_.Verbatim(line_);
    }

    Output& out_;
    std::string line_;
    bool first_ = true;
};

void PrintJson(Output& out, const TProject& project, const std::vector<TFinding>& findings) {
    TJsonWriter json(out);
    std::size_t k = 0;
    for (; k < findings.size() && findings[k].Kind != TFindingKind::fkSkippedFile; ++k)
        json.Finding(project, findings[k]);
    for (std::size_t i = 0; i < project.Files().size(); ++i)
        for (const TVariableItem& v : project.Files()[i].Variables) json.Variable(project, i, v);
    for (; k < findings.size(); ++k) json.Finding(project, findings[k]);
}

int RunProject(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail(std::string("usage: ") + kUsage);
    TProjectOptions options;
    const auto exclusions = ExclusionsArg(args);
    if (!exclusions) return kExitError;
    options.VariableExclusions = *exclusions;
    options.VariableSettings = ExclusionSettingsArg(args);
    std::string functions = OptionValue(args, "--functions");
    if (functions.empty()) functions = WordListFoldersOf(WindowProgramPath()).PathOf(kFunctionReferenceFile).string();
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
        const auto threads = NumberArg(jobs, "--jobs", 1, 256);
        if (!threads) return kExitError;
        options.Threads = static_cast<unsigned>(*threads);
    }

    const std::string& folder = args.positional[0];
    TProject project(std::move(options));
    try {
        project.Analyse(folder);
    } catch (const EFileError& e) {
        return Fail("cannot read the folder " + e.Path().string() + ": " + e.Reason());
    }
    if (const std::string name = Utf8ToCp932(OptionValue(args, "--calls")); !name.empty()) {
        const TProjectReport report = BuildCallsReport(project, name, project.CallsOf(name), folder);
        PrintLines(out, report.Lines);
        if (!report.Message.empty()) out.Line(report.Message);
        return report.Message.empty() ? kExitOk : kExitFindings;
    }
    const std::vector<TFinding> findings = project.Findings();
    if (args.Has("--json")) {
        PrintJson(out, project, findings);
    } else {
        const TProjectReport report = BuildProjectReport(project, findings, folder);
        PrintLines(out, report.Lines);
        if (!report.Message.empty()) out.Line(report.Message);
    }
    return AnythingToReport(project, findings) ? kExitFindings : kExitOk;
}

QUODLE_CLI_COMMAND("project", kUsage, {"--calls", "--exclude", "--functions", "--jogai", "--prefix", "--jobs"},
                   {"--json", "--no-star", "--no-gb"}, RunProject,
                   "The .lsp files of a folder read as one program: undefined, twice defined and unused functions, "
                   "globals shared between files and each file's variable check; exit 1 when there is something to "
                   "report. --calls NAME lists every call of the function NAME instead, file by file with the line "
                   "of each (exit 1 when there is none).");

}  // namespace
}  // namespace quodle::cli
