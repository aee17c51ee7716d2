// The search on an editor: where it starts, the hit in each hit style (on
// the screen too), replacing the hit and replace-all, a long search seen
// through (progress, Esc, input held off), and the find marks of a regular
// expression.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "base/qt/QtColor.h"
#include "search/qt/EditorSearch.h"
#include "search/qt/SearchMessages.h"
#include "search/qt/SearchProgress.h"
#include "support/qt/EditorInput.h"

using namespace quodle;
using namespace quodle::testing;

namespace {
constexpr TColor kHitBack = 0x0000CCFF;
constexpr TColor kMark = 0x00008000;
}  // namespace

class TestEditorSearch : public QObject {
    Q_OBJECT

    std::unique_ptr<TEditorEx> editor_;
    TEditorEx& E() { return *editor_; }

    bool Find(const char* utf8, TSearchOptions options) { return bool(EditorSearch(E(), Utf8ToCp932(utf8), options)); }
    QString Selection() { return FromSjis(E().SelText()); }
    QImage Shot() {
        QApplication::processEvents();
        return E().viewport()->grab().toImage();
    }
    QRect Cells(int row, int first, int last) {
        return QRect(E().TextLeft() + (first - E().TopCol()) * E().CellWidth(),
                     E().TextTop() + (row - E().TopRow()) * E().RowHeight(), (last - first) * E().CellWidth(),
                     E().RowHeight());
    }

private slots:
    void init() {
        editor_ = ShownEditor(600, 300);
        E().setFocus();
    }
    void cleanup() { editor_.reset(); }

    void select_stepsThroughTheMatchesBothWays() {
        LoadText(E(), QStringLiteral("abc x abc\r\n\tabc"), 0, 0);
        QVERIFY(Find("ABC", sfDown));
        QCOMPARE(Selection(), QStringLiteral("abc"));
        QCOMPARE(E().Col(), 3);  // the caret at the end of the hit
        QVERIFY(Find("abc", sfDown));
        QCOMPARE(E().SelectionRange().Start, (TRowOffset{0, 6}));
        QVERIFY(Find("abc", sfDown));
        QCOMPARE(E().SelectionRange().Start, (TRowOffset{1, 1}));
        // No wrap-around: nothing changes.
        QVERIFY(!Find("abc", sfDown));
        QCOMPARE(E().SelectionRange().Start, (TRowOffset{1, 1}));
        QVERIFY(Find("abc", 0));
        QCOMPARE(E().SelectionRange().Start, (TRowOffset{0, 6}));
        // From the caret: its column counts the tab's cells.
        E().Deselect();
        E().SetRow(1);
        E().SetCol(4);
        QVERIFY(Find("abc", 0) && E().SelectionRange().Start == (TRowOffset{0, 6}));
        // A box selection gives way to the hit.
        E().SetSelectionMode(selBox);
        QVERIFY(Find("x", 0));
        QCOMPARE(E().SelectionMode(), selStream);
        QCOMPARE(Selection(), QStringLiteral("x"));
    }

    void draw_showsTheHitWithoutSelectingIt() {
        E().View().Colors().Hit().SetBkColor(kHitBack);
        E().SetHitStyle(hsDraw);
        LoadText(E(), QStringLiteral("xx abc abc"), 0, 0);
        QVERIFY(Find("abc", sfDown));
        QVERIFY(!E().Selected());
        QCOMPARE(E().Col(), 3);
        QCOMPARE(E().HitLength(), std::int64_t{3});
        QImage shot = Shot();
        QVERIFY(CountPixels(shot, Cells(0, 3, 6), ToQColor(kHitBack)) > 0);
        QCOMPARE(CountPixels(shot, Cells(0, 7, 10), ToQColor(kHitBack)), 0);
        // Searching on starts after the hit.
        QVERIFY(Find("abc", sfDown));
        QCOMPARE(E().Col(), 7);
        // Moving the caret ends the hit.
        Key(&E(), Qt::Key_Home);
        QCOMPARE(E().HitLength(), std::int64_t{0});
        QCOMPARE(CountPixels(Shot(), Cells(0, 7, 10), ToQColor(kHitBack)), 0);
        // So does an edit.
        QVERIFY(Find("abc", sfDown));
        E().InsertText("q");
        QCOMPARE(E().HitLength(), std::int64_t{0});
    }

