// quodle-cli print in a build without the window's code (the Windows build
// made without Qt, or QUODLE_GUI=OFF): pages are laid out and drawn by the
// same renderer as the window's printing, so the command says it cannot.
#include "cli/Cli.h"

namespace quodle::cli {
namespace {

int RunPrint(const Args&, Output&) {
    return Fail("print is not available in this build: it draws its pages with the window's code (Qt), "
                "which this quodle-cli was built without");
}

QUODLE_CLI_COMMAND("print", "print --pdf OUT.pdf [--columns N] [--no-color] FILE", {"--pdf", "--columns"},
                   {"--no-color"}, RunPrint,
                   "Not available in this build: printing needs the window's code, which this quodle-cli was built "
                   "without.");

}  // namespace
}  // namespace quodle::cli
