// The marks, the layout and word wrap of TEditorEx: the geometry the settings
// give, the pixels the image bar, the tints, the marks and the guide lines
// leave on the screen, and the property set's word wrap.
#include <QApplication>
#include <QtTest>

#include "base/ShiftJis.h"
#include "base/qt/QtColor.h"
#include "editor/RowMarks.h"
#include "editor/qt/EditorEx.h"
#include "editor/qt/EditorPopupMenu.h"
#include "props/qt/EditorExPropAssign.h"
#include "support/FakeEditor.h"
#include "support/qt/EditorInput.h"

using namespace quodle;
using namespace quodle::testing;

namespace {

constexpr TColor kTint = 0x0099CCFF;
constexpr TColor kMark = 0x00008000;

std::string Sjis(const char* utf8) { return Utf8ToCp932(utf8); }

}  // namespace

class TestEditorMarks : public QObject {
    Q_OBJECT

    std::unique_ptr<TEditorEx> editor_;

    TEditorEx& E() { return *editor_; }
    QImage Shot() {
        QApplication::processEvents();
        return E().viewport()->grab().toImage();
    }
    int RowTop(int row) const { return editor_->TextTop() + (row - editor_->TopRow()) * editor_->RowHeight(); }
    int CellLeft(int col) const { return editor_->TextLeft() + (col - editor_->TopCol()) * editor_->CellWidth(); }
    // Glyphs are smoothed: pixels close to red.
    static int Reddish(const QImage& image, const QRect& rect) {
        int n = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 80 && c.blue() < 80) ++n;
            }
        return n;
    }
    QRect RowBand(int row, int left, int right) const {
        return QRect(left, RowTop(row), right - left, editor_->RowHeight());
    }

