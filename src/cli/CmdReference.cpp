// quodle-cli lookup: the pick-list lines of a reference list for a prefix.
// quodle-cli upcase-sysvars: a file with the system-variable names in its
// strings written as the list spells them, and the command's message.
#include <filesystem>

#include "app/WordLists.h"
#include "base/PathText.h"
#include "base/ShiftJis.h"
#include "base/SortedStringList.h"
#include "cli/LispSource.h"
#include "lisp/ReferenceLists.h"
#include "lisp/SystemVariables.h"
#include "syntax/HyphenFountain.h"

namespace quodle::cli {
namespace {

// A word list the command cannot do without, or nothing after reporting it.
std::optional<WordList> RequiredList(const std::filesystem::path& path) {
    std::optional<WordList> list = LoadWordList(path);
    if (!list) Fail("cannot read " + Utf8FromPath(path));
    return list;
}

int RunLookup(const Args& args, Output& out) {
    constexpr const char* kUsage = "usage: lookup [--raw] (--functions | --sysvars | --list FILE) PREFIX";
    const std::string file = OptionValue(args, "--list");
    const int sources = (args.Has("--functions") ? 1 : 0) + (args.Has("--sysvars") ? 1 : 0) + (file.empty() ? 0 : 1);
    if (args.positional.size() != 1 || sources != 1) return Fail(kUsage);
    const std::filesystem::path path =
        !file.empty() ? PathFromUtf8(file)
                      : WordListFoldersOf(WindowProgramPath())
                            .PathOf(args.Has("--functions") ? kFunctionReferenceFile : kSystemVariablesFile);
    const std::optional<WordList> list = RequiredList(path);
    if (!list) return kExitError;
    PrintLines(out, ReferenceLookup(*list, Utf8ToCp932(args.positional[0])));
    return kExitOk;
}

int RunUpcaseSysvars(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail("usage: upcase-sysvars [--raw] [--words FILE] FILE");
    // The names as the document tokenizer holds them: its own list unless
    // the word file is there, or the file given.
    TSortedStringList names;
    if (const std::string file = OptionValue(args, "--words"); !file.empty()) {
        const std::optional<WordList> words = RequiredList(PathFromUtf8(file));
        if (!words) return kExitError;
        names.Assign(*words);
    } else {
        names.Assign(CreateDocumentFountain(WordListFoldersOf(WindowProgramPath()))->ReserveWordList2());
    }
    const auto source = ReadSource(out, args.positional[0]);
    if (!source) return kExitError;
    const TUpcaseResult result =
        UpcaseSystemVariables(source->Lines(), TSystemVariableWords(names.Items()), nullptr);
    ApplyLineEdits(source->Rows(), LineEditsOf(source->Lines(), result.Replacements));
    if (const int status = PrintDocument(out, source->Rows()); status != kExitOk) return status;
    if (const std::string message = UpcaseMessage(result); !message.empty())
        std::fprintf(stderr, "%s\n", Cp932ToUtf8(message).c_str());
    return kExitOk;
}

QUODLE_CLI_COMMAND("lookup", "lookup [--raw] (--functions | --sysvars | --list FILE) PREFIX", {"--list"},
                   {"--functions", "--sysvars"}, RunLookup,
                   "The lines of a reference list whose run a name PREFIX starts: the function list (--functions), "
                   "the system variables (--sysvars) or another list (--list FILE).");
QUODLE_CLI_COMMAND("upcase-sysvars", "upcase-sysvars [--raw] [--words FILE] FILE", {"--words"}, {},
                   RunUpcaseSysvars,
                   "The document with the system-variable names in its strings written as the word list spells "
                   "them (--words FILE for another list); the count on stderr.");

}  // namespace
}  // namespace quodle::cli
