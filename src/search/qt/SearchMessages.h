#pragma once
// The texts the search commands show.
#include <QString>
#include <cstdint>

namespace quodle {

inline QString NotFoundText(const QString& find) {
    return QStringLiteral("検索文字列  ' ") + find + QStringLiteral(" '\nは見つかりませんでした。");
}

// A match past the 1000th cell of its line, which shows only with word wrap.
inline QString PastShownCellsText(const QString& find, int line) {
    return QStringLiteral("検索文字列  ' ") + find +
           QStringLiteral(" '\nは %1 行目の 1000 桁より後ろにあるため，このままでは表示できません．\n"
                          "折り返し表示にして表示しますか？（元に戻す履歴は消えます．）")
               .arg(line);
}

// What a replace-all run replaced, and how many of those the user cannot see.
inline QString ReplacedCountText(std::int64_t count, std::int64_t pastShownCells) {
    QString text = QStringLiteral("%1 個置き換えました．").arg(count);
    if (pastShownCells > 0)
        text += QStringLiteral("\nそのうち %1 個は 1000 桁より後ろにあり，折り返し表示にすると見えます．").arg(pastShownCells);
    return text;
}

// Replace asked for in a text that is read only.
inline QString ReadOnlyReplaceText() { return QStringLiteral("読み取り専用のため置き換えできません．"); }

// The progress window of a long search or replace-all (its captions are
// the dialogs').
inline QString SearchCaption() { return QStringLiteral("検索"); }
inline QString ReplaceCaption() { return QStringLiteral("置換"); }
inline QString SearchingText() { return QStringLiteral("検索しています．Esc キーで中止します．"); }
inline QString ReplacingText() { return QStringLiteral("置き換えています．Esc キーで中止します．"); }

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
