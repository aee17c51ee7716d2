#pragma once
// The variable check's exclusion choices in the settings file's `Except`
// section.
#include "app/IniFile.h"
#include "lisp/VariableAnalysis.h"

namespace quodle {

TExclusionSettings ReadExclusionSettings(const IniDocument& doc);
void WriteExclusionSettings(IniDocument& doc, const TExclusionSettings& settings);

}  // namespace quodle
