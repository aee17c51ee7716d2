#pragma once
// Lines of text kept in one buffer, for results that may have millions of
// lines (a report over a large document): one block for the bytes and one
// for the line ends instead of one allocation per line.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/BulkArray.h"

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
    TTextLines() = default;
    TTextLines(TTextLines&& o) noexcept
        : text_(std::move(o.text_)),
          textSize_(std::exchange(o.textSize_, 0)),
          ends_(std::move(o.ends_)),
          count_(std::exchange(o.count_, 0)) {}
    TTextLines& operator=(TTextLines&& o) noexcept {
        text_ = std::move(o.text_);
        textSize_ = std::exchange(o.textSize_, 0);
        ends_ = std::move(o.ends_);
        count_ = std::exchange(o.count_, 0);
        return *this;
    }
    TTextLines(const TTextLines& o) { *this = o; }
    TTextLines& operator=(const TTextLines& o) {
        if (this != &o) {
            clear();
            reserve(o.TextSize(), o.size());
            for (const std::string_view line : o) push_back(line);
        }
        return *this;
    }

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    std::string_view operator[](std::size_t i) const {
        const std::size_t start = i == 0 ? 0 : ends_.data()[i - 1];
        return {text_.data() + start, ends_.data()[i] - start};
    }

    void push_back(std::string_view line) {
        if (textSize_ + line.size() > text_.capacity()) Grow(text_, textSize_ + line.size(), textSize_);
        if (count_ == ends_.capacity()) Grow(ends_, count_ + 1, count_);
        if (!line.empty()) std::memcpy(text_.data() + textSize_, line.data(), line.size());
        textSize_ += line.size();
        ends_.data()[count_++] = textSize_;
    }
    void clear() {
        textSize_ = 0;
        count_ = 0;
    }
    // The bytes of all lines together.
    std::size_t TextSize() const { return textSize_; }
    // Room for this many bytes and lines; only what is used is touched.
    void reserve(std::size_t bytes, std::size_t lines) {
        if (bytes > text_.capacity()) text_.Grow(bytes, textSize_);
        if (lines > ends_.capacity()) ends_.Grow(lines, count_);
    }

    using const_iterator = TLineIterator<TTextLines>;
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    std::vector<std::string> ToVector() const { return {begin(), end()}; }

private:
    // Doubles: a large list's blocks grow in place where the system allows
    // it, so its bytes are neither copied nor touched again.
    template <class T>
    static void Grow(TBulkArray<T>& a, std::size_t needed, std::size_t used) {
        a.Grow(std::max({needed, a.capacity() * 2, std::size_t{64}}), used);
    }

    TBulkArray<char> text_;
    std::size_t textSize_ = 0;
    TBulkArray<std::size_t> ends_;  // end of each line in text_
    std::size_t count_ = 0;
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
