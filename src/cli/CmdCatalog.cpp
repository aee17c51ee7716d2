// quodle-cli catalog: the function catalogue as the output pane shows it,
// dated now (in the time locale of the environment) or with the given text.
#include <algorithm>
#include <clocale>

#include "app/DocumentRules.h"
#include "base/Clock.h"
#include "base/ShiftJis.h"
#include "cli/LispSource.h"
#include "lisp/FunctionCatalog.h"

namespace quodle::cli {
namespace {

int RunCatalog(const Args& args, Output& out) {
    if (args.positional.size() != 1) return Fail("usage: catalog [--raw] [--stamp TEXT] FILE");
    const std::string& path = args.positional[0];
    const auto lines = ReadSource(out, path);
    if (!lines) return kExitError;
    std::string stamp;
    if (std::any_of(args.options.begin(), args.options.end(),
                    [](const std::string& o) { return o.rfind("--stamp=", 0) == 0; })) {
        stamp = Utf8ToCp932(OptionValue(args, "--stamp"));
    } else {
        std::setlocale(LC_TIME, "");
        stamp = ShortDateLongTime(TSystemClock().Now());
    }
    for (const std::string_view line : BuildCatalog(lines->Lines(), Utf8ToCp932(FileNamePart(path)), stamp, nullptr))
        out.Line(line);
    return kExitOk;
}

QUODLE_CLI_COMMAND("catalog", "catalog [--raw] [--stamp TEXT] FILE", {"--stamp"}, {}, RunCatalog,
                   "The function catalogue: every top-level function with its arguments and the comment lines "
                   "above it, under a heading with the file name and the date and time (--stamp TEXT puts TEXT "
                   "there instead).");

}  // namespace
}  // namespace quodle::cli
