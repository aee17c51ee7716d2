#pragma once
// The texts the search commands show.
#include <QString>
#include <cstdint>

namespace quodle {

inline QString NotFoundText(const QString& find) {
    return QStringLiteral("検索文字列  ' ") + find + QStringLiteral(" '\nは見つかりませんでした。");
}

// Replace asked for in a text that is read only.
inline QString ReadOnlyReplaceText() { return QStringLiteral("読み取り専用のため置き換えできません．"); }

// The progress window of a long search or replace-all (its captions are
// the dialogs'), and the status text once the user stopped it.
inline QString SearchCaption() { return QStringLiteral("検索"); }
inline QString ReplaceCaption() { return QStringLiteral("置換"); }
inline QString SearchingText() { return QStringLiteral("検索しています．Esc キーで中止します．"); }
inline QString ReplacingText() { return QStringLiteral("置き換えています．Esc キーで中止します．"); }
inline QString StoppedText() { return QStringLiteral("中止しました．"); }

// Replace-all refused: the text would grow past what it may.
inline QString ReplaceTooLargeText(std::uint64_t bytes, std::uint64_t limit) {
    return QStringLiteral("置き換えると文書が %1 バイトになり，上限の %2 バイトを超えるため置き換えできません．")
        .arg(bytes)
        .arg(limit);
}

inline QString ConfirmReplaceText(const QString& find, const QString& replacement) {
    return QStringLiteral(" ") + find + QStringLiteral("   を\n ") + replacement + QStringLiteral("   に 置き換えますか？");
}

}  // namespace quodle
