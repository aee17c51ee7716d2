#pragma once
// The desktop's "open" for addresses in the text: a web address goes to the
// browser, a "mailto:" address to the mail program. Tests put a fake here
// that records what it was asked to open.
#include <QString>

namespace quodle {

class TShell {
public:
    virtual ~TShell() = default;
    // A web address (with or without its scheme) or "mailto:" and an address.
    virtual void Open(const QString& target) = 0;
};

// The running program's: the desktop services.
class TDesktopShell final : public TShell {
public:
    void Open(const QString& target) override;
};

}  // namespace quodle
