#pragma once
// The whole-project analysis as the window runs it: the report it writes to
// the output pane, and the file and place each line of it leads to when
// double-clicked.
#include <QString>
#include <optional>
#include <string_view>
#include <vector>

#include "base/FileIo.h"
#include "project/ProjectReport.h"

namespace quodle {

inline QString ProjectFolderCaption() { return QStringLiteral("解析するフォルダーを選択"); }
inline QString ProjectCaption() { return QStringLiteral("プロジェクト解析"); }
inline QString ProjectAnalysingText() { return QStringLiteral("解析しています．Esc キーで中止します．"); }
inline QString CallsCaption() { return QStringLiteral("関数の呼び出し箇所"); }
inline QString NoFunctionNameText() { return QStringLiteral("カーソル位置に関数名がありません．"); }
inline QString ProjectFolderFailedText(const FileError& e) {
    return QStringLiteral("フォルダーを読み込めませんでした．\n") + QString::fromStdString(e.Path().string()) +
           QStringLiteral("\n") + QString::fromStdString(e.ShownReason());
}

class TProjectPane {
public:
    struct TPlace {
        QString Path;
        int Line = 0;    // 0-based
        int Offset = 0;  // bytes into the line
    };

    // Analyses `folder` with `texts` in place of their files (the open
    // documents) and keeps the report, which it returns; nothing (and no
    // report kept) when the sink asked it to stop. Throws FileError when the
    // folder cannot be read.
    const TProjectReport* Run(const QString& folder, TProjectOptions options, const TProjectTexts& texts,
                              TProgressSink* progress);
    // The same analysis, reporting the calls of the function `name` (Shift-JIS).
    const TProjectReport* RunCalls(const QString& folder, std::string_view name, TProjectOptions options,
                                   const TProjectTexts& texts, TProgressSink* progress);
    // Where line `index` of the pane leads, while the pane still shows the
    // report (`text` is that line as the pane holds it); nothing for lines
    // that lead nowhere and once another report took the pane.
    std::optional<TPlace> PlaceOf(int index, std::string_view text) const;

private:
    // Analyses the folder and keeps the report `build` makes of the project.
    template <class Build>
    const TProjectReport* Keep(const QString& folder, TProjectOptions options, const TProjectTexts& texts,
                               TProgressSink* progress, Build build);

    TProjectReport report_;
    std::vector<QString> paths_;  // of the project's files, by index
};

}  // namespace quodle
