#include "app/ExclusionSettings.h"

#include "app/Settings.h"
#include "base/ShiftJis.h"

namespace quodle {

TExclusionSettings ReadExclusionSettings(const IniDocument& doc) {
    TExclusionSettings s;
    s.Star = settings::Read(doc, settings::kExceptCheck1);
    s.Gb = settings::Read(doc, settings::kExceptCheck2);
    s.Other = settings::Read(doc, settings::kExceptCheck3);
    s.OtherPrefix = Utf8ToCp932(settings::Read(doc, settings::kExceptString3));
    return s;
}

void WriteExclusionSettings(IniDocument& doc, const TExclusionSettings& s) {
    settings::Write(doc, settings::kExceptCheck1, s.Star);
    settings::Write(doc, settings::kExceptCheck2, s.Gb);
    settings::Write(doc, settings::kExceptCheck3, s.Other);
    settings::Write(doc, settings::kExceptString3, Cp932ToUtf8(s.OtherPrefix));
}

}  // namespace quodle
