#include "editor/TextFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "editor/RowParseState.h"
#include "editor/StringList.h"

namespace quodle {

namespace {

constexpr char kCtrlZ = 26;

const char* Find(const char* p, const char* end, char c) {
    const void* f = std::memchr(p, c, static_cast<std::size_t>(end - p));
    return f ? static_cast<const char*>(f) : end;
}

// Collects the complete lines of [data, data + size) and returns how many
// bytes they took. A CR at the very end counts only when `final`: an LF may
// still follow in the next read. Two memchr cursors (CR and LF) each pass
// over the bytes once, whatever mix of breaks the text has.
std::size_t ScanLines(const char* data, std::size_t size, bool final, std::vector<std::string_view>& lines) {
    const char* p = data;
    const char* const end = data + size;
    const char* cr = Find(p, end, '\r');
    const char* lf = Find(p, end, '\n');
    for (;;) {
        if (cr < p) cr = Find(p, end, '\r');
        if (lf < p) lf = Find(p, end, '\n');
        const char* brk = std::min(cr, lf);
        if (brk == end) break;
        if (*brk == '\r' && brk + 1 == end && !final) break;
        lines.emplace_back(p, static_cast<std::size_t>(brk - p));
        p = brk + 1;
        if (*brk == '\r' && p < end && *p == '\n') ++p;
    }
    return static_cast<std::size_t>(p - data);
}

class TFile {
public:
    explicit TFile(const std::string& path) : path_(path), fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (fd_ < 0) Fail();
    }
    ~TFile() { ::close(fd_); }
    TFile(const TFile&) = delete;
    TFile& operator=(const TFile&) = delete;

    // Fills buf[0..size) as far as the file goes; returns the bytes read.
    std::size_t Read(char* buf, std::size_t size) {
        std::size_t got = 0;
        while (got < size) {
            const ssize_t n = ::read(fd_, buf + got, size - got);
            if (n < 0) {
                if (errno == EINTR) continue;
                Fail();
            }
            if (n == 0) break;
            got += static_cast<std::size_t>(n);
        }
        return got;
    }

private:
    [[noreturn]] void Fail() { throw EFileError(path_, std::strerror(errno)); }

    std::string path_;
    int fd_;
};

}  // namespace

bool AppendLines(std::string_view text, TheStringList& rows) {
    std::vector<std::string_view> lines;
    const std::size_t used = ScanLines(text.data(), text.size(), true, lines);
    TheStringList::TAppender appender(rows);
    appender.Append(lines);
    if (used == text.size()) return false;
    appender.Append(text.substr(used));
    return true;
}

void AppendFileLines(const std::string& path, TheStringList& rows, std::size_t chunkBytes) {
    TFile file(path);
    TheStringList::TAppender appender(rows);
    std::vector<char> buf(std::max<std::size_t>(chunkBytes, 1));
    std::vector<std::string_view> lines;
    std::size_t have = 0;  // bytes in buf: an unfinished line carried over, then new ones
    bool atEnd = false;
    while (!atEnd) {
        const std::size_t want = std::min(buf.size() - have, std::max<std::size_t>(chunkBytes, 1));
        const std::size_t got = file.Read(buf.data() + have, want);
        if (got < want) atEnd = true;
        // Ctrl+Z ends the text; nothing after it is read.
        if (const void* z = std::memchr(buf.data() + have, kCtrlZ, got)) {
            have = static_cast<std::size_t>(static_cast<const char*>(z) - buf.data());
            atEnd = true;
        } else {
            have += got;
        }
        lines.clear();
        const std::size_t used = ScanLines(buf.data(), have, atEnd, lines);
        appender.Append(lines);
        std::memmove(buf.data(), buf.data() + used, have - used);
        have -= used;
        // A line longer than the buffer: make room for the next read.
        if (!atEnd && buf.size() - have < chunkBytes) buf.resize(have + std::max<std::size_t>(chunkBytes, have));
    }
    if (have > 0) {
        appender.Append(std::string_view(buf.data(), have));
        appender.SetLastAttribute1(reNoBreak);
    }
}

}  // namespace quodle
