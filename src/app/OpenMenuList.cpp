#include "app/OpenMenuList.h"

#include <algorithm>

#include "app/Settings.h"
#include "base/FileIdentity.h"

namespace quodle {
namespace {

std::string ItemKey(std::size_t index) { return std::string(settings::kOpenMenuItem.name) + std::to_string(index); }

}  // namespace

void TOpenMenuList::Load(const IniDocument& doc) {
    items_.clear();
    // A longer list than twelve is kept whole (a push drops its last entry
    // each time); the key's range bounds what a damaged Count can cost.
    const int count = settings::Read(doc, settings::kOpenMenuItemsCount);
    // Entries after the last Item key present would all be empty; stopping
    // there keeps a damaged Count from filling the menu with blank entries.
    std::size_t present = 0;
    for (int i = 0; i < count; ++i) {
        const auto item = settings::ReadNumbered(doc, settings::kOpenMenuItem, static_cast<std::size_t>(i));
        items_.push_back(item.value_or(std::string()));
        if (item) present = items_.size();
    }
    items_.resize(present);
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
    std::erase_if(items_, [&](const std::string& item) { return SameFile(item, path); });
    items_.insert(items_.begin(), std::string(path));
    // One out per push: a longer list read from the file shrinks in steps.
    if (items_.size() > kMaxCount) items_.pop_back();
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