private slots:
    void init() {
        editor_ = ShownEditor(500, 300);
    }
    void cleanup() { editor_.reset(); }

    void geometry_followsTheSettings() {
        TEditorExProp prop = TEditorExProp::TemplateDesign();
        const int cell = E().CellWidth(), height = E().RowHeight();
        // Margin, image bar, then the left bar of four digits.
        QCOMPARE(E().TextLeft(), 19 + 12 + 8 + 4 * cell + 4 + 2);
        QCOMPARE(E().TextTop(), 2);
        prop.Imagebar.Visible = false;
        prop.Ruler.Visible = true;
        prop.Marks.Underline.Visible = true;
        prop.Margin.Character = 3;
        prop.Leftbar.Column = 12;
        prop.Ruler.GaugeRange = 9;
        AssignTo(prop, E());
        QCOMPARE(E().CellWidth(), cell + 3);
        QCOMPARE(E().RowHeight(), height + 1);
        QCOMPARE(E().Leftbar().Column, 8);
        QCOMPARE(E().Ruler().GaugeRange, 8);
        QCOMPARE(E().TextLeft(), 19 + 8 + 8 * (cell + 3) + 4 + 2);
        QCOMPARE(E().TextTop(), 2 + 11);
        // A longer text widens the bar once its numbers need more digits.
        prop.Leftbar.Column = 1;
        AssignTo(prop, E());
        std::string text;
        for (int i = 0; i < 120; ++i) text += "x\r\n";
        E().Lines().SetText(text);
        QCOMPARE(E().Geometry().LeftbarDigits, 3);
    }

    void wordWrap_fromThePropertySetRewrapsOnce() {
        const std::string line = Sjis("あいうえおかきくけこ。さしすせそたち「つてと」なにぬねのは");
        E().Lines().SetText(line + "\r\n(setq a 1)\r\n");
        E().SetRow(1);
        QTest::keyClick(&E(), Qt::Key_X);
        QVERIFY(E().Rows().CanUndo());
        test::TFakeEditor watcher;
        E().Rows().Attach(&watcher);
        struct TDetach {
            TEditorScreenStrings& rows;
            test::TFakeEditor& editor;
            ~TDetach() { rows.Detach(&editor); }
        } detach{E().Rows(), watcher};
        TEditorExProp prop = PropOf(E());
        prop.WordWrap = true;
        prop.WrapOption.WrapByte = 20;
        prop.WrapOption.Leading = true;
        AssignTo(prop, E());
        QCOMPARE(std::count(watcher.log.begin(), watcher.log.end(), std::string("repaint")), 1);
        QVERIFY(!E().Rows().CanUndo());
        QVERIFY(E().WordWrap());
        // 20 cells, ten characters a row; "。" may not start a row and "「"
        // may not end one, so those rows give way by one character.
        QCOMPARE(E().RowString(0), Sjis("あいうえおかきくけ"));
        QCOMPARE(E().RowString(1), Sjis("こ。さしすせそたち"));
        QCOMPARE(E().RowString(2), Sjis("「つてと」なにぬねの"));
        QCOMPARE(E().RowString(3), Sjis("は"));
        QCOMPARE(E().RowString(4), std::string("x(setq a 1)"));
        QCOMPARE(E().Lines().Count(), 2);
        QCOMPARE(PropOf(E()).WordWrap, true);
        QCOMPARE(PropOf(E()).WrapOption.WrapByte, 20);

        // Lines/Char of a wrapped row: the line and the bytes before it.
        E().SetRow(1);
        E().SetCol(4);
        QCOMPARE(E().LineIndexOfRow(1), 0);
        QCOMPARE(E().OffsetInLine(1, 4), 18 + 4);
        QCOMPARE(E().LineIndexOfRow(3), 0);
        QCOMPARE(E().LineIndexOfRow(4), 1);

        // A changed option while wrap is on rewraps once more.
        watcher.ClearLog();
        prop.WrapOption.WrapByte = 30;
        E().SetWrapOption(prop.WrapOption);
        QCOMPARE(std::count(watcher.log.begin(), watcher.log.end(), std::string("repaint")), 1);
        QCOMPARE(E().RowString(0), Sjis("あいうえおかきくけこ。さしすせ"));
        // Off: every line is one row again, the text unchanged.
        prop.WordWrap = false;
        AssignTo(prop, E());
        QCOMPARE(E().Rows().Count(), 2);
        QCOMPARE(E().Lines().Get(0), line);
    }

    void imagebarAndTints_showTheRowMarks() {
        E().Lines().SetText("(a)\r\n(b)\r\n(c)\r\n(d)\r\n");
        E().SetRowMark(1, 0);
        E().SetRowMark(3, 12);
        TEditorExProp prop = PropOf(E());
        prop.ExMarks.DigitLine = {kTint, true};
        prop.ExMarks.Img2Line = {0x00CCFFCC, true};
        AssignTo(prop, E());
        E().SetRow(0);
        const QImage shot = Shot();
        const QColor background = ToQColor(PropOf(E()).Color, Qt::white);
        const int right = E().viewport()->width() - 20;
        auto inked = [&](int row, int left, int width) {
            const QRect band = RowBand(row, left, left + width);
            return band.width() * band.height() - CountPixels(shot, band, background);
        };
        // Mark 0 on row 1 in the digit column, mark 12 on row 3 right of it.
        QVERIFY(inked(1, 2, 8) > 20);
        QCOMPARE(inked(0, 2, 8), 0);
        QCOMPARE(inked(2, 2, 8), 0);
        QVERIFY(inked(3, 10, 2) > 0);
        const QRect blank1 = RowBand(1, CellLeft(10), right);
        QCOMPARE(CountPixels(shot, blank1, ToQColor(kTint)), blank1.width() * blank1.height());
        const QRect blank3 = RowBand(3, CellLeft(10), right);
        QCOMPARE(CountPixels(shot, blank3, ToQColor(0x00CCFFCC)), blank3.width() * blank3.height());
        QCOMPARE(CountPixels(shot, RowBand(2, CellLeft(10), right), ToQColor(kTint)), 0);

        // Clearing repaints the row: the picture and the tint go.
        E().ClearRowMark(1, 0);
        const QImage after = Shot();
        QCOMPARE(CountPixels(after, RowBand(1, CellLeft(10), right), ToQColor(kTint)), 0);
        QCOMPARE(CountPixels(after, RowBand(1, 2, 10), background), 8 * E().RowHeight());
    }

    // A row with selected cells keeps the plain background around them; the
    // tint is only for rows without any.
    void tints_leaveRowsDrawnAsSelected_data() {
        QTest::addColumn<bool>("box");
        QTest::addColumn<QPoint>("anchor");  // (col, row)
        QTest::addColumn<QPoint>("caret");
        QTest::addColumn<QList<int>>("tinted");
        QTest::newRow("stream over three rows") << false << QPoint(1, 0) << QPoint(1, 2) << QList<int>{3};
        QTest::newRow("stream of a break only") << false << QPoint(3, 0) << QPoint(0, 1) << QList<int>{1, 2, 3};
        QTest::newRow("stream to a row's start") << false << QPoint(0, 1) << QPoint(0, 3) << QList<int>{0, 3};
        QTest::newRow("box past the text") << true << QPoint(5, 1) << QPoint(7, 2) << QList<int>{0, 3};
        QTest::newRow("box inside the text") << true << QPoint(0, 0) << QPoint(2, 1) << QList<int>{2, 3};
    }
    void tints_leaveRowsDrawnAsSelected() {
        QFETCH(bool, box);
        QFETCH(QPoint, anchor);
        QFETCH(QPoint, caret);
        QFETCH(QList<int>, tinted);
        E().Lines().SetText("abc\r\ndef\r\nghi\r\njkl\r\n");
        for (int row = 0; row < 4; ++row) E().SetRowMark(row, row);
        TEditorExProp prop = PropOf(E());
        prop.ExMarks.DigitLine = {kTint, true};
        AssignTo(prop, E());
        E().SetSelectionMode(box ? selBox : selStream);
        E().Select({anchor.y(), anchor.x()}, {caret.y(), caret.x()});
        QVERIFY(E().Selected());
        const QImage shot = Shot();
        const int right = E().viewport()->width() - 20;
        QList<int> got;
        for (int row = 0; row < 4; ++row) {
            const int tint = CountPixels(shot, RowBand(row, CellLeft(0), right), ToQColor(kTint));
            if (tint > 0) got << row;
            // A tinted row is tinted past its text all the way.
            if (tint > 0) QCOMPARE(CountPixels(shot, RowBand(row, CellLeft(8), right), ToQColor(kTint)),
                                   (right - CellLeft(8)) * E().RowHeight());
        }
        QCOMPARE(got, tinted);
    }

    void evenLines_byTheNumberShown_data() {
        QTest::addColumn<bool>("zeroBase");
        QTest::addColumn<QList<int>>("tinted");
        QTest::newRow("from 1") << false << QList<int>{1, 3};
        QTest::newRow("from 0") << true << QList<int>{0, 2, 4};
    }
    void evenLines_byTheNumberShown() {
        QFETCH(bool, zeroBase);
        QFETCH(QList<int>, tinted);
        E().Lines().SetText("a\r\nb\r\nc\r\nd\r\n");
        TEditorExProp prop = PropOf(E());
        prop.ExMarks.EvenLine = {kTint, true};
        prop.Leftbar.ZeroBase = zeroBase;
        AssignTo(prop, E());
        const QImage shot = Shot();
        QList<int> got;
        for (int row = 0; row < 6; ++row)
            if (CountPixels(shot, RowBand(row, CellLeft(5), CellLeft(6)), ToQColor(kTint)) > 0) got << row;
        QCOMPARE(got, tinted);  // rows past the end stay plain
    }

    void marksAndGuideLines_areDrawnInTheirColours() {
        E().Lines().SetText("(setq a 1)\r\nb\r\n");
        TEditorExProp prop = PropOf(E());
        prop.Marks.RetMark = {kMark, true};
        prop.Marks.EofMark = {kMark, true};
        prop.ExMarks.ParenMark = {kTint, true};
        TVerticalLine line;
        line.SetPosition(15);
        line.Color = clRed;
        prop.VerticalLines = {line};
        AssignTo(prop, E());
        E().SetRow(0);
        E().SetCol(0);
        const QImage shot = Shot();
        // The return symbol after "(setq a 1)" and "b"; "[EOF]" on the row after.
        QVERIFY(CountPixels(shot, RowBand(0, CellLeft(10), CellLeft(11)), ToQColor(kMark)) > 3);
        QVERIFY(CountPixels(shot, RowBand(1, CellLeft(1), CellLeft(2)), ToQColor(kMark)) > 3);
        const QRect eof = RowBand(2, CellLeft(0), CellLeft(5));
        QVERIFY(eof.width() * eof.height() - CountPixels(shot, eof, ToQColor(PropOf(E()).Color, Qt::white)) > 10);
        const QRect after = RowBand(3, CellLeft(0), CellLeft(5));
        QCOMPARE(CountPixels(shot, after, ToQColor(PropOf(E()).Color, Qt::white)), after.width() * after.height());
        QCOMPARE(CountPixels(shot, RowBand(0, CellLeft(0), CellLeft(10)), ToQColor(kMark)), 0);
        // The bracket pair at the caret on its background (around the caret
        // bar and the glyph), in red.
        for (int col : {0, 9}) {
            const QRect cell = RowBand(0, CellLeft(col), CellLeft(col + 1));
            QVERIFY2(CountPixels(shot, cell, ToQColor(kTint)) > cell.width() * cell.height() / 4, qPrintable(QString::number(col)));
            QVERIFY(Reddish(shot, cell) > 3);
        }
        QCOMPARE(CountPixels(shot, RowBand(0, CellLeft(3), CellLeft(4)), ToQColor(kTint)), 0);
        // The guide line from the top of the text to the bottom.
        const QRect guide(CellLeft(15), E().TextTop(), 1, E().viewport()->height() - E().TextTop());
        QCOMPARE(CountPixels(shot, guide, Qt::red), guide.height());
        // Off the bracket, no pair.
        E().SetCol(3);
        QCOMPARE(CountPixels(Shot(), RowBand(0, CellLeft(9), CellLeft(10)), ToQColor(kTint)), 0);
    }

    // A row wider than the display limit is cut there: the hide mark stands
    // after the last cell shown, and the row's end with its return or
    // end-of-text symbol is hidden with the rest.
    void endMarks_ofRowsCutAtTheDisplayLimit() {
        constexpr TColor kHide = 0x00FF0000;
        E().Lines().SetText(std::string(1000, 'a') + "\r\n" + std::string(1001, 'b') + "\r\n" + std::string(1200, 'c'));
        TEditorExProp prop = PropOf(E());
        prop.Marks.RetMark = {kMark, true};
        prop.Marks.EofMark = {kMark, true};
        prop.Marks.HideMark = {kHide, true};
        AssignTo(prop, E());
        // Scrolled to the end: cell 1000 is the last in view.
        E().SetTopCol(1000);
        auto pixels = [&](const QImage& shot, int row, int from, int to, TColor color) {
            return CountPixels(shot, RowBand(row, CellLeft(from), CellLeft(to)), ToQColor(color));
        };
        QImage shot = Shot();
        QCOMPARE(E().TopCol() + E().VisibleColCount(), 1001);
        // Exactly 1000 cells: nothing hidden, the return symbol after the text.
        QVERIFY(pixels(shot, 0, 1000, 1001, kMark) > 3);
        QCOMPARE(pixels(shot, 0, 995, 1001, kHide), 0);
        // Cut rows, with and without a line break.
        for (int row : {1, 2}) {
            QVERIFY2(pixels(shot, row, 1000, 1001, kHide) > 3, qPrintable(QString::number(row)));
            QCOMPARE(pixels(shot, row, 995, 1001, kMark), 0);
        }
        QCOMPARE(pixels(shot, 3, 995, 1001, kMark), 0);
        // Without the hide mark a cut row shows no end either.
        prop.Marks.HideMark.Visible = false;
        AssignTo(prop, E());
        E().SetTopCol(1000);
        shot = Shot();
        QVERIFY(pixels(shot, 0, 1000, 1001, kMark) > 3);
        for (int row : {1, 2}) QCOMPARE(pixels(shot, row, 995, 1001, kMark) + pixels(shot, row, 995, 1001, kHide), 0);
    }

    void propertySet_carriesEveryMarkAndLayoutSetting() {
        TEditorExProp p = TEditorExProp::TemplateDesign();
        p.Imagebar.DigitWidth = 9;
        p.Ruler.Visible = true;
        p.Ruler.MarkColor = clRed;
        p.Leftbar.ZeroLead = true;
        p.Leftbar.ShowNumberMode = nmLine;
        p.Margin.Top = 5;
        p.Marks.RetMark = {kMark, true};
        p.ExMarks.TabMark = {kMark, true};
        p.ExMarks.Hit.BkColor = kTint;
        p.FindMarkText = "abc";
        p.HitStyle = hsCaret;
        p.ExSearchOptions = soRegexp | soWholeWord;
        p.FindLineFeedCount = 9;
        TVerticalLine line;
        line.SetPosition(72);
        p.VerticalLines = {line, line};
        p.WordWrap = true;
        p.WrapOption.WrapByte = 33;
        p.WrapOption.FollowRetMark = true;
        AssignTo(p, E());
        QCOMPARE(E().HitStyle(), hsCaret);
        // The line-feed count stays with the set; an editor gives the default.
        QCOMPARE(PropOf(E()).FindLineFeedCount, 5);
        p.FindLineFeedCount = 5;
        QVERIFY(PropOf(E()) == p);
        QCOMPARE(E().Rows().WrapOption().WrapByte(), 33);
    }

    void findMarks_underlineEveryOccurrenceInTheLine() {
        TEditorExProp prop = PropOf(E());
        prop.ExMarks.FindMark = {kMark, true};
        prop.ExMarks.Hit = {clNone, kTint, {}};
        prop.WordWrap = true;
        prop.WrapOption.WrapByte = 20;
        AssignTo(prop, E());
        E().Lines().SetText("abc abc\r\n" + std::string(18, 'x') + "abcd\r\n");
        QCOMPARE(E().RowString(1), std::string(18, 'x') + "ab");
        E().SetFindMarkSearch([](std::string_view line, std::string_view find, TExSearchOptions,
                                 std::vector<std::pair<int, int>>& hits) {
            for (std::size_t at = line.find(find); at != std::string_view::npos; at = line.find(find, at + 1))
                hits.emplace_back(static_cast<int>(at), static_cast<int>(at + find.size()));
        });
        E().SetFindString("abc");
        E().SetRow(3);  // the caret bar out of the way
        const QImage shot = Shot();
        auto underlined = [&](int row, int col) {
            const QRect bottom(CellLeft(col), RowTop(row) + E().RowHeight() - 1, E().CellWidth(), 1);
            return CountPixels(shot, bottom, ToQColor(kMark)) == bottom.width();
        };
        auto onHit = [&](int row, int col) {
            return CountPixels(shot, RowBand(row, CellLeft(col), CellLeft(col + 1)), ToQColor(kTint)) > 0;
        };
        for (int col : {0, 1, 2, 4, 5, 6}) QVERIFY2(underlined(0, col) && onHit(0, col), qPrintable(QString::number(col)));
        QVERIFY(!underlined(0, 3) && !onHit(0, 3));
        // An occurrence cut by the wrap is marked on both rows.
        QVERIFY(underlined(1, 18) && underlined(1, 19) && underlined(2, 0));
        QVERIFY(!underlined(1, 17) && !underlined(2, 1));
        E().SetFindString("zzz");
        QVERIFY(CountPixels(Shot(), RowBand(0, CellLeft(0), CellLeft(8)), ToQColor(kMark)) == 0);
    }

    // A double-byte character scrolled half out of view leaves its visible
    // half a blank cell, also where a mark draws it again, and the cells
    // after it stay on the grid of the rows below.
    void halfCharacterAtTheLeftEdge_showsABlankCell() {
        TEditorExProp prop = PropOf(E());
        prop.ExMarks.FindMark = {kMark, true};
        prop.ExMarks.Hit = {clNone, kTint, {}};
        AssignTo(prop, E());
        E().Lines().SetText(Sjis("x図x") + std::string(200, 'y') + "\r\nxxx\r\n");
        E().SetFindMarkSearch([](std::string_view line, std::string_view find, TExSearchOptions,
                                 std::vector<std::pair<int, int>>& hits) {
            for (std::size_t at = line.find(find); at != std::string_view::npos; at = line.find(find, at + 1))
                hits.emplace_back(static_cast<int>(at), static_cast<int>(at + find.size()));
        });
        E().SetRow(1);
        E().SetTopCol(2);
        QCOMPARE(E().TopCol(), 2);
        // Every pixel of the cell but the mark's bottom line in one colour.
        auto blank = [&](const QImage& shot, int row, int col) {
            const QRect cell(CellLeft(col), RowTop(row), E().CellWidth(), E().RowHeight() - 1);
            return CountPixels(shot, cell, shot.pixelColor(cell.topLeft())) == cell.width() * cell.height();
        };
        for (const char* find : {"", "\x90\x7D"}) {  // none, then a find mark on the character
            E().SetFindString(find);
            const QImage shot = Shot();
            QVERIFY2(blank(shot, 0, 2), find);
            // The "x" after it and the one below it are drawn alike.
            const int w = E().CellWidth(), h = E().RowHeight() - 1;
            QCOMPARE(shot.copy(CellLeft(3), RowTop(0), w, h), shot.copy(CellLeft(2), RowTop(1), w, h));
        }
        QVERIFY(CountPixels(Shot(), RowBand(0, CellLeft(2), CellLeft(3)), ToQColor(kTint)) > 0);
    }

    void contextMenu_marksAreCheckedWhenInUse() {
        E().Lines().SetText(std::string(200, '\n'));
        E().SetRow(150);
        QTest::keyClick(&E(), Qt::Key_3, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(E().RowMarksOf(150), MarkBit(3));
        auto* popup = qobject_cast<TEditorPopupMenu*>(E().PopupMenu());
        QVERIFY(popup);
        popup->UpdateItems();
        QMenu* set = popup->actions()[0]->menu();
        QMenu* jump = popup->actions()[1]->menu();
        QVERIFY(set->actions()[3]->isChecked());
        QVERIFY(jump->actions()[3]->isChecked());
        QVERIFY(!set->actions()[4]->isChecked());
        // Jumping puts a row outside the view in its middle.
        E().SetTopRow(0);
        E().SetRow(0);
        QTest::keyClick(&E(), Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(E().Row(), 150);
        QCOMPARE(E().TopRow(), 150 - E().VisibleRowCount() / 2);
        jump->actions()[3]->trigger();
        QCOMPARE(E().Row(), 150);
        set->actions()[3]->trigger();
        QCOMPARE(E().RowMarksOf(150), 0);
        popup->UpdateItems();
        QVERIFY(!set->actions()[3]->isChecked());
    }
};

QTEST_MAIN(TestEditorMarks)
#include "tst_EditorMarks.moc"
