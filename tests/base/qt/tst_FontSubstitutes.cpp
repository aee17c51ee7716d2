// The design fonts name faces of another system: once the mapping is
// registered, each resolves to the installed Japanese face, so text in them
// shows as Japanese and not as boxes.
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QtTest>

#include "base/qt/FontSubstitutes.h"

class TFontSubstitutesTest : public QObject {
    Q_OBJECT
private slots:
    void DesignFontsResolveToInstalledFaces() {
        quodle::RegisterFontSubstitutes();
        const struct {
            const char* design;
            const char* face;
        } cases[] = {{"ＭＳ ゴシック", "IPAGothic"},
                     {"MS ゴシック", "IPAGothic"},
                     {"MS Gothic", "IPAGothic"},
                     {"ＭＳ Ｐゴシック", "IPAPGothic"},
                     {"FixedSys", "IPAGothic"}};
        for (const auto& c : cases) {
            QLabel label(QStringLiteral("関数カタログ"));
            label.setFont(QFont(QString::fromUtf8(c.design), 12));
            QCOMPARE(QFontInfo(label.font()).family(), QString::fromUtf8(c.face));
            // The face has the glyphs: a kanji is not drawn as a missing box.
            QVERIFY(QFontMetrics(label.font()).inFont(QChar(0x95A2)));
        }
    }
};

QTEST_MAIN(TFontSubstitutesTest)
#include "tst_FontSubstitutes.moc"
