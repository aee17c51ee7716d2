// TEditorEx driven with key events: caret movement on the cell grid and the
// editing keys, checked against the exact text of the shared row list.
#include <QApplication>
#include <QClipboard>
#include <QPainter>
#include <QScrollBar>
#include <QtTest>

#include "base/ShiftJis.h"
#include "editor/qt/EditorEx.h"
#include "props/qt/EditorExPropAssign.h"
#include "support/qt/EditorInput.h"

using namespace quodle;
using namespace quodle::testing;

namespace {

// Keys of a script: a named key, or text typed as characters.
struct TStep {
    int key = 0;  // 0: type `text`
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    QString text;
};
TStep K(int key, Qt::KeyboardModifiers m = Qt::NoModifier) { return {key, m, {}}; }
TStep T(const QString& text) { return {0, Qt::NoModifier, text}; }

void Run(TEditorEx& editor, const std::vector<TStep>& steps) {
    for (const TStep& s : steps) {
        if (s.key != 0) Key(&editor, s.key, s.modifiers);
        else Type(&editor, s.text);
    }
}

}  // namespace

Q_DECLARE_METATYPE(std::vector<TStep>)

class TestEditor : public QObject {
    Q_OBJECT

    std::unique_ptr<TEditorEx> editor_;

    void Load(const QString& text, int row, int col) { LoadText(*editor_, text, row, col); }

private slots:
    void init() {
        editor_ = ShownEditor(400, 200);
    }
    void cleanup() { editor_.reset(); }

    void keys_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<std::vector<TStep>>("steps");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("caretRow");
        QTest::addColumn<int>("caretCol");

