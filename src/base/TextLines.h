#pragma once
// Lines of text kept in one buffer, for results that may have millions of
// lines (a report over a large document): one allocation for the bytes and
// one for the line ends instead of one per line.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace quodle {

// Steps through a list of lines that reads line i as list[i].
template <class List>
class TLineIterator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;
    TLineIterator() = default;
    TLineIterator(const List* lines, std::size_t i) : lines_(lines), i_(i) {}
    std::string_view operator*() const { return (*lines_)[i_]; }
    TLineIterator& operator++() {
        ++i_;
        return *this;
    }
    TLineIterator operator++(int) {
        TLineIterator old = *this;
        ++i_;
        return old;
    }
    bool operator==(const TLineIterator& o) const { return i_ == o.i_; }

private:
    const List* lines_ = nullptr;
    std::size_t i_ = 0;
};

class TTextLines {
public:
    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t i) const {
        const std::size_t start = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(text_).substr(start, ends_[i] - start);
    }

    void push_back(std::string_view line) {
        text_ += line;
        ends_.push_back(text_.size());
    }
    void clear() {
        text_.clear();
        ends_.clear();
    }
    // The bytes of all lines together.
    std::size_t TextSize() const { return text_.size(); }
    // Room for this many bytes and lines; only what is used is touched.
    void reserve(std::size_t bytes, std::size_t lines) {
        text_.reserve(bytes);
        ends_.reserve(lines);
    }

    using const_iterator = TLineIterator<TTextLines>;
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    std::vector<std::string> ToVector() const { return {begin(), end()}; }

private:
    std::string text_;
    std::vector<std::size_t> ends_;  // end of each line in text_
};

// The lines of a TTextLines in another order, without copying them.
class TOrderedLines {
public:
    TOrderedLines(const TTextLines& lines, const std::vector<std::uint32_t>& order) : lines_(lines), order_(order) {}
    std::size_t size() const { return order_.size(); }
    bool empty() const { return order_.empty(); }
    std::string_view operator[](std::size_t i) const { return lines_[order_[i]]; }
    TLineIterator<TOrderedLines> begin() const { return {this, 0}; }
    TLineIterator<TOrderedLines> end() const { return {this, size()}; }

private:
    const TTextLines& lines_;
    const std::vector<std::uint32_t>& order_;
};

}  // namespace quodle
