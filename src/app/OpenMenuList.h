#pragma once
// TOpenMenuList: the paths of the "開き直す" menu, most recent first, at most
// twelve once pushed (a longer stored list is read whole and loses its last
// entry at each push), kept in the settings file under [OpenMenuItems]. Two entries are
// the same when they name the same file (SameFile: a link counts as its
// target, letter case always counts). The menu itself is the window's: it
// rebuilds its submenu whenever the change callback fires.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/IniFile.h"
#include "app/Settings.h"

namespace quodle {

class TOpenMenuList {
public:
    static constexpr std::size_t kMaxCount = settings::kMaxReopenEntries;

    // Called after every change of the list (load, push, remove).
    void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

    // Reads Count (default 0) and Item0 … Item(Count−1), more than twelve
    // too; a missing key (or one too long for a path) gives an empty entry,
    // except after the last key present.
    void Load(const IniDocument& doc);
    void Load(const IniFile& ini) { Load(ini.Read()); }
    // Writes Count and the Item keys in list order. Keys beyond the new count
    // are left as they are (they are never read).
    void Store(IniDocument& doc) const;
    void Store(IniFile& ini) const;  // one write batch; throws FileError

    // Moves path to the front (removing any entry for the same file), then drops
    // the last entry if the list has grown past twelve. A path with a line
    // break cannot be kept in the settings file and is not taken: false.
    bool Push(std::string_view path);
    // Removes every entry for the same file as path; false when there was none.
    bool Remove(std::string_view path);
    bool Contains(std::string_view path) const;

    const std::vector<std::string>& Items() const { return items_; }

private:
    void Changed() const {
        if (onChange_) onChange_();
    }

    std::vector<std::string> items_;
    std::function<void()> onChange_;
};

}  // namespace quodle
