#pragma once
// A sorted list of words without duplicates, compared by the program's case
// rule (only ASCII a-z fold), looked up by binary search without allocating.
// Reserved-word lists and file-extension lists are of this kind.
#include <string>
#include <string_view>
#include <vector>

#include "base/NotifyPersistent.h"

namespace quodle {

// <0, 0, >0 as a sorts before, with or after b under the case rule; bytes
// compare unsigned.
int CompareIgnoreCase(std::string_view a, std::string_view b);

class TSortedStringList : public TNotifyPersistent {
public:
    TSortedStringList() = default;

    std::size_t Count() const { return items_.size(); }
    const std::string& operator[](std::size_t i) const { return items_[i]; }
    const std::vector<std::string>& Items() const { return items_; }

    // Index of the word, or -1.
    int IndexOf(std::string_view word) const;
    bool Contains(std::string_view word) const { return IndexOf(word) >= 0; }

    // Adds the word unless a word equal under the case rule is present (the
    // first spelling stays); returns whether it was added.
    bool Add(std::string_view word);
    void Clear();
    // Replaces the whole list (one change notification).
    void Assign(const std::vector<std::string>& words);
    void Assign(const TSortedStringList& other) { Assign(other.items_); }

private:
    std::vector<std::string> items_;
};

}  // namespace quodle
