// quodle-cli lsp: the language server over standard input and output, for
// editors that speak the Language Server Protocol; notes go to stderr.
#include <cstdio>
#include <utility>

#include "app/WordLists.h"
#include "base/StandardStreams.h"
#include "cli/LispSource.h"
#include "cli/VariableCommands.h"
#include "lsp/LspServer.h"

namespace quodle::cli {
namespace {

constexpr const char* kUsage = "lsp [--jogai FILE] [--no-star] [--no-gb] [--prefix TEXT]";

int RunLsp(const Args& args, Output&) {
    if (!args.positional.empty() || args.raw) return Fail(std::string("usage: ") + kUsage);
    // --jogai replaces the list beside the program, as for check.
    auto exclusions = ExclusionListArg(args);
    if (!exclusions) return kExitError;
    lsp::TServerSetup setup;
    setup.Lists = LoadWordListSet(WordListFoldersOf(WindowProgramPath()));
    setup.Lists.exclusions = std::move(*exclusions);
    setup.Settings = ExclusionSettingsArg(args);
    setup.Version = QUODLE_VERSION;
    OpenProtocolStreams();
    return lsp::RunServer(std::move(setup), ReadStandardInput, WriteStandardOutput, [](std::string_view line) {
        std::fprintf(stderr, "quodle-cli lsp: %.*s\n", static_cast<int>(line.size()), line.data());
    });
}

QUODLE_CLI_COMMAND("lsp", kUsage, {"--jogai", "--prefix"}, {"--no-star", "--no-gb"}, RunLsp,
                   "A language server over standard input and output (JSON-RPC with Content-Length framing) for "
                   "editors such as Neovim, Emacs and VS Code: diagnostics, hover, completion, definitions, "
                   "symbols and folds from the program's own analyses. Options as for check.");

}  // namespace
}  // namespace quodle::cli
