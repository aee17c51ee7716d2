#pragma once
// The page of one document tab: its editor, and while the tab is split a
// second (upper) editor on the same row list above a splitter; and what its
// file on disk was when the program last read or wrote it.
#include <QWidget>
#include <optional>
#include <vector>

#include "base/FileIo.h"

class QSplitter;

namespace quodle {

class TEditorEx;

class TDocumentPage : public QWidget {
    Q_OBJECT
public:
    explicit TDocumentPage(QWidget* parent = nullptr);

    // The editor the tab was created with (the lower one while split).
    TEditorEx* Editor() const { return editor_; }
    void SetEditor(TEditorEx* editor);
    // The editor made by splitting, or null.
    TEditorEx* Upper() const { return upper_; }
    bool IsSplit() const { return upper_ != nullptr; }
    // The tab's editors in the order of its controls: the original first,
    // then the upper one.
    std::vector<TEditorEx*> Editors() const;

    // Puts `upper` above the editor at half the page's height.
    void Split(TEditorEx* upper);
    // Frees the upper editor and the splitter position.
    void Unsplit();
    QSplitter* Splitter() const { return splitter_; }

    // The document's file as it was when the text was loaded or last saved
    // (nothing for a document never loaded or saved), and a later state the
    // user chose not to reload, so that it is not offered again.
    const std::optional<FileStamp>& DiskStamp() const { return diskStamp_; }
    void SetDiskStamp(const std::optional<FileStamp>& stamp) {
        diskStamp_ = stamp;
        keptStamp_.reset();
    }
    const std::optional<FileStamp>& KeptStamp() const { return keptStamp_; }
    void SetKeptStamp(const FileStamp& stamp) { keptStamp_ = stamp; }

private:
    QSplitter* splitter_;
    TEditorEx* editor_ = nullptr;
    TEditorEx* upper_ = nullptr;
    std::optional<FileStamp> diskStamp_;
    std::optional<FileStamp> keptStamp_;
};

}  // namespace quodle
