#pragma once
// The shell seam for tests: records every address it is asked to open.
#include <QStringList>

#include "app/qt/Shell.h"

namespace quodle::testing {

class TFakeShell final : public TShell {
public:
    void Open(const QString& target) override { opened << target; }
    QStringList opened;
};

}  // namespace quodle::testing