    void caret_asWideAsTheHit() {
        E().SetHitStyle(hsCaret);
        LoadText(E(), QStringLiteral("xx abcdef"), 0, 0);
        const QImage before = Shot();
        QVERIFY(Find("abcd", sfDown));
        QVERIFY(!E().Selected());
        const QImage after = Shot();
        // The hit's cells are drawn over (inverted), the cells after it not.
        const QRect hit = Cells(0, 3, 7);
        int changed = 0;
        for (int y = hit.top(); y <= hit.bottom(); ++y)
            for (int x = hit.left(); x <= hit.right(); ++x) changed += before.pixel(x, y) != after.pixel(x, y);
        QVERIFY2(changed > hit.width() * hit.height() / 2, qPrintable(QString::number(changed)));
        QCOMPARE(after.copy(Cells(0, 8, 9)), before.copy(Cells(0, 8, 9)));
    }

    void replace_hitAndAllAsOneUndoStep() {
        LoadText(E(), QStringLiteral("a-a-a\r\na"), 0, 0);
        QVERIFY(Find("a", sfDown));
        ReplaceHit(E(), "bb", false);
        QCOMPARE(TextOf(E()), QStringLiteral("bb-a-a\r\na"));
        QCOMPARE(E().Col(), 2);
        QCOMPARE(ReplaceAllMatches(E(), "a", "cc", sfDown, false, kReplaceMaxBytes).Count, 3);
        QCOMPARE(TextOf(E()), QStringLiteral("bb-cc-cc\r\ncc"));
        E().Undo();
        QCOMPARE(TextOf(E()), QStringLiteral("bb-a-a\r\na"));
        E().Redo();
        QCOMPARE(TextOf(E()), QStringLiteral("bb-cc-cc\r\ncc"));
        // Backward: the caret goes before the inserted text, and the next
        // search does not find inside it.
        LoadText(E(), QStringLiteral("a a"), 0, 3);
        QVERIFY(Find("a", 0));
        ReplaceHit(E(), "aa", true);
        QCOMPARE(E().Col(), 2);
        QVERIFY(Find("a", 0));
        QCOMPARE(E().SelectionRange().Start, (TRowOffset{0, 0}));
        // Replace-all from the hit takes the hit too.
        LoadText(E(), QStringLiteral("a a a"), 0, 0);
        QVERIFY(Find("a", sfDown) && Find("a", sfDown));
        QCOMPARE(ReplaceAllMatches(E(), "a", "b", sfDown, true, kReplaceMaxBytes).Count, 2);
        QCOMPARE(TextOf(E()), QStringLiteral("a b b"));
        // A text that would grow past the limit is left alone.
        E().PlaceCaret(0, 0);
        const TReplaceAll refused = ReplaceAllMatches(E(), "b", "bbbb", sfDown, false, 10);
        QVERIFY(refused.End == TReplaceEnd::TooLarge && refused.Count == 2 && refused.Bytes == 11);
        QCOMPARE(TextOf(E()), QStringLiteral("a b b"));
    }

