#pragma once
// Paper sizes: the driver's list of a printer and the built-in table of the
// classic paper codes 1..68 for papers a driver does not list.
#include <span>
#include <string>

namespace quodle {

struct TPaperItem {
    std::string Name;
    int Width = 0;   // mm
    int Height = 0;  // mm
    int Code = 0;
};

// The built-in table, ordered by code.
std::span<const TPaperItem> BuiltInPapers();

// The entry of `papers` with `code`, else of the built-in table; an
// unknown code gives an empty name and zero size.
TPaperItem FindPaper(std::span<const TPaperItem> papers, int code);

}  // namespace quodle
