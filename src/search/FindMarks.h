#pragma once
// Find marks: every match of a string in a logical line, the string taken
// literally or as a regular expression (Ruby syntax, Shift-JIS text). The
// expression is compiled once per string and options; a string that does
// not compile gives no matches and keeps the library's own message.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/EditorOptions.h"

namespace quodle {

struct TFindMarkMatch {
    int Start = 0;   // 1-based byte position in the line
    int Length = 0;  // bytes
    // The texts of the groups by number, the whole match first; a group
    // that took part in no match is empty.
    std::vector<std::string> Groups;
    bool operator==(const TFindMarkMatch&) const = default;
};

// "\t", "\r", "\n" and "\\" as TAB, CR, LF and "\"; other backslash pairs and
// a lone backslash at the end stay; double-byte characters are copied whole.
std::string UnescapeFindMark(std::string_view text);

class TFindMarks {
public:
    TFindMarks();
    ~TFindMarks();
    TFindMarks(const TFindMarks&) = delete;
    TFindMarks& operator=(const TFindMarks&) = delete;

    void Set(std::string_view text, TExSearchOptions options);
    const std::string& Text() const { return text_; }
    TExSearchOptions Options() const { return options_; }

    // Every match in the line, one after the other from its start. The
    // results of the last line asked for are kept.
    const std::vector<TFindMarkMatch>& Match(std::string_view line);
    // The library's message when the string does not compile, else empty.
    const std::string& Error() const { return error_; }

    // Among the last line's results: the first that starts after `column`,
    // and the last that starts at or before it (1-based byte positions).
    // Without word wrap, columns beyond the widest row count as that width,
    // and no result beyond it is next.
    std::optional<TFindMarkMatch> Next(int column, bool wordWrap) const;
    std::optional<TFindMarkMatch> Previous(int column, bool wordWrap) const;
    // The replacement of one match: with soRegexp and soEscSeq, "\n" stands
    // for the text of group n (the longest number a group has wins).
    std::string Replacement(const TFindMarkMatch& match, std::string_view replacement) const;
    // The last line with every result replaced.
    std::string ReplaceAll(std::string_view replacement) const;

    // The library's version, e.g. "6.9.8".
    static std::string Version();

private:
    struct TRegex;
    bool Compile();

    std::string text_;
    TExSearchOptions options_ = 0;
    std::unique_ptr<TRegex> regex_;
    bool compiled_ = false;
    std::string error_;
    std::string line_;
    std::vector<TFindMarkMatch> results_;
};

}  // namespace quodle