    // A hit past the last shown cell of a row cannot be selected as it is
    // (the caret stops at the last cell): replacing what got selected would
    // replace the hidden text before the hit. The search reports where it
    // stands instead, touching nothing, and word wrap can show it.
    void search_reportsHitsPastTheShownCells() {
        // Row 0: a shown hit, hidden ones after it (one overlapping the last
        // shown cells); row 1: a shown hit.
        const QString text = QStringLiteral("XYZ") + QString(994, QLatin1Char('a')) + QStringLiteral("XYZXYZ") +
                             QString(2000, QLatin1Char('a')) + QStringLiteral("XYZQ\r\nbXYZ");
        LoadText(E(), text, 0, 1);
        QVERIFY(Find("XYZ", sfDown));
        QCOMPARE(E().SelectionRange().Start, (TRowOffset{0, 997}));  // starts on cell 997, reaches past 999
        TEditorSearchResult past = EditorSearch(E(), "XYZ", sfDown);
        QCOMPARE(past.Kind, TEditorSearchResult::srPastShownCells);
        QCOMPARE(past.Match, (TRowsMatch{{0, 1000}, 3}));
        QCOMPARE(E().SelectionRange().Start, (TRowOffset{0, 997}));  // nothing moved
        // Backward from row 1, the last hidden hit of row 0 comes first.
        E().Deselect();
        E().SetRow(1);
        E().SetCol(0);
        past = EditorSearch(E(), "XYZ", 0);
        QCOMPARE(past.Kind, TEditorSearchResult::srPastShownCells);
        QCOMPARE(past.Match.Start, (TRowOffset{0, 3003}));
        QVERIFY(!E().Selected());
        // Shown by wrapping: the same bytes become the hit, on their new row.
        ShowByWrapping(E(), past.Match);
        QVERIFY(E().WordWrap());
        QCOMPARE(Selection(), QStringLiteral("XYZ"));
        QCOMPARE(E().SelectionRange().Start.Row, 3003 / 80);
        QCOMPARE(TextOf(E()), text);
        // A miss is still a miss, and nothing hidden is replaced through it.
        E().SetWordWrap(false);
        E().Deselect();
        LoadText(E(), text, 0, 0);
        QCOMPARE(EditorSearch(E(), "nowhere", sfDown).Kind, TEditorSearchResult::srNone);
        QCOMPARE(EditorSearch(E(), "aXYZQ", sfDown).Kind, TEditorSearchResult::srPastShownCells);
        QVERIFY(!E().Selected());
        ReplaceHit(E(), "!", false);
        QCOMPARE(TextOf(E()), text);
        // Replace-all takes the hidden ones too and counts them; refused, it
        // counts none.
        std::int64_t hidden = -1;
        QVERIFY(ReplaceAllMatches(E(), "XYZ", "kkkk", sfDown, false, text.size(), nullptr, &hidden).End ==
                TReplaceEnd::TooLarge);
        QCOMPARE(hidden, 0);
        QCOMPARE(ReplaceAllMatches(E(), "XYZ", "k", sfDown, false, kReplaceMaxBytes, nullptr, &hidden).Count, 5);
        QCOMPARE(hidden, 2);
        QCOMPARE(TextOf(E()), QString(text).replace(QStringLiteral("XYZ"), QStringLiteral("k")));
    }

    void search_farAndAcrossRows() {
        std::string text;
        for (int i = 0; i < 5000; ++i) text += "(setq x " + std::to_string(i) + ")\r\n";
        text += "ab\r\n  cd\r\n";
        E().Lines().SetText(text);
        E().SetRow(0);
        QVERIFY(EditorSearch(E(), "(setq x 4999)", sfDown | sfMatchCase));
        QCOMPARE(E().Row(), 4999);
        QVERIFY(E().TopRow() > 4900);  // scrolled into view
        QVERIFY(EditorSearch(E(), "abcd", sfDown | sfIncludeCRLF | sfIncludeSpace));
        QCOMPARE(E().SelectionRange().Start, (TRowOffset{5000, 0}));
        QCOMPARE(E().SelectionRange().End, (TRowOffset{5001, 4}));
        E().SetRow(E().Rows().Count());
        QVERIFY(EditorSearch(E(), "setq x 12", 0));
        QCOMPARE(E().Row(), 1299);
    }

