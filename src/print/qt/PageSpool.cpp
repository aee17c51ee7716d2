#include "print/qt/PageSpool.h"

#include <QDir>

namespace quodle {

bool TMetaFileList::Add(const QPicture& page) {
    if (!file_) {
        file_ = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/quodle-pages-XXXXXX"));
        if (!file_->open()) {
            file_.reset();
            return false;
        }
    }
    const qint64 offset = file_->size();
    const QByteArray data(page.data(), static_cast<qsizetype>(page.size()));
    if (!file_->seek(offset) || file_->write(data) != data.size()) return false;
    pages_.push_back({offset, data.size()});
    return true;
}

QPicture TMetaFileList::Page(std::size_t i) const {
    QPicture picture;
    if (i >= pages_.size() || !file_ || !file_->seek(pages_[i].Offset)) return picture;
    const QByteArray data = file_->read(pages_[i].Size);
    if (data.size() == pages_[i].Size) picture.setData(data.constData(), static_cast<uint>(data.size()));
    return picture;
}

void TMetaFileList::Clear() {
    pages_.clear();
    file_.reset();
}

}  // namespace quodle
