#include "app/qt/Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace quodle {

void TDesktopShell::Open(const QString& target) {
    // "www.example.jp" has no scheme: the desktop takes it as a web address.
    QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

}  // namespace quodle
