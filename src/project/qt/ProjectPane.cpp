#include "project/qt/ProjectPane.h"

namespace quodle {

const TProjectReport* TProjectPane::Run(const QString& folder, TProjectOptions options, const TProjectTexts& texts,
                                        TProgressSink* progress) {
    report_ = {};
    paths_.clear();
    TProject project(std::move(options));
    if (!project.Analyse(folder.toStdString(), texts, progress)) return nullptr;
    report_ = BuildProjectReport(project, project.Findings(), folder.toStdString());
    for (const TProjectFile& file : project.Files()) paths_.push_back(QString::fromStdString(file.Path.string()));
    return &report_;
}

std::optional<TProjectPane::TPlace> TProjectPane::PlaceOf(int index, std::string_view text) const {
    if (index < 0 || static_cast<std::size_t>(index) >= report_.Lines.size()) return std::nullopt;
    const std::size_t i = static_cast<std::size_t>(index);
    const std::optional<TReportTarget> target = report_.TargetAt(i);
    if (report_.Lines[i] != text || !target) return std::nullopt;
    return TPlace{paths_[target->File], target->Line, target->Offset};
}

}  // namespace quodle
