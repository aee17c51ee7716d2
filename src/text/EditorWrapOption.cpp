#include "text/EditorWrapOption.h"

#include <algorithm>

#include "base/ShiftJis.h"

namespace quodle {

namespace {

// The default character sets in the text's own encoding, converted once:
// every editor and every row list starts from them.
struct TDefaultSets {
    std::string Punctuation = Utf8ToCp932("、。，．,.｡､");
    std::string Lead = Utf8ToCp932("（［｛「『([{｢");
    std::string Follow = Utf8ToCp932("、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ");
};

const TDefaultSets& DefaultSets() {
    static const TDefaultSets sets;
    return sets;
}

}  // namespace

TWrapOptionValues::TWrapOptionValues()
    : PunctuationStr(DefaultSets().Punctuation), LeadStr(DefaultSets().Lead), FollowStr(DefaultSets().Follow) {}

TEditorWrapOption::TEditorWrapOption()
    : punctuationStr_(DefaultSets().Punctuation), leadStr_(DefaultSets().Lead), followStr_(DefaultSets().Follow) {}

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

TWrapOptionValues TEditorWrapOption::Values() const {
    TWrapOptionValues v;
    v.WrapByte = wrapByte_;
    v.WordBreak = wordBreak_;
    v.FollowPunctuation = followPunctuation_;
    v.PunctuationStr = punctuationStr_;
    v.Leading = leading_;
    v.LeadStr = leadStr_;
    v.FollowStr = followStr_;
    v.FollowRetMark = followRetMark_;
    return v;
}

bool TEditorWrapOption::SameAs(const TEditorWrapOption& o) const { return Values() == o.Values(); }

void TEditorWrapOption::Assign(const TEditorWrapOption& o) { SetValues(o.Values()); }

void TEditorWrapOption::SetValues(const TWrapOptionValues& v) {
    BeginUpdate();
    SetWrapByte(v.WrapByte);
    SetWordBreak(v.WordBreak);
    SetFollowPunctuation(v.FollowPunctuation);
    SetPunctuationStr(v.PunctuationStr);
    SetLeading(v.Leading);
    SetLeadStr(v.LeadStr);
    SetFollowStr(v.FollowStr);
    SetFollowRetMark(v.FollowRetMark);
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
