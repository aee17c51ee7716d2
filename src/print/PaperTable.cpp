#include "print/PaperTable.h"

#include <algorithm>
#include <vector>

namespace quodle {

std::span<const TPaperItem> BuiltInPapers() {
    static const std::vector<TPaperItem> papers = {
        {"DMPAPER_LETTER", 305, 279, 1},
        {"DMPAPER_LETTERSMALL", 305, 279, 2},
        {"DMPAPER_TABLOID", 279, 432, 3},
        {"DMPAPER_LEDGER", 432, 279, 4},
        {"DMPAPER_LEGAL", 305, 356, 5},
        {"DMPAPER_STATEMENT", 305, 203, 6},
        {"DMPAPER_EXECUTIVE", 356, 254, 7},
        {"DMPAPER_A3", 297, 420, 8},
        {"DMPAPER_A4", 210, 297, 9},
        {"DMPAPER_A4SMALL", 210, 297, 10},
        {"DMPAPER_A5", 148, 210, 11},
        {"DMPAPER_B4", 250, 354, 12},
        {"DMPAPER_B5", 182, 257, 13},
        {"DMPAPER_FOLIO", 305, 330, 14},
        {"DMPAPER_QUARTO", 215, 275, 15},
        {"DMPAPER_10X14", 254, 356, 16},
        {"DMPAPER_11X17", 279, 432, 17},
        {"DMPAPER_NOTE", 305, 279, 18},
        {"DMPAPER_ENV_9", 203, 203, 19},
        {"DMPAPER_ENV_10", 457, 229, 20},
        {"DMPAPER_ENV_11", 305, 254, 21},
        {"DMPAPER_ENV_12", 276, 279, 22},
        {"DMPAPER_ENV_14", 127, 279, 23},
        {"DMPAPER_CSHEET", 100, 100, 24},
        {"DMPAPER_DSHEET", 100, 100, 25},
        {"DMPAPER_ESHEET", 100, 100, 26},
        {"DMPAPER_ENV_DL", 110, 220, 27},
        {"DMPAPER_ENV_C5", 162, 229, 28},
        {"DMPAPER_ENV_C3", 324, 458, 29},
        {"DMPAPER_ENV_C4", 229, 324, 30},
        {"DMPAPER_ENV_C6", 114, 162, 31},
        {"DMPAPER_ENV_C65", 114, 229, 32},
        {"DMPAPER_ENV_B4", 250, 353, 33},
        {"DMPAPER_ENV_B5", 176, 250, 34},
        {"DMPAPER_ENV_B6", 176, 125, 35},
        {"DMPAPER_ENV_ITALY", 110, 230, 36},
        {"DMPAPER_ENV_MONARCH", 98, 190, 37},
        {"DMPAPER_ENV_PERSONAL", 91, 155, 38},
        {"DMPAPER_FANFOLD_US", 203, 279, 39},
        {"DMPAPER_FANFOLD_STD_GERMAN", 305, 305, 40},
        {"DMPAPER_FANFOLD_LGL_GERMAN", 305, 330, 41},
        {"DMPAPER_ISO_B4", 250, 353, 42},
        {"DMPAPER_JAPANESE_POSTCARD", 100, 148, 43},
        {"DMPAPER_9X11", 229, 279, 44},
        {"DMPAPER_10X11", 254, 279, 45},
        {"DMPAPER_15X11", 381, 279, 46},
        {"DMPAPER_ENV_INVITE", 220, 220, 47},
        {"DMPAPER_RESERVED_48", 100, 100, 48},
        {"DMPAPER_RESERVED_49", 100, 100, 49},
        {"DMPAPER_LETTER_EXTRA", 275, 305, 50},
        {"DMPAPER_LEGAL_EXTRA", 275, 381, 51},
        {"DMPAPER_TABLOID_EXTRA", 297, 457, 52},
        {"DMPAPER_A4_EXTRA", 235, 322, 53},
        {"DMPAPER_LETTER_TRANSVERSE", 275, 279, 54},
        {"DMPAPER_A4_TRANSVERSE", 210, 297, 55},
        {"DMPAPER_LETTER_EXTRA_TRANSVERSE", 275, 305, 56},
        {"DMPAPER_A_PLUS", 227, 356, 57},
        {"DMPAPER_B_PLUS", 305, 487, 58},
        {"DMPAPER_LETTER_PLUS", 216, 322, 59},
        {"DMPAPER_A4_PLUS", 210, 330, 60},
        {"DMPAPER_A5_TRANSVERSE", 148, 210, 61},
        {"DMPAPER_B5_TRANSVERSE", 182, 257, 62},
        {"DMPAPER_A3_EXTRA", 322, 445, 63},
        {"DMPAPER_A5_EXTRA", 174, 235, 64},
        {"DMPAPER_B5_EXTRA", 210, 276, 65},
        {"DMPAPER_A2", 420, 594, 66},
        {"DMPAPER_A3_TRANSVERSE", 297, 420, 67},
        {"DMPAPER_A3_EXTRA_TRANSVERSE", 322, 445, 68},
    };
    return papers;
}

TPaperItem FindPaper(std::span<const TPaperItem> papers, int code) {
    for (const auto& list : {papers, BuiltInPapers()}) {
        const auto it = std::find_if(list.begin(), list.end(), [&](const TPaperItem& p) { return p.Code == code; });
        if (it != list.end()) return *it;
    }
    return {"", 0, 0, code};
}

}  // namespace quodle