    void findMarks_regularExpressionOnTheScreen() {
        TEditorExMarks marks = E().ExMarks();
        marks.FindMark = {kMark, true};
        E().SetExMarks(marks);
        E().SetFindMarkSearch(FindMarkSearch());
        LoadText(E(), QStringLiteral("(defun a) (DEFUN b) (defn c)"), 0, 0);
        E().SetExSearchOptions(soRegexp);
        E().SetFindString("de?fu?n");
        const QImage shot = Shot();
        auto underlined = [&](int col) {
            const QRect cell = Cells(0, col, col + 1);
            return CountPixels(shot, QRect(cell.left(), cell.bottom(), cell.width(), 1), ToQColor(kMark)) == cell.width();
        };
        for (int col : {1, 5, 11, 15, 21, 24}) QVERIFY2(underlined(col), qPrintable(QString::number(col)));
        for (int col : {0, 6, 10, 20, 25}) QVERIFY2(!underlined(col), qPrintable(QString::number(col)));
        // Case matters now; a pattern that does not compile marks nothing.
        E().SetExSearchOptions(soRegexp | soMatchCase);
        QVERIFY(CountPixels(Shot(), QRect(Cells(0, 11, 16).left(), Cells(0, 11, 16).bottom(), 5 * E().CellWidth(), 1),
                      ToQColor(kMark)) == 0);
        E().SetFindString("(de");
        QCOMPARE(CountPixels(Shot(), Cells(0, 0, 28), ToQColor(kMark)), 0);
    }

    // A long search (here: from its first step) opens a progress window,
    // modal, so that typing in the editor meanwhile changes nothing; Esc or
    // "中止" in it stops the search, and a replace-all stopped so changes
    // nothing.
    void progress_escStopsTheSearchAndHoldsInputOff() {
        QString text = QStringLiteral("abc\r\n");
        for (int i = 0; i < 4000; ++i) text += QStringLiteral("xyz xyz\r\n");
        const QString document = text + QStringLiteral("abc");
        enum TStop { Run, Esc, Button };
        struct TCase {
            const char* name;
            TSearchOptions options;
            TStop stop;
        } cases[] = {
            {"packed rows", sfDown, Run},        {"packed rows, Esc", sfDown, Esc},
            {"chunks", sfDown | sfIncludeSpace, Run}, {"chunks, stop button", sfDown | sfIncludeSpace, Button},
            {"backward, Esc", sfIncludeCRLF, Esc},
        };
        for (const TCase& c : cases) {
            // Between the two abc, far from both.
            LoadText(E(), document, HasOption(c.options, sfDown) ? 1 : 4001, 0);
            E().Deselect();
            QString shownText;
            QTimer::singleShot(0, [&] {
                auto* window = qobject_cast<TProgressWindow*>(QApplication::activeModalWidget());
                if (!window) return;
                shownText = window->Label1->text();
                // As the window system hands it on: the modal window's.
                QTest::keyClick(E().window()->windowHandle(), Qt::Key_Q);
                if (c.stop == Esc) QTest::keyClick(window, Qt::Key_Escape);
                if (c.stop == Button) window->Button1->click();
            });
            bool found = false;
            bool stopped = false;
            {
                TSearchProgress progress(&E(), SearchCaption(), SearchingText(), 0);
                found = bool(EditorSearch(E(), "abc", c.options, progress.Watch()));
                stopped = progress.Stopped();
                QVERIFY2(progress.Window() && progress.Window()->isVisible(), c.name);
            }
            QCOMPARE(shownText, SearchingText());
            QVERIFY2(found == (c.stop == Run) && stopped == (c.stop != Run), c.name);
            QCOMPARE(E().Lines().Text(), document.toStdString());
            if (c.stop != Run) QVERIFY2(!E().Selected(), c.name);
            QApplication::processEvents();
        }
        // Replace-all stopped: the text and the undo list as they were.
        LoadText(E(), document, 0, 0);
        QTimer::singleShot(0, [] {
            if (QWidget* window = QApplication::activeModalWidget()) QTest::keyClick(window, Qt::Key_Escape);
        });
        {
            TSearchProgress progress(&E(), ReplaceCaption(), ReplacingText(), 0);
            ReplaceAllMatches(E(), "xyz", "w", sfDown | sfIncludeSpace, false, kReplaceMaxBytes, progress.Watch());
            QVERIFY(progress.Stopped());
        }
        QCOMPARE(E().Lines().Text(), document.toStdString());
        QVERIFY(!E().Rows().CanUndo());
    }
};

QTEST_MAIN(TestEditorSearch)
#include "tst_EditorSearch.moc"
