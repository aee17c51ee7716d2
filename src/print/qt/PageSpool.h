#pragma once
// The rendered pages (each a recorded picture) kept in a temporary file, so
// that a long document costs disk, not memory: preview and printing load a
// page when they replay it.
#include <QPicture>
#include <QTemporaryFile>
#include <memory>
#include <vector>

namespace quodle {

class TMetaFileList {
public:
    TMetaFileList() = default;
    TMetaFileList(const TMetaFileList&) = delete;
    TMetaFileList& operator=(const TMetaFileList&) = delete;

    std::size_t Count() const { return pages_.size(); }
    // Appends a page; false when the spool file cannot be written.
    bool Add(const QPicture& page);
    // Page i as recorded; an empty picture when it cannot be read back.
    QPicture Page(std::size_t i) const;
    void Clear();

private:
    struct TEntry {
        qint64 Offset;
        qint64 Size;
    };
    std::unique_ptr<QTemporaryFile> file_;
    std::vector<TEntry> pages_;
};

}  // namespace quodle
