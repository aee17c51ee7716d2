#include "base/qt/FontSubstitutes.h"

#include <QFont>

namespace quodle {

void RegisterFontSubstitutes() {
    static const bool done = [] {
        QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
        QFont::insertSubstitution(QStringLiteral("MS ゴシック"), QStringLiteral("IPAGothic"));
        QFont::insertSubstitution(QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"));
        QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
        QFont::insertSubstitution(QStringLiteral("FixedSys"), QStringLiteral("IPAGothic"));
        return true;
    }();
    (void)done;
}

}  // namespace quodle
