#pragma once
// quodle-cli's texts about itself, made from the command table.
#include <string>

#include "cli/Cli.h"

namespace quodle::cli {

// Every command with its usage and summary, the options every command
// takes and the exit statuses.
std::string UsageText();
// One command's usage and summary.
std::string CommandHelpText(const Command& command);
std::string VersionText();
// The manual page quodle-cli(1) in roff, as installed.
std::string ManPage();

}  // namespace quodle::cli