        QTest::newRow("type in the middle") << "abc" << 0 << 1 << std::vector{T("xy")} << "axybc" << 0 << 3;
        QTest::newRow("type double-byte") << "ab" << 0 << 2 << std::vector{T("あ")} << "abあ" << 0 << 4;
        QTest::newRow("type into an empty text") << "" << 0 << 0 << std::vector{T("x")} << "x" << 0 << 1;
        QTest::newRow("type on the row after a final break")
            << "ab\r\n" << 1 << 0 << std::vector{T("x")} << "ab\r\nx" << 1 << 1;
        QTest::newRow("backspace removes a whole double-byte character")
            << "あいう" << 0 << 4 << std::vector{K(Qt::Key_Backspace)} << "あう" << 0 << 2;
        QTest::newRow("backspace at column 0 joins the lines")
            << "ab\r\ncd\r\n" << 1 << 0 << std::vector{K(Qt::Key_Backspace)} << "abcd\r\n" << 0 << 2;
        QTest::newRow("backspace on the row after a final break")
            << "ab\r\n" << 1 << 0 << std::vector{K(Qt::Key_Backspace)} << "ab" << 0 << 2;
        QTest::newRow("backspace removes a whole tab")
            << "\tx" << 0 << 4 << std::vector{K(Qt::Key_Backspace)} << "x" << 0 << 0;
        QTest::newRow("delete a double-byte character")
            << "あいう" << 0 << 2 << std::vector{K(Qt::Key_Delete)} << "あう" << 0 << 2;
        QTest::newRow("delete at the end joins the next line")
            << "ab\r\ncd" << 0 << 2 << std::vector{K(Qt::Key_Delete)} << "abcd" << 0 << 2;
        QTest::newRow("delete at the end of a last line without break")
            << "ab\r\ncd" << 1 << 2 << std::vector{K(Qt::Key_Delete)} << "ab\r\ncd" << 1 << 2;
        QTest::newRow("delete the final break") << "ab\r\n" << 0 << 2 << std::vector{K(Qt::Key_Delete)} << "ab" << 0 << 2;
        QTest::newRow("enter keeps the indent as tabs (TabIndent)")
            << "    abc" << 0 << 6 << std::vector{K(Qt::Key_Return)} << "    ab\r\n\tc" << 1 << 4;
        QTest::newRow("enter left of the indent indents to the caret")
            << "      x" << 0 << 2 << std::vector{K(Qt::Key_Return)} << "  \r\n      x" << 1 << 2;
        QTest::newRow("enter on the row after the last")
            << "a\r\n" << 1 << 0 << std::vector{K(Qt::Key_Return)} << "a\r\n\r\n" << 2 << 0;
        QTest::newRow("enter in an empty text") << "" << 0 << 0 << std::vector{K(Qt::Key_Return)} << "\r\n" << 1 << 0;
        QTest::newRow("tab inserts a tab character") << "ab" << 0 << 1 << std::vector{K(Qt::Key_Tab)} << "a\tb" << 0 << 4;
        QTest::newRow("right steps over a double-byte character")
            << "あい" << 0 << 0 << std::vector{K(Qt::Key_Right)} << "あい" << 0 << 2;
        QTest::newRow("left steps out of a tab") << "\tx" << 0 << 4 << std::vector{K(Qt::Key_Left)} << "\tx" << 0 << 0;
        QTest::newRow("right stops at the end of the row")
            << "ab\r\ncd" << 0 << 2 << std::vector{K(Qt::Key_Right)} << "ab\r\ncd" << 0 << 2;
        QTest::newRow("down keeps the column over a shorter row")
            << "abcdef\r\nab\r\nabcdef" << 0 << 5 << std::vector{K(Qt::Key_Down)} << "abcdef\r\nab\r\nabcdef" << 1 << 2;
        QTest::newRow("down restores the remembered column")
            << "abcdef\r\nab\r\nabcdef" << 0 << 5 << std::vector{K(Qt::Key_Down), K(Qt::Key_Down)}
            << "abcdef\r\nab\r\nabcdef" << 2 << 5;
        QTest::newRow("down never onto the second half of a character")
            << "abc\r\nあい" << 0 << 1 << std::vector{K(Qt::Key_Down)} << "abc\r\nあい" << 1 << 2;
        QTest::newRow("down stops at a last row without break")
            << "a\r\nb" << 1 << 0 << std::vector{K(Qt::Key_Down)} << "a\r\nb" << 1 << 0;
        QTest::newRow("home and end") << "  abc" << 0 << 3 << std::vector{K(Qt::Key_End)} << "  abc" << 0 << 5;
        QTest::newRow("ctrl+end goes past a final break")
            << "a\r\nb\r\n" << 0 << 0 << std::vector{K(Qt::Key_End, Qt::ControlModifier)} << "a\r\nb\r\n" << 2 << 0;
        QTest::newRow("ctrl+home") << "a\r\nbc" << 1 << 2 << std::vector{K(Qt::Key_Home, Qt::ControlModifier)}
                                   << "a\r\nbc" << 0 << 0;
        QTest::newRow("shift+enter opens an indented row above")
            << "  ab" << 0 << 3 << std::vector{K(Qt::Key_Return, Qt::ShiftModifier), T("x")} << "  x\r\n  ab" << 0 << 3;
        QTest::newRow("ctrl+right jumps to word starts")
            << "(setq ab 12)" << 0 << 0
            << std::vector{K(Qt::Key_Right, Qt::ControlModifier), K(Qt::Key_Right, Qt::ControlModifier),
                           K(Qt::Key_Right, Qt::ControlModifier)}
            << "(setq ab 12)" << 0 << 9;
        QTest::newRow("ctrl+right past the last token goes to the row end")
            << "(a)\r\nb" << 0 << 1 << std::vector{K(Qt::Key_Right, Qt::ControlModifier)} << "(a)\r\nb" << 0 << 3;
        QTest::newRow("ctrl+right at the row end goes on in the next row")
            << "(a)\r\n  (b" << 0 << 3 << std::vector{K(Qt::Key_Right, Qt::ControlModifier)} << "(a)\r\n  (b" << 1 << 3;
        QTest::newRow("ctrl+left to word starts and over a row start")
            << "ab\r\ncd ef" << 1 << 5
            << std::vector{K(Qt::Key_Left, Qt::ControlModifier), K(Qt::Key_Left, Qt::ControlModifier),
                           K(Qt::Key_Left, Qt::ControlModifier)}
            << "ab\r\ncd ef" << 0 << 2;
        QTest::newRow("typing replaces a selection in one step")
            << "abcd" << 0 << 1 << std::vector{K(Qt::Key_Right, Qt::ShiftModifier), K(Qt::Key_Right, Qt::ShiftModifier), T("X")}
            << "aXd" << 0 << 2;
        QTest::newRow("backspace deletes the selection")
            << "abcd" << 0 << 3 << std::vector{K(Qt::Key_Left, Qt::ShiftModifier), K(Qt::Key_Left, Qt::ShiftModifier),
                                               K(Qt::Key_Backspace)}
            << "ad" << 0 << 1;
        QTest::newRow("enter replaces the selection")
            << "abcd" << 0 << 1 << std::vector{K(Qt::Key_Right, Qt::ShiftModifier), K(Qt::Key_Return)}
            << "a\r\ncd" << 1 << 0;
        QTest::newRow("shift+down selects to the same column")
            << "abc\r\ndef" << 0 << 1 << std::vector{K(Qt::Key_Down, Qt::ShiftModifier), K(Qt::Key_Delete)}
            << "aef" << 0 << 1;
    }
    void keys() {
        QFETCH(QString, text);
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(std::vector<TStep>, steps);
        Load(text, row, col);
        Run(*editor_, steps);
        QTEST(TextOf(*editor_), "expected");
        QTEST(editor_->Row(), "caretRow");
        QTEST(editor_->Col(), "caretCol");
    }

    void keysWithOptions_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<std::vector<TStep>>("steps");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("caretRow");
        QTest::addColumn<int>("caretCol");

        QTest::newRow("NextLine: left at column 0 to the previous row end")
            << "NextLine" << "ab\r\ncd" << 1 << 0 << std::vector{K(Qt::Key_Left)} << "ab\r\ncd" << 0 << 2;
        QTest::newRow("NextLine: right at the end to the next row")
            << "NextLine" << "ab\r\ncd" << 0 << 2 << std::vector{K(Qt::Key_Right)} << "ab\r\ncd" << 1 << 0;
        QTest::newRow("NextLine: never past a last row without a break")
            << "NextLine" << "ab\r\ncd" << 1 << 2 << std::vector{K(Qt::Key_Right)} << "ab\r\ncd" << 1 << 2;
        QTest::newRow("without NextLine left stays at column 0")
            << "" << "ab\r\ncd" << 1 << 0 << std::vector{K(Qt::Key_Left)} << "ab\r\ncd" << 1 << 0;
        QTest::newRow("InTab: right stops inside a tab")
            << "InTab" << "\tx" << 0 << 0 << std::vector{K(Qt::Key_Right), K(Qt::Key_Right)} << "\tx" << 0 << 2;
        QTest::newRow("FreeRow: down keeps the column past a short row")
            << "FreeRow" << "abcdef\r\nab" << 0 << 5 << std::vector{K(Qt::Key_Down)} << "abcdef\r\nab" << 1 << 5;
        QTest::newRow("FreeCaret: right goes past the end")
            << "FreeCaret" << "ab" << 0 << 2 << std::vector{K(Qt::Key_Right), K(Qt::Key_Right)} << "ab" << 0 << 4;
        QTest::newRow("TokenEndStop: word jumps stop at token ends")
            << "TokenEndStop" << "(ab cd)" << 0 << 1
            << std::vector{K(Qt::Key_Right, Qt::ControlModifier), K(Qt::Key_Right, Qt::ControlModifier)} << "(ab cd)"
            << 0 << 4;
        QTest::newRow("SoftTab: spaces to the next stop")
            << "SoftTab" << "ab" << 0 << 1 << std::vector{K(Qt::Key_Tab)} << "a   b" << 0 << 4;
        QTest::newRow("PrevSpaceIndent: enter on an empty row")
            << "PrevSpaceIndent" << "    a\r\n\r\nb" << 1 << 0 << std::vector{K(Qt::Key_Return)}
            << "    a\r\n\r\n\t\r\nb" << 2 << 4;
        QTest::newRow("tab with shift or ctrl is ignored")
            << "" << "ab" << 0 << 1 << std::vector{K(Qt::Key_Tab, Qt::ControlModifier), K(Qt::Key_Backtab, Qt::ShiftModifier)}
            << "ab" << 0 << 1;
    }
    void keysWithOptions() {
        QFETCH(QString, option);
        QFETCH(QString, text);
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(std::vector<TStep>, steps);
        TEditorCaretProp caret = editor_->Caret();
        if (option == "NextLine") caret.NextLine = true;
        if (option == "InTab") caret.InTab = true;
        if (option == "FreeRow") caret.FreeRow = true;
        if (option == "FreeCaret") caret.FreeCaret = true;
        if (option == "TokenEndStop") caret.TokenEndStop = true;
        if (option == "SoftTab") caret.SoftTab = true;
        if (option == "PrevSpaceIndent") caret.PrevSpaceIndent = true;
        editor_->SetCaretOptions(caret);
        Load(text, row, col);
        Run(*editor_, steps);
        QTEST(TextOf(*editor_), "expected");
        QTEST(editor_->Row(), "caretRow");
        QTEST(editor_->Col(), "caretCol");
    }

    void repeatedKeysGoFasterAtTheEdge() {
        QString text;
        for (int i = 0; i < 200; ++i) text += QStringLiteral("row\r\n");
        Load(text, 0, 0);
        TEditorSpeedProp speed;
        speed.CaretVerticalAc = 3;
        speed.PageVerticalRange = 1;
        speed.PageVerticalRangeAc = 4;
        editor_->SetSpeed(speed);
        const int visible = editor_->VisibleRowCount();
        auto send = [&](int key, bool repeat) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), repeat);
            QApplication::sendEvent(editor_.get(), &press);
        };
        send(Qt::Key_Down, true);  // not at the edge yet: one row
        QCOMPARE(editor_->Row(), 1);
        editor_->SetRow(visible - 1);
        send(Qt::Key_Down, true);
        QCOMPARE(editor_->Row(), visible + 2);
        send(Qt::Key_Down, false);
        QCOMPARE(editor_->Row(), visible + 3);
        const int half = (visible - 1) / 2;
        editor_->SetTopRow(0);
        editor_->SetRow(0);
        send(Qt::Key_PageDown, false);
        QCOMPARE(editor_->TopRow(), half);
        send(Qt::Key_PageDown, true);
        QCOMPARE(editor_->TopRow(), half * 5);
        QCOMPARE(editor_->Row(), half * 5);
        // Ctrl+Down scrolls and keeps the caret in the view.
        editor_->SetTopRow(0);
        editor_->SetRow(0);
        QTest::keyClick(editor_.get(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(editor_->TopRow(), 1);
        QCOMPARE(editor_->Row(), 1);
    }

    void wantTabsAndReturns() {
        Load("ab", 0, 1);
        editor_->SetWantTabs(false);
        editor_->SetWantReturns(false);
        Run(*editor_, {K(Qt::Key_Tab), K(Qt::Key_Return)});
        QCOMPARE(TextOf(*editor_), QStringLiteral("ab"));
    }

    void drawLineAndViewSignals() {
        Load("a\r\nb\r\nc", 0, 0);
        QList<int> drawn;
        connect(editor_.get(), &TEditor::DrawLine, this,
                [&](QPainter*, const QByteArray& line, int, int, int index, const QRect&, bool selected) {
                    drawn << index;
                    if (index == 1) {
                        QCOMPARE(line, QByteArray("b"));
                        QVERIFY(selected);
                    }
                });
        editor_->Select({1, 0}, {1, 1});
        editor_->viewport()->grab();
        QCOMPARE(drawn, (QList<int>{0, 1, 2}));
        QSignalSpy top(editor_.get(), &TEditor::TopRowChange);
        editor_->SetTopRow(2);
        QCOMPARE(top.count(), 1);
    }

    void cursorShowsTheAreaUnderThePointer() {
        Load("abc\r\ndef", 0, 0);
        QWidget* vp = editor_->viewport();
        auto cursorAt = [&](QPoint pos) {
            QMouseEvent move(QEvent::MouseMove, pos, vp->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(vp, &move);
            return vp->cursor();
        };
        // Left of the text an arrow pointing right, its tip the hot spot.
        auto pointsRight = [](const QCursor& cursor) {
            const QImage image = cursor.pixmap().toImage();
            const QPoint hot = cursor.hotSpot();
            return cursor.shape() == Qt::BitmapCursor && hot.x() > image.width() / 2 && hot.y() < image.height() / 4 &&
                   qAlpha(image.pixel(hot)) == 255 && qAlpha(image.pixel(0, 0)) == 0;
        };
        const int y = editor_->TextTop() + editor_->RowHeight() / 2;
        const int inText = editor_->TextLeft() + 1;
        QCOMPARE(cursorAt(QPoint(inText, y)).shape(), Qt::IBeamCursor);
        for (const QPoint pos : {QPoint(2, y), QPoint(editor_->TextLeft() - 1, y + editor_->RowHeight()), QPoint(2, 0)})
            QVERIFY2(pointsRight(cursorAt(pos)), qPrintable(QStringLiteral("%1,%2").arg(pos.x()).arg(pos.y())));
        QVERIFY(editor_->TextTop() > 0);
        QCOMPARE(cursorAt(QPoint(inText, 0)).shape(), Qt::ArrowCursor);
        editor_->Select({0, 0}, {0, 3});
        QCOMPARE(cursorAt(QPoint(editor_->TextLeft() + editor_->CellWidth() + 2, y)).shape(), Qt::ArrowCursor);
        QCOMPARE(cursorAt(QPoint(editor_->TextLeft() + 2, y + editor_->RowHeight())).shape(), Qt::IBeamCursor);
        QVERIFY(pointsRight(cursorAt(QPoint(2, y))));
    }

    void edits_markTheEditorModifiedAndAreUndoSteps() {
        Load("abc", 0, 0);
        editor_->SetModified(false);
        QSignalSpy changes(editor_.get(), &TEditor::Change);
        Run(*editor_, {T("x"), K(Qt::Key_Return), K(Qt::Key_Backspace)});
        QVERIFY(editor_->Modified());
        QCOMPARE(changes.count(), 3);
        QCOMPARE(TextOf(*editor_), QStringLiteral("xabc"));
    }

    void readOnly_ignoresEditingKeys() {
        Load("abc", 0, 1);
        editor_->SetReadOnly(true);
        Run(*editor_, {T("x"), K(Qt::Key_Return), K(Qt::Key_Backspace), K(Qt::Key_Delete), K(Qt::Key_Right)});
        QCOMPARE(TextOf(*editor_), QStringLiteral("abc"));
        QCOMPARE(editor_->Col(), 2);
    }

    void pageKeys_moveViewAndCaretTogether() {
        QString text;
        for (int i = 0; i < 200; ++i) text += QStringLiteral("row\r\n");
        Load(text, 3, 0);
        const int page = (editor_->VisibleRowCount() - 1) / 2 * 2;
        Run(*editor_, {K(Qt::Key_PageDown)});
        QCOMPARE(editor_->TopRow(), page);
        QCOMPARE(editor_->Row(), 3 + page);
        Run(*editor_, {K(Qt::Key_PageUp), K(Qt::Key_PageUp)});
        QCOMPARE(editor_->TopRow(), 0);
        QCOMPARE(editor_->Row(), 0);
    }

    void caret_sitsOnTheCellGrid() {
        Load("aあ\tb", 0, 0);
        const int left = editor_->TextLeft();
        const int cell = editor_->CellWidth();
        const std::vector<int> columns{0, 1, 3, 4, 5};
        for (int expected : columns) {
            QCOMPARE(editor_->Col(), expected);
            QCOMPARE(editor_->CaretRect().left(), left + expected * cell);
            Run(*editor_, {K(Qt::Key_Right)});
        }
        QCOMPARE(editor_->Col(), 5);  // the end of the row
    }

    void col_neverPassesTheLastCell() {
        AssignTo(TEditorExProp(), *editor_);  // free caret
        Load("ab", 0, 0);
        editor_->SetCol(5000);
        QCOMPARE(editor_->Col(), 1000);
        Run(*editor_, {K(Qt::Key_Right)});
        QCOMPARE(editor_->Col(), 1000);
        // Typing past the end pads with blanks.
        Load("abc", 0, 0);
        editor_->SetCol(10);
        Run(*editor_, {T("x")});
        QCOMPARE(TextOf(*editor_), QStringLiteral("abc       x"));
    }

    // Scrolled to the last shown cells the view and its scroll bar agree:
    // after a double-byte character on the last cell (the caret one further)
    // and after the view grows wider, where it used to stay scrolled past
    // the bar's end, showing blank cells.
    void view_scrollsNoFurtherThanItsScrollBar() {
        auto agree = [this](int lastCell) {
            const QScrollBar* bar = editor_->horizontalScrollBar();
            QCOMPARE(bar->maximum(), 1001 - editor_->VisibleColCount());
            QCOMPARE(bar->pageStep(), editor_->VisibleColCount());
            QCOMPARE(editor_->TopCol(), bar->value());
            QCOMPARE(editor_->TopCol() + editor_->VisibleColCount() - 1, lastCell);
        };
        Load(QString(999, QLatin1Char('a')) + QStringLiteral("あ") + QString(3000, QLatin1Char('b')), 0, 0);
        Run(*editor_, {K(Qt::Key_End)});
        QCOMPARE(editor_->Col(), 1001);
        agree(1000);
        editor_->resize(700, 200);
        QApplication::processEvents();
        agree(1000);
        // The bar moves the view; so do the keys, back from the end.
        editor_->horizontalScrollBar()->setValue(100);
        QCOMPARE(editor_->TopCol(), 100);
        Run(*editor_, {K(Qt::Key_Home)});
        QCOMPARE(editor_->TopCol(), 0);
        QCOMPARE(editor_->horizontalScrollBar()->value(), 0);
    }

    // On a row wider than the shown cells, End stops after the last shown
    // cell; what is typed goes in where it shows, in the order typed, and
    // nothing goes in past it (it used to land there each before the last).
    void typing_neverPassesTheLastShownCell() {
        const QString rest(2000, QLatin1Char('b'));
        Load(QString(995, QLatin1Char('a')) + rest, 0, 0);
        Run(*editor_, {K(Qt::Key_End)});
        QCOMPARE(editor_->Col(), 1000);
        Run(*editor_, {T("x"), T("y")});
        QCOMPARE(TextOf(*editor_), QString(995, QLatin1Char('a')) + rest);
        editor_->SetCol(997);
        Run(*editor_, {T("1"), T("2"), T("3"), T("4")});
        QCOMPARE(TextOf(*editor_), QString(995, QLatin1Char('a')) + "bb123" + rest.mid(2));
        QCOMPARE(editor_->Col(), 1000);
        // A break may go there: the rest starts a row that shows.
        Run(*editor_, {K(Qt::Key_Return), T("z")});
        QCOMPARE(TextOf(*editor_), QString(995, QLatin1Char('a')) + "bb123\r\nz" + rest.mid(2));
        QCOMPARE(editor_->Row(), 1);
        QCOMPARE(editor_->Col(), 1);
    }

    // Delete and Backspace take nothing the user cannot see and join no
    // row out of sight, and a selection that starts past the last shown
    // cell is neither deleted, typed over, cut nor box-pasted over: nothing
    // happens, the selection stays, there is nothing to undo. One cell back
    // the last shown character goes and the hidden rest moves into view.
    void edits_neverReachPastTheLastShownCell() {
        const QString a(1000, QLatin1Char('a')), b(500, QLatin1Char('b'));
        const QString text = a + b + "\r\nnext";
        Load(text, 0, 0);
        QGuiApplication::clipboard()->setText(QStringLiteral("X\nY"));
        Run(*editor_, {K(Qt::Key_End), K(Qt::Key_Delete), K(Qt::Key_B, Qt::ControlModifier)});
        QCOMPARE(editor_->Col(), 1000);
        Run(*editor_, {K(Qt::Key_Down, Qt::ShiftModifier)});
        QVERIFY(editor_->Selected());
        Run(*editor_, {K(Qt::Key_Delete), K(Qt::Key_Backspace), T("x"), K(Qt::Key_Return), K(Qt::Key_Tab),
                       K(Qt::Key_X, Qt::ControlModifier), K(Qt::Key_V, Qt::ControlModifier),
                       K(Qt::Key_B, Qt::ControlModifier)});
        QVERIFY(editor_->Selected());
        editor_->Deselect();
        editor_->SetRow(1);
        editor_->SetCol(0);
        Run(*editor_, {K(Qt::Key_Backspace)});
        QCOMPARE(TextOf(*editor_), text);
        QVERIFY(!editor_->CanUndo());

        editor_->SetRow(0);
        editor_->SetCol(999);
        Run(*editor_, {K(Qt::Key_Delete)});
        QCOMPARE(TextOf(*editor_), a.left(999) + b + "\r\nnext");
        QCOMPARE(editor_->Col(), 999);
        editor_->Undo();
        QCOMPARE(TextOf(*editor_), text);
    }

    void attachedEditors_shareTheText() {
        TEditorEx other;
        other.AttachRowList(editor_->RowList());
        Load("abc\r\n", 0, 3);
        Run(*editor_, {T("d")});
        QCOMPARE(TextOf(other), QStringLiteral("abcd\r\n"));
        QVERIFY(other.Modified());
        other.SetRow(1);
        Run(other, {T("x")});
        QCOMPARE(TextOf(*editor_), QStringLiteral("abcd\r\nx"));
        // The list lives on when its first editor goes.
        editor_.reset();
        QCOMPARE(TextOf(other), QStringLiteral("abcd\r\nx"));
        editor_ = std::make_unique<TEditorEx>();
    }
};

QTEST_MAIN(TestEditor)
#include "tst_Editor.moc"
