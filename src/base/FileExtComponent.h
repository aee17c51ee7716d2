#pragma once
// A stored component that serves files by extension (".lsp"; compared by the
// program's case rule). Copying a component copies its list.
#include <string_view>

#include "base/SortedStringList.h"
#include "base/StoreComponent.h"

namespace quodle {

class TFileExtComponent : public TStoreComponent {
public:
    TFileExtComponent() = default;
    TFileExtComponent(const TFileExtComponent& other) : TStoreComponent(other) { fileExtList_.Assign(other.fileExtList_); }
    TFileExtComponent& operator=(const TFileExtComponent& other) {
        fileExtList_.Assign(other.fileExtList_);
        return *this;
    }

    TSortedStringList& FileExtList() { return fileExtList_; }
    const TSortedStringList& FileExtList() const { return fileExtList_; }
    bool ServesFileExt(std::string_view ext) const { return fileExtList_.Contains(ext); }

    void WriteProperties(TPropertyWriter& writer) const override { writer.WriteList("FileExtList", fileExtList_.Items()); }
    void ReadProperties(const TPropertyReader& reader) override {
        std::vector<std::string> items;
        if (reader.ReadList("FileExtList", items)) fileExtList_.Assign(items);
    }

    bool operator==(const TFileExtComponent& other) const { return fileExtList_.Items() == other.fileExtList_.Items(); }

private:
    TSortedStringList fileExtList_;
};

}  // namespace quodle
