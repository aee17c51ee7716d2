// TEditorEx with word wrap: the caret across soft-wrapped rows, the caret's
// place in the text when the rows are cut anew, and rewrapping as no change
// of the text.
#include <QApplication>
#include <QtTest>

#include "base/ShiftJis.h"
#include "editor/qt/EditorEx.h"
#include "props/qt/EditorExPropAssign.h"

using namespace quodle;

namespace {

std::string Sjis(const char* utf8) { return Utf8ToCp932(utf8); }

}  // namespace

class TestEditorWrap : public QObject {
    Q_OBJECT

    std::unique_ptr<TEditorEx> editor_;

    TEditorEx& E() { return *editor_; }
    void Wrap(bool on, int wrapByte = 20) {
        TEditorExProp prop = PropOf(E());
        prop.WordWrap = on;
        prop.WrapOption.WrapByte = wrapByte;
        AssignTo(prop, E());
    }

private slots:
    void init() {
        editor_ = std::make_unique<TEditorEx>();
        TEditorExProp prop = TEditorExProp::TemplateDesign();
        prop.Caret.TabSpaceCount = 8;
        AssignTo(prop, *editor_);
        editor_->resize(500, 300);
        editor_->show();
    }
    void cleanup() { editor_.reset(); }

    // A set with wrap on given to an editor rewraps the text once, already
    // at the set's width, whether wrap was off or on at another width.
    void assigningASetRewrapsOnce() {
        E().Lines().SetText(std::string(90, 'a'));
        for (const int fromWidth : {0, 30}) {
            Wrap(fromWidth != 0, fromWidth ? fromWidth : 20);
            TEditorExProp prop = PropOf(E());
            prop.WordWrap = true;
            prop.WrapOption.WrapByte = 50;
            prop.FindLineFeedCount = 9;
            const auto revision = E().Rows().Revision();
            AssignTo(prop, E());
            QCOMPARE(E().Rows().Revision(), revision + 1);
            QCOMPARE(E().Rows().Count(), 2);
            QCOMPARE(PropOf(E()).FindLineFeedCount, TEditorExProp::kDefaultFindLineFeedCount);
        }
    }

    // Right at the last character of a soft-wrapped row goes on to the next
    // row; Left at its start comes back to that character.
    void arrowsCrossSoftWraps_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("toRow");
        QTest::addColumn<int>("toCol");
        const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
        const QString wide = QStringLiteral("あいうえおかきくけこさし");
        QTest::newRow("right inside the row") << letters << 0 << 18 << int(Qt::Key_Right) << 0 << 19;
        QTest::newRow("right at the last cell") << letters << 0 << 19 << int(Qt::Key_Right) << 1 << 0;
        QTest::newRow("left back to the last cell") << letters << 1 << 0 << int(Qt::Key_Left) << 0 << 19;
        QTest::newRow("right at a last double-byte character") << wide << 0 << 18 << int(Qt::Key_Right) << 1 << 0;
        QTest::newRow("left back onto it") << wide << 1 << 0 << int(Qt::Key_Left) << 0 << 18;
        QTest::newRow("right at the end of the line stays") << letters << 1 << 6 << int(Qt::Key_Right) << 1 << 6;
    }
    void arrowsCrossSoftWraps() {
        QFETCH(QString, text);
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(int, key);
        QFETCH(int, toRow);
        QFETCH(int, toCol);
        E().Lines().SetText(Utf8ToCp932((text + QStringLiteral("\r\nx")).toStdString()));
        Wrap(true);
        QCOMPARE(E().RowEndingOf(0), reWrapped);
        E().SetRow(row);
        E().SetCol(col);
        QCOMPARE(E().Col(), col);
        QTest::keyClick(&E(), static_cast<Qt::Key>(key));
        QCOMPARE(E().Row(), toRow);
        QCOMPARE(E().Col(), toCol);
    }

    // The caret keeps its place in the text when the rows are cut anew,
    // behind tabs and double-byte characters too.
    void caretKeepsItsPlaceAcrossRewraps() {
        E().Lines().SetText("\t(foo\r\n" + Sjis("あいうえおかきくけこ\tさ(x"));
        E().SetRow(0);
        E().SetCol(9);  // after "("
        Wrap(true);
        QCOMPARE(E().Row(), 0);
        QCOMPARE(E().Col(), 9);
        Wrap(false);
        QCOMPARE(E().Row(), 0);
        QCOMPARE(E().Col(), 9);

        // After "(" on the second row of the wrapped line: 20 + 4 + 2 + 1
        // cells unwrapped, 8 + 2 + 1 wrapped.
        E().SetRow(1);
        E().SetCol(27);
        QCOMPARE(E().OffsetInLine(1, 27), 24);
        Wrap(true);
        QCOMPARE(E().RowString(2), Sjis("\tさ(x"));
        QCOMPARE(E().Row(), 2);
        QCOMPARE(E().Col(), 11);
        Wrap(true, 30);  // an option change while wrap is on
        QCOMPARE(E().Row(), 1);
        QCOMPARE(E().RowString(1), Sjis("あいうえおかきくけこ\tさ(x"));
        QCOMPARE(E().Col(), 27);
        Wrap(false);
        QCOMPARE(E().Row(), 1);
        QCOMPARE(E().Col(), 27);
    }

    // Cutting the rows anew changes no text: the document stays unmodified
    // (no Change either), and the next real edit marks it again.
    void rewrapLeavesTheTextUnmodified() {
        E().Lines().SetText(Sjis("あいうえおかきくけこさしすせそ\r\n(setq a 1)"));
        E().SetModified(false);
        QSignalSpy changes(&E(), &TEditor::Change);
        Wrap(true);
        QCOMPARE(E().Rows().Count(), 3);
        Wrap(true, 24);
        TEditorCaretProp caret = E().Caret();
        caret.TabSpaceCount = 2;
        E().SetCaretOptions(caret);
        E().SetWordWrap(false);
        E().SetWordWrap(true);
        QCOMPARE(E().Rows().Count(), 3);
        QVERIFY(!E().Modified());
        QCOMPARE(changes.count(), 0);
        QTest::keyClick(&E(), Qt::Key_Delete);
        QVERIFY(E().Modified());
        QCOMPARE(changes.count(), 1);
    }
};

QTEST_MAIN(TestEditorWrap)
#include "tst_EditorWrap.moc"
