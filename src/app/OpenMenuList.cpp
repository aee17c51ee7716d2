#include "app/OpenMenuList.h"

#include <algorithm>

#include "app/Settings.h"
#include "base/FileIdentity.h"

namespace quodle {
namespace {

std::string ItemKey(std::size_t index) { return std::string(settings::kOpenMenuItemPrefix) + std::to_string(index); }

}  // namespace

void TOpenMenuList::Load(const IniDocument& doc) {
    items_.clear();
    const int count = settings::Read(doc, settings::kOpenMenuItemsCount);
    // Entries after the last Item key present would all be empty; stopping
    // there keeps a damaged Count from filling the menu with blank entries.
    std::size_t present = 0;
    for (const auto& key : doc.Keys(settings::kOpenMenuItemsSection))
        if (const auto index = settings::NumberedKeyIndex(key, settings::kOpenMenuItemPrefix); index && *index < count)
            present = std::max(present, static_cast<std::size_t>(*index) + 1);
    for (std::size_t i = 0; i < present; ++i)
        items_.push_back(doc.ReadString(settings::kOpenMenuItemsSection, ItemKey(i), ""));
    Changed();
}

void TOpenMenuList::Store(IniDocument& doc) const {
    settings::Write(doc, settings::kOpenMenuItemsCount, static_cast<int>(items_.size()));
    for (std::size_t i = 0; i < items_.size(); ++i)
        doc.WriteString(settings::kOpenMenuItemsSection, ItemKey(i), items_[i]);
}

void TOpenMenuList::Store(IniFile& ini) const {
    ini.Update([this](IniDocument& doc) { Store(doc); });
}

bool TOpenMenuList::Push(std::string_view path) {
    if (path.find_first_of("\r\n") != std::string_view::npos) return false;
    // A list loaded longer than twelve ends one entry shorter after every
    // push until it is back at twelve.
    const std::size_t limit = std::max(kMaxCount, items_.size() - (items_.size() > kMaxCount ? 1 : 0));
    std::erase_if(items_, [&](const std::string& item) { return SameFile(item, path); });
    items_.insert(items_.begin(), std::string(path));
    if (items_.size() > limit) items_.resize(limit);
    Changed();
    return true;
}

bool TOpenMenuList::Remove(std::string_view path) {
    const auto removed = std::erase_if(items_, [&](const std::string& item) { return SameFile(item, path); });
    if (removed == 0) return false;
    Changed();
    return true;
}

bool TOpenMenuList::Contains(std::string_view path) const {
    return std::any_of(items_.begin(), items_.end(),
                       [&](const std::string& item) { return SameFile(item, path); });
}

}  // namespace quodle
