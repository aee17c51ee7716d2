#include "editor/StandaloneDocument.h"

#include "base/PathText.h"
#include "text/EditorStrings.h"

namespace quodle {

TStandaloneDocument::TStandaloneDocument(std::unique_ptr<TFountain> fountain) : fountain_(std::move(fountain)) {
    rows_.Attach(this);
}

TStandaloneDocument::~TStandaloneDocument() { rows_.Detach(this); }

TLoadResult TStandaloneDocument::LoadFromFile(const std::filesystem::path& path, TReadEncoding encoding) {
    return TEditorStrings(rows_).LoadFromFile(Utf8FromPath(path), encoding);
}

void TStandaloneDocument::SetText(std::string_view text) { rows_.SetAllText(text); }

}  // namespace quodle
