#pragma once
// TEditorExProp: a TEditorProp with the extras of TEditorEx. The main window
// keeps one as the template of every new document editor, takes it from the
// active editor before opening a file and gives it to each new editor. The
// main window's template starts from TemplateDesign().
#include <string>

#include "props/EditorProp.h"

namespace quodle {

class TEditorExProp : public TEditorProp {
public:
    static constexpr int kDefaultFindLineFeedCount = 5;

    TEditorExMarks ExMarks;
    std::string FindMarkText;  // the find string whose occurrences are marked; not stored
    TExSearchOptions ExSearchOptions = 0;
    int FindLineFeedCount = kDefaultFindLineFeedCount;  // kept, never given to an editor
    TVerticalLines VerticalLines;

    void WriteProperties(TPropertyWriter& writer) const override;
    void ReadProperties(const TPropertyReader& reader) override;

    bool operator==(const TEditorExProp&) const = default;

    // The design values of the main window's template, before the settings
    // file is read over them.
    static TEditorExProp TemplateDesign();
};

}  // namespace quodle
