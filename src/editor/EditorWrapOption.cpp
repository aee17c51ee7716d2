#include "editor/EditorWrapOption.h"

#include <algorithm>

#include "base/ShiftJis.h"

namespace quodle {

TEditorWrapOption::TEditorWrapOption()
    : punctuationStr_(Utf8ToCp932("、。，．,.｡､")),
      leadStr_(Utf8ToCp932("（［｛「『([{｢")),
      followStr_(Utf8ToCp932("、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ")) {}

template <class T>
void TEditorWrapOption::Set(T& field, T value) {
    if (field == value) return;
    field = std::move(value);
    Changed();
}

void TEditorWrapOption::SetWrapByte(int value) { Set(wrapByte_, std::clamp(value, kMinWrapByte, kMaxWrapByte)); }
void TEditorWrapOption::SetWordBreak(bool value) { Set(wordBreak_, value); }
void TEditorWrapOption::SetFollowPunctuation(bool value) { Set(followPunctuation_, value); }
void TEditorWrapOption::SetPunctuationStr(std::string_view value) { Set(punctuationStr_, std::string(value)); }
void TEditorWrapOption::SetLeading(bool value) { Set(leading_, value); }
void TEditorWrapOption::SetLeadStr(std::string_view value) { Set(leadStr_, std::string(value)); }
void TEditorWrapOption::SetFollowStr(std::string_view value) { Set(followStr_, std::string(value)); }
void TEditorWrapOption::SetFollowRetMark(bool value) { Set(followRetMark_, value); }

bool TEditorWrapOption::SameAs(const TEditorWrapOption& o) const {
    return wrapByte_ == o.wrapByte_ && wordBreak_ == o.wordBreak_ && followPunctuation_ == o.followPunctuation_ &&
           leading_ == o.leading_ && followRetMark_ == o.followRetMark_ && punctuationStr_ == o.punctuationStr_ &&
           leadStr_ == o.leadStr_ && followStr_ == o.followStr_;
}

void TEditorWrapOption::Assign(const TEditorWrapOption& o) {
    if (SameAs(o)) return;
    BeginUpdate();
    SetWrapByte(o.wrapByte_);
    SetWordBreak(o.wordBreak_);
    SetFollowPunctuation(o.followPunctuation_);
    SetPunctuationStr(o.punctuationStr_);
    SetLeading(o.leading_);
    SetLeadStr(o.leadStr_);
    SetFollowStr(o.followStr_);
    SetFollowRetMark(o.followRetMark_);
    EndUpdate();
}

bool CharInSet(std::string_view set, std::string_view ch) {
    if (ch.empty()) return false;
    for (std::size_t i = 0; i < set.size();) {
        const std::size_t n = CharLengthAt(set, i);
        if (set.substr(i, n) == ch) return true;
        i += n;
    }
    return false;
}

}  // namespace quodle
