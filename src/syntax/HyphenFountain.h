#pragma once
// The LISP fountain: words may contain '-' and '>' (vl-load-com,
// vlax-ename->vla-object), as the dialect's symbol names do.
#include "syntax/EditorFountain.h"

namespace quodle {

class THyphenFountain : public TEditorFountain {
public:
    std::unique_ptr<TFountainParser> CreateParser() override;
};

class THyphenFountainParser : public TEditorParser {
public:
    explicit THyphenFountainParser(THyphenFountain* fountain);
};

}  // namespace quodle
