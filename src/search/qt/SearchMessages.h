#pragma once
// The texts the search commands show.
#include <QString>

namespace quodle {

inline QString NotFoundText(const QString& find) {
    return QStringLiteral("検索文字列  ' ") + find + QStringLiteral(" '\nは見つかりませんでした。");
}

// Replace asked for in a text that is read only.
inline QString ReadOnlyReplaceText() { return QStringLiteral("読み取り専用のため置き換えできません．"); }

inline QString ConfirmReplaceText(const QString& find, const QString& replacement) {
    return QStringLiteral(" ") + find + QStringLiteral("   を\n ") + replacement + QStringLiteral("   に 置き換えますか？");
}

}  // namespace quodle
