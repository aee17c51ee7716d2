// quodle-cli defuns: the defun records in the order they are collected.
#include "cli/LispSource.h"

namespace quodle::cli {
namespace {

int RunDefuns(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail("usage: defuns [--raw] [--padded] FILE");
    const auto lines = ReadSource(out, args.positional[0]);
    if (!lines) return kExitError;
    PrintLines(out, CollectDefuns(StripLispSource(lines->Lines()), 0, nullptr, args.Has("--padded")));
    return kExitOk;
}

QUODLE_CLI_COMMAND("defuns", "defuns [--raw] [--padded] FILE", {}, {"--padded"}, RunDefuns,
                   "The definition records of the file in the order they are collected.");

}  // namespace
}  // namespace quodle::cli
