#pragma once
// What the find and replace dialogs remember per user: their options, the
// direction and the two histories (newest first, at most 32 each). On
// Windows this is the registry key below; elsewhere the toolkit keeps the
// same keys in a file under the user's settings folder.
#include <QString>
#include <QStringList>

namespace quodle {

struct TSearchDialogState {
    bool MatchCase = false;
    bool WholeWord = false;
    bool NoMatchZenkaku = false;
    bool IncludeCRLF = false;
    int Direction = 1;  // 0 backward, 1 forward
    QStringList SearchItems;
    QStringList ReplaceItems;

    bool operator==(const TSearchDialogState&) const = default;
};

inline constexpr int kSearchHistoryMax = 32;

// Puts `text` first in a history: an equal entry (compared exactly) moves
// up instead of staying twice, and the oldest goes beyond the maximum.
void PushHistory(QStringList& items, const QString& text);

class TSearchDialogStore {
public:
    // The user's own store.
    TSearchDialogStore();
    // A store in an INI file (tests).
    explicit TSearchDialogStore(QString iniPath);

    // Missing or unreadable values read as their defaults.
    TSearchDialogState Read() const;
    // The options, the direction and the find history; the replace history
    // too when `replace` (the replace dialog writes it, the find dialog not).
    void Write(const TSearchDialogState& state, bool replace) const;

private:
    QString iniPath_;  // empty: the user's store
};

}  // namespace quodle
