#pragma once
// The texts the main window shows. Where a message breaks its line, the
// break is written as "\n", which the message boxes show as a new line.
#include <QString>

#include "base/FileIo.h"
#include "text/TextFile.h"

namespace quodle {

inline constexpr const char* kFormCaption = "Quodle Ver.0.58";
inline constexpr const char* kApplicationTitle = "Tarnwick Ver.0.58b";
inline constexpr const char* kMessageCaption = "Tarnwick";
inline constexpr const char* kFileFilter =
    "AutoLISPファイル(*.lsp)|*.lsp|テキストファイル(*.txt)|*.txt|DXFファイル(*.dxf)|*.dxf|"
    "DCLファイル(*.dcl)|*.dcl|SCRファイル(*.scr)|*.scr";

inline QString AlreadyOpenText() { return QStringLiteral("すでに開かれています．"); }
inline QString CannotOpenText() { return QStringLiteral("ファイルが存在しないか使用中です．"); }
inline QString ReopenMissingText(const QString& path) {
    return path + QStringLiteral(" が見つかりません．\n履歴から削除しますか．");
}
inline QString BackupFailedText(const QString& backupPath) {
    return QStringLiteral("バックアップファイルの作成に失敗しました．\n") + backupPath;
}
inline QString BakFailedText() { return QStringLiteral("BAKファイルの作成に失敗しました．"); }
inline QString ReplaceExistingText(const QString& path) {
    return path + QStringLiteral("はすでに存在します．\n置き換えしますか？");
}
// Closing one tab uses the half-width stop, closing the window the full-width one.
inline QString CloseTabModifiedText(const QString& caption) {
    return caption + QStringLiteral(" は変更されています.保存しますか？");
}
inline QString CloseWindowModifiedText(const QString& caption) {
    return caption + QStringLiteral(" は変更されています．保存しますか？");
}

// The mark and jump commands.
inline QString MarksAllInUseText() { return QStringLiteral("すでに9個のマークが使われています．"); }
inline QString NoMarksText() { return QStringLiteral("マークは設定されていません．"); }
inline QString LineNumberRangeText(int lineCount) {
    return QStringLiteral("行番号が正しくありません．\n範囲は(0～") + QString::number(lineCount) + QStringLiteral(")です．");
}

// Text typed, pasted or committed with characters Shift-JIS cannot hold is
// refused whole; each character is named with its code, since some of
// them are invisible.
inline QString UnencodableText(const QString& characters) {
    constexpr qsizetype kNamed = 10;
    const QList<uint> codes = characters.toUcs4();
    QStringList named;
    for (qsizetype i = 0; i < codes.size() && i < kNamed; ++i) {
        const char32_t c = codes[i];
        named << QStringLiteral("「") + QString::fromUcs4(&c, 1) + QStringLiteral("」(U+") +
                     QString::number(codes[i], 16).toUpper().rightJustified(4, QLatin1Char('0')) + QLatin1Char(')');
    }
    if (codes.size() > kNamed) named << QStringLiteral("ほか%1文字").arg(codes.size() - kNamed);
    return named.join(QStringLiteral("、")) + QStringLiteral(" はShift-JISで表せないため、入力できません．");
}

// A document's file that another program changed since the program read or
// wrote it: before overwriting it, and when its tab or window comes back.
inline QString OverwriteChangedText(const QString& path) {
    return path + QStringLiteral(" はほかのプログラムで変更されています．\n上書きしますか？");
}
// 開き直す on a document with changes of its own.
inline QString ReopenModifiedText(const QString& caption) {
    return caption + QStringLiteral(" は変更されています．\n開き直すと編集中の変更は失われます．開き直しますか？");
}
inline QString ReloadChangedText(const QString& path, bool modified) {
    return path + QStringLiteral(" はほかのプログラムで変更されました．\n") +
           (modified ? QStringLiteral("読み込み直すと編集中の変更は失われます．\n") : QString()) +
           QStringLiteral("読み込み直しますか？");
}

// Failures the program reports with the path and the system's reason.
inline QString SaveFailedText(const FileError& e) {
    return QStringLiteral("ファイルを保存できませんでした．\n") + QString::fromStdString(e.Path().string()) +
           QStringLiteral("\n") + QString::fromStdString(e.ShownReason());
}
inline QString LoadFailedText(const EFileError& e) {
    return QStringLiteral("ファイルを読み込めませんでした．\n") + QString::fromStdString(e.Path()) +
           QStringLiteral("\n") + QString::fromStdString(e.ShownReason());
}
// A code as a message shows it: upper-case hexadecimal, at least `digits` long.
inline QString HexCode(char32_t c, int digits) {
    return QString::number(static_cast<uint>(c), 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}
inline QString LoadProblemText(const TLoadProblem& problem) {
    if (problem.Kind == TLoadProblem::lpNoForm)
        return QStringLiteral("%1 行目の文字 %2 は Shift-JIS で扱えません．\n"
                              "内容を守るため読み取り専用で開きました．この文字は「〓」で表示され，このままでは保存できません．")
            .arg(problem.Line)
            .arg(QStringLiteral("「") + QString::fromUcs4(&problem.Char, 1) + QStringLiteral("」(U+") +
                 HexCode(problem.Char, 4) + QStringLiteral(")"));
    const QString why =
        problem.Kind == TLoadProblem::lpNotUtf8
            ? QStringLiteral("%1 行目に UTF-8 でないバイト 0x%2 があるため，UTF-8 として読めません．\n")
            : QStringLiteral("UTF-8 のファイルとして印が付いていますが，%1 行目に UTF-8 でないバイト 0x%2 があります．\n");
    return (why + QStringLiteral("バイトをそのまま保つため Shift-JIS として読み取り専用で開きました．"))
        .arg(problem.Line)
        .arg(HexCode(problem.Char, 2));
}
inline QString NotWritableText(const FileError& e) {
    return QStringLiteral("このファイルには書き込めないため，読み取り専用で開きました．\n") +
           QString::fromStdString(e.Path().string()) + QStringLiteral("\n") + QString::fromStdString(e.ShownReason());
}
inline QString CtrlZTailText(int line, std::size_t bytes) {
    return QStringLiteral("%1 行目の Ctrl+Z (1AH) から後ろの %2 バイトは表示していません．\n"
                          "保存するときは，この部分を元のまま書き戻します．")
        .arg(line)
        .arg(static_cast<qulonglong>(bytes));
}
inline QString SaveBlockedText() {
    return QStringLiteral("Shift-JIS で扱えない文字を「〓」に置き換えて表示しているため，保存できません．");
}
inline QString NoUtf8FormText(int line) {
    return QStringLiteral("%1 行目に UTF-8 で表せないバイトがあるため，UTF-8 では保存できません．\n"
                          "文字コードを SJIS にして保存してください．")
        .arg(line);
}
inline QString SettingsWriteFailed(const FileError& e) {
    return QStringLiteral("設定ファイルに書き込めませんでした．\n") + QString::fromStdString(e.Path().string()) +
           QStringLiteral("\n") + QString::fromStdString(e.ShownReason());
}

}  // namespace quodle
