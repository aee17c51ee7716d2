#pragma once
// The definition of a user function as the pointer hints and the double
// click show it: the comment lines right above the "(defun" line, that line,
// and the lines down to the end of its parameter list.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/LineList.h"

namespace quodle {

// The call being pointed at, from byte `offset` of `line`: to the left up to
// and including the nearest "(" (or after the nearest blank), to the right up
// to and including the next "(" or ")" (or before the next blank, or to the
// line's end); blanks trimmed. "(myfunc" for a pointer anywhere on myfunc in
// "(myfunc x)".
std::string TextAtPosition(std::string_view line, std::size_t offset);

// The function a text at a position names: without its leading "(" and one
// trailing ")", upper-cased. Nothing unless the text begins with "(" and a
// name remains.
std::optional<std::string> DefinitionName(std::string_view text);

// Lines, 0-based.
struct TDefinitionBlock {
    std::size_t Start = 0;       // the first comment line above (or the definition line)
    std::size_t Definition = 0;  // the "(defun" line
    std::size_t End = 0;         // the line that ends the parameter list
    bool operator==(const TDefinitionBlock&) const = default;
};

// The "(defun" lines of a document outside comments, read once: a pointer
// moving over a large document looks definitions up here rather than in
// every line. It holds no views, only what it read.
class TDefinitionIndex {
public:
    explicit TDefinitionIndex(TLineList lines);
    // The first line whose text after "(DEFUN " has `name` (upper-cased)
    // followed by a blank or "(", with no blank or "(" before it (so the
    // name may end a longer one).
    std::optional<std::size_t> DefinitionLine(std::string_view name) const;

private:
    struct TEntry {
        std::size_t Line;
        std::string Rest;  // upper-cased, from after "(DEFUN "
    };
    std::vector<TEntry> entries_;
};

// The first definition of `name`, with the block around it. Nothing when
// there is none, when it is on the first line, or when the comment lines
// above it reach the first line.
std::optional<TDefinitionBlock> FindDefinitionBlock(TLineList lines, const TDefinitionIndex& index,
                                                    std::string_view name);
std::optional<TDefinitionBlock> FindDefinitionBlock(TLineList lines, std::string_view name);

// The block's lines as they are shown: from the definition line on, a line
// with "/" (the locals of the parameter list) is cut before it, its trailing
// blanks dropped and ")" added; the block ends there.
std::vector<std::string> DefinitionLines(TLineList lines, const TDefinitionBlock& block);
// The hint: those lines joined by line breaks ("\n").
std::string DefinitionHint(TLineList lines, const TDefinitionBlock& block);
// The output pane's listing: each line as "%8d|%s" with its 1-based number.
std::vector<std::string> DefinitionListing(TLineList lines, const TDefinitionBlock& block);

}  // namespace quodle
