#include "project/qt/ProjectPane.h"

namespace quodle {

template <class Build>
const TProjectReport* TProjectPane::Keep(const QString& folder, TProjectOptions options, const TProjectTexts& texts,
                                         TProgressSink* progress, Build build) {
    report_ = {};
    paths_.clear();
    TProject project(std::move(options));
    if (!project.Analyse(folder.toStdString(), texts, progress)) return nullptr;
    report_ = build(project);
    for (const TProjectFile& file : project.Files()) paths_.push_back(QString::fromStdString(file.Path.string()));
    return &report_;
}

const TProjectReport* TProjectPane::Run(const QString& folder, TProjectOptions options, const TProjectTexts& texts,
                                        TProgressSink* progress) {
    return Keep(folder, std::move(options), texts, progress, [&](const TProject& project) {
        return BuildProjectReport(project, project.Findings(), folder.toStdString());
    });
}

const TProjectReport* TProjectPane::RunCalls(const QString& folder, std::string_view name, TProjectOptions options,
                                             const TProjectTexts& texts, TProgressSink* progress) {
    return Keep(folder, std::move(options), texts, progress, [&](const TProject& project) {
        return BuildCallsReport(project, name, project.CallsOf(name, texts), folder.toStdString());
    });
}

std::optional<TProjectPane::TPlace> TProjectPane::PlaceOf(int index, std::string_view text) const {
    if (index < 0 || static_cast<std::size_t>(index) >= report_.Lines.size()) return std::nullopt;
    const std::size_t i = static_cast<std::size_t>(index);
    const std::optional<TReportTarget> target = report_.TargetAt(i);
    if (report_.Lines[i] != text || !target) return std::nullopt;
    return TPlace{paths_[target->File], target->Line, target->Offset};
}

}  // namespace quodle
