// quodle-cli help [COMMAND]: the usage, or one command's; --man prints the
// manual page the build installs.
#include <algorithm>
#include <cstdio>

#include "cli/Cli.h"
#include "cli/Help.h"

namespace quodle::cli {
namespace {

int RunHelp(const Args& args, Output& out) {
    if (args.Has("--man")) {
        if (!args.positional.empty()) return Fail("usage: help --man");
        out.Verbatim(ManPage());
        return kExitOk;
    }
    if (args.positional.empty()) {
        out.Verbatim(UsageText());
        return kExitOk;
    }
    if (args.positional.size() != 1) return Fail("usage: help [COMMAND]");
    const auto& commands = Commands();
    const auto it = std::find_if(commands.begin(), commands.end(),
                                 [&](const Command& c) { return args.positional[0] == c.name; });
    if (it == commands.end()) {
        Fail("unknown command '" + args.positional[0] + "'");
        std::fputs(UsageText().c_str(), stderr);
        return kExitError;
    }
    out.Verbatim(CommandHelpText(*it));
    return kExitOk;
}

QUODLE_CLI_COMMAND("help", "help [COMMAND | --man]", {}, {"--man"}, RunHelp,
                   "The usage of every command, or of COMMAND; --man prints this manual page in roff.");

}  // namespace
}  // namespace quodle::cli
