#pragma once
// TEditorWrapOption: how word wrap cuts a line into rows. The character
// sets are Shift-JIS bytes and are matched a whole character at a time, so
// the trail byte of a double-byte character never passes for an ASCII sign.
#include <string>
#include <string_view>

#include "base/NotifyPersistent.h"

namespace quodle {

// The eight settings as a plain value, for the property sets.
struct TWrapOptionValues {
    TWrapOptionValues();  // the defaults
    int WrapByte = 80;
    bool WordBreak = false;
    bool FollowPunctuation = false;
    std::string PunctuationStr;
    bool Leading = false;
    std::string LeadStr;
    std::string FollowStr;
    bool FollowRetMark = false;

    bool operator==(const TWrapOptionValues&) const = default;
};

class TEditorWrapOption : public TNotifyPersistent {
public:
    static constexpr int kMinWrapByte = 20;
    static constexpr int kMaxWrapByte = 250;

    TEditorWrapOption();

    // Row width in cells; values outside 20..250 are clamped.
    int WrapByte() const { return wrapByte_; }
    void SetWrapByte(int value);
    // Break after a delimiter, a tab or a double-byte character.
    bool WordBreak() const { return wordBreak_; }
    void SetWordBreak(bool value);
    // Punctuation may hang up to two cells beyond the row width.
    bool FollowPunctuation() const { return followPunctuation_; }
    void SetFollowPunctuation(bool value);
    const std::string& PunctuationStr() const { return punctuationStr_; }
    void SetPunctuationStr(std::string_view value);
    // LeadStr characters do not end a row, FollowStr characters do not
    // start one.
    bool Leading() const { return leading_; }
    void SetLeading(bool value);
    const std::string& LeadStr() const { return leadStr_; }
    void SetLeadStr(std::string_view value);
    const std::string& FollowStr() const { return followStr_; }
    void SetFollowStr(std::string_view value);
    // A line that fills its last row exactly ends there instead of on an
    // empty row of its own.
    bool FollowRetMark() const { return followRetMark_; }
    void SetFollowRetMark(bool value);

    // Copies all eight settings; one notification when anything differs.
    void Assign(const TEditorWrapOption& other);
    bool SameAs(const TEditorWrapOption& other) const;
    TWrapOptionValues Values() const;
    void SetValues(const TWrapOptionValues& values);

private:
    template <class T>
    void Set(T& field, T value);

    int wrapByte_ = 80;
    bool wordBreak_ = false;
    bool followPunctuation_ = false;
    bool leading_ = false;
    bool followRetMark_ = false;
    std::string punctuationStr_;
    std::string leadStr_;
    std::string followStr_;
};

// Whether `ch` (one character's bytes) is one of the characters of `set`.
bool CharInSet(std::string_view set, std::string_view ch);

}  // namespace quodle
