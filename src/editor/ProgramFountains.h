#pragma once
// The two fountains of the main window with their design settings:
// HyphenFountain1 colours LISP source in documents and in printing,
// HyphenFountain2 the output pane.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Color.h"
#include "editor/HyphenFountain.h"

namespace quodle {

std::unique_ptr<THyphenFountain> CreateHyphenFountain1();
std::unique_ptr<THyphenFountain> CreateHyphenFountain2();

// The design word lists of HyphenFountain1, used until word files replace them.
const std::vector<std::string>& DesignReserveWords();   // functions and system variables
const std::vector<std::string>& DesignReserveWords2();  // system variables

// The lines of a word file (Shift-JIS, CR LF, LF or CR breaks; empty lines
// dropped), or nothing when it cannot be read.
std::optional<std::vector<std::string>> ReadWordListFile(const std::string& path);
// Replaces list by the words of the file when the file can be read; returns
// whether it did.
bool ReplaceWordListFromFile(TSortedStringList& list, const std::string& path);

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
