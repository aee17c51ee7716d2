// quodle-cli's usage, version and manual page, all made from the command
// table, so that a command added there is documented everywhere at once.
#include "cli/Help.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace quodle::cli {
namespace {

constexpr const char* kSynopsis =
    "usage: quodle-cli COMMAND [--raw] [OPTIONS] ARGS...\n"
    "       quodle-cli help [COMMAND]\n"
    "       quodle-cli --help | --version\n";
constexpr const char* kAbout = "Runs the analyses of Quodle, the AutoLISP editor, on files without the window.";
constexpr const char* kRaw =
    "--raw writes the program's own bytes (Shift-JIS, CR LF); the default is UTF-8 with LF.";
constexpr const char* kEncoding =
    "--encoding sjis|utf-8 reads the file in that encoding instead of telling it from its bytes.";
constexpr const char* kExitStatus =
    "Exit status: 0 done, 1 something to report (check) or nothing found (find), 2 errors, a bad command line "
    "included.";

std::vector<const Command*> Sorted() {
    std::vector<const Command*> commands;
    for (const Command& c : Commands()) commands.push_back(&c);
    std::sort(commands.begin(), commands.end(),
              [](const Command* a, const Command* b) { return std::strcmp(a->name, b->name) < 0; });
    return commands;
}

// Text for a manual page: backslashes and hyphens escaped, and a line that
// would start with a request character kept as text.
std::string Roff(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') out += "\\e";
        else if (c == '-') out += "\\-";
        else out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
    return out;
}

}  // namespace

std::string UsageText() {
    std::string text = kSynopsis;
    text += kAbout;
    text += "\n\ncommands:\n";
    for (const Command* c : Sorted()) {
        text += "  ";
        text += c->usage;
        text += "\n      ";
        text += c->summary;
        text += "\n";
    }
    text += kRaw;
    text += "\n";
    text += kEncoding;
    text += "\nquodle-cli COMMAND --help shows one command.\n";
    text += kExitStatus;
    text += "\n";
    return text;
}

std::string CommandHelpText(const Command& command) {
    return std::string("usage: quodle-cli ") + command.usage + "\n" + command.summary + "\n" + kRaw + "\n" + kEncoding +
           "\n";
}

std::string VersionText() { return std::string("quodle-cli ") + QUODLE_VERSION + "\n"; }

std::string ManPage() {
    std::string page = ".TH QUODLE\\-CLI 1 \"\" \"Quodle " QUODLE_VERSION "\" \"User Commands\"\n";
    page += ".SH NAME\nquodle\\-cli \\- " + Roff(kAbout) + "\n";
    page += ".SH SYNOPSIS\n";
    page += ".B quodle\\-cli\n.I COMMAND\n[\\fB\\-\\-raw\\fR] [\\fIOPTIONS\\fR] \\fIARGS\\fR...\n.br\n";
    page += ".B quodle\\-cli help\n[\\fICOMMAND\\fR]\n.br\n";
    page += ".B quodle\\-cli\n\\fB\\-\\-help\\fR | \\fB\\-\\-version\\fR\n";
    page += ".SH DESCRIPTION\n";
    page += "Each command reads a file as the window reads it (Shift\\-JIS or UTF\\-8, any line break) and prints "
            "what the window shows, or the message it shows instead.\n";
    page += ".SH COMMANDS\n";
    for (const Command* c : Sorted()) {
        page += ".TP\n.B " + Roff(c->usage) + "\n" + Roff(c->summary) + "\n";
    }
    page += ".SH OPTIONS\n.TP\n.B \\-\\-raw\n" + Roff(std::string_view(kRaw).substr(std::strlen("--raw "))) + "\n";
    page += ".TP\n.B \\-\\-encoding sjis|utf\\-8\n" +
            Roff(std::string_view(kEncoding).substr(std::strlen("--encoding sjis|utf-8 "))) + "\n";
    page += ".TP\n.BR \\-h \", \" \\-\\-help\nThe usage; after a command, that command's.\n";
    page += ".TP\n.B \\-\\-version\nThe version.\n";
    page += ".SH EXIT STATUS\n" + Roff(std::string_view(kExitStatus).substr(std::strlen("Exit status: "))) + "\n";
    page += ".SH FILES\n";
    page += "The word lists (JogaiList.txt, AutoLISPFunction.txt, AutoCADSysVar.txt, HiliteWordList.txt, "
            "AutoLISPReserved.txt) and the settings file quodle.ini are those of the window program: beside "
            "the executable, or for an installed program the user's own copies in \\fI~/.config/quodle/\\fR "
            "before the shipped lists in \\fIshare/quodle/\\fR.\n";
    page += ".SH SEE ALSO\n.BR quodle (1)\n";
    return page;
}

}  // namespace quodle::cli
