#include "cli/EditCommands.h"

namespace quodle::cli {

std::optional<int> CaretLineArg(const Args& args, const TSourceFile& source) {
    const std::string text = OptionValue(args, "--line");
    if (text.empty()) {
        Fail("--line N is missing");
        return std::nullopt;
    }
    const std::optional<int> line = PositionArg(text, "--line");
    if (!line) return std::nullopt;
    const int last = static_cast<int>(source.Lines().size()) + 1;
    if (*line < 1 || *line > last) {
        Fail("--line must be from 1 to " + std::to_string(last) + ": '" + text + "'");
        return std::nullopt;
    }
    return *line - 1;
}

int PrintEdited(Output& out, TSourceFile& source, const TLineEdits& edits) {
    ApplyLineEdits(source.Rows(), edits);
    return PrintDocument(out, source.Rows());
}

}  // namespace quodle::cli
