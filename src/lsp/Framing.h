#pragma once
// The base protocol's framing: each message is a header of "Name: value"
// lines, each ended by CR LF, an empty line, and a body of exactly
// Content-Length bytes. Bytes are fed as they arrive, in pieces of any size;
// whole bodies come out one at a time. A header that cannot be read is
// reported and skipped up to the next "Content-Length", so that one broken
// message never takes the ones after it along.
#include <cstddef>
#include <string>
#include <string_view>

namespace quodle::lsp {

class TMessageFramer {
public:
    // Bodies larger than this are refused: no editor sends one.
    static constexpr std::size_t kMaxBody = std::size_t{512} << 20;
    // A header that has not ended by then is no header.
    static constexpr std::size_t kMaxHeader = 8192;

    void Feed(std::string_view bytes);

    struct TNext {
        enum TKind { nkNone, nkMessage, nkBadHeader };
        TKind Kind = nkNone;
        std::string Body;     // nkMessage
        std::string Problem;  // nkBadHeader: what was wrong, for the log
    };
    // The next whole message, or what kept a header from being read; nkNone
    // while more bytes are needed.
    TNext Next();
    // Whether Next would give something without more bytes.
    bool Ready() const;
    // Bytes fed and not yet taken (a message cut off, at the end of input).
    std::size_t Pending() const { return buffer_.size() - start_; }

private:
    struct THeader {
        std::size_t HeaderEnd = 0;  // past the empty line; 0 while incomplete
        std::size_t Length = 0;
        std::string Problem;
    };
    THeader ReadHeader() const;
    // Drops the bytes before the next "Content-Length" after the start.
    void Resync();

    std::string buffer_;
    std::size_t start_ = 0;
};

}  // namespace quodle::lsp
