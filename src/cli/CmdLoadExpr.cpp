// quodle-cli load-expr --target acad|icad|zcad|bcad [--modified] [--raw] FILE:
// exactly what the load command hands the target for FILE, with no line end
// added: the AutoCAD expression (0x03, (load "P")(princ), CR), the BricsCAD
// one (without 0x03), or the plain path that IntelliCAD/IJCAD and ZwCAD are
// given. By default the characters the program types on X11 (UTF-8); with
// --raw the Shift-JIS bytes the program sends on Windows. --modified gives
// the text for a modified document, which is loaded from the temporary file.
#include <cstdio>
#include <filesystem>

#include "base/PathText.h"
#include "cad/CadMessages.h"
#include "cad/CadTargets.h"
#include "cad/LoadCommand.h"
#include "cad/TemporaryLoadFile.h"
#include "cli/Cli.h"

namespace quodle::cli {
namespace {

constexpr const char* kUsage = "load-expr --target acad|icad|zcad|bcad [--modified] [--raw] FILE";

int RunLoadExpr(const Args& args, Output&) {
    if (args.positional.size() != 1) return Fail(std::string("usage: ") + kUsage);
    const std::optional<TCadTarget> target = TargetFromCommandName(OptionValue(args, "--target"));
    if (!target) return Fail(std::string("usage: ") + kUsage);
    namespace fs = std::filesystem;
    // The program records a document by its absolute path.
    const fs::path document = fs::absolute(PathFromUtf8(args.positional[0])).lexically_normal();
    std::string path = Utf8FromPath(document);
    if (args.Has("--modified")) {
        path = Utf8FromPath(TemporaryLoadFilePath(WindowProgramPath()));
    } else {
        std::error_code ec;
        if (!fs::is_regular_file(document, ec)) return Fail(LoadPathNotFound(path));
    }
    const std::optional<std::string> text =
        TargetLoadText(*target, path, args.raw ? TPathCoding::pcCp932 : TPathCoding::pcUtf8);
    // The program says the same when a CAD could not open a file by that name.
    if (!text) return Fail(LoadPathNotFound(path));
    std::fwrite(text->data(), 1, text->size(), stdout);
    return kExitOk;
}

QUODLE_CLI_COMMAND("load-expr", kUsage, {"--target"}, {"--modified"}, RunLoadExpr,
                   "What the load command (F9) hands the target CAD for the file, byte for byte; --modified gives "
                   "the text for a modified document.");

}  // namespace
}  // namespace quodle::cli
