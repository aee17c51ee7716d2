#pragma once
// The two fountains of the main window with their design settings:
// HyphenFountain1 colours LISP source in documents and in printing,
// HyphenFountain2 the output pane.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Color.h"
#include "syntax/HyphenFountain.h"

namespace quodle {

std::unique_ptr<THyphenFountain> CreateHyphenFountain1();
std::unique_ptr<THyphenFountain> CreateHyphenFountain2();

// The design word lists of HyphenFountain1, used until word files replace them.
const std::vector<std::string>& DesignReserveWords();   // functions and system variables
const std::vector<std::string>& DesignReserveWords2();  // system variables

// Replaces the reserved-word lists by the word files' lines, in one change;
// a list whose file is missing (nothing given) keeps what it has.
void ReplaceReserveWordLists(TFountain& fountain, const std::optional<std::vector<std::string>>& words,
                             const std::optional<std::vector<std::string>>& words2);

// The colours of HyphenFountain1 that the settings file keeps (section
// Color); the defaults are the design values.
struct TFountainSettingsColors {
    TColor Reserve = clBlack;
    TColor Reserve2 = clBlue;
    TColor Comment = clGray;
    TColor String = clRed;
};
// Sets the text colours in one change.
void ApplySettingsColors(TEditorFountain& fountain, const TFountainSettingsColors& colors);

}  // namespace quodle
