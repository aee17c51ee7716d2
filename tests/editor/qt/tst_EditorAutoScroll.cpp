// A drag that holds the pointer outside the text area keeps scrolling the
// view and extending the selection; the timer's ticks are delivered by hand,
// so every step is exact.
#include <QApplication>
#include <QTimer>
#include <QtTest>

#include "base/ShiftJis.h"
#include "editor/qt/EditorEx.h"
#include "support/qt/EditorInput.h"

using namespace quodle;
using namespace quodle::testing;

namespace quodle {
char* toString(const TRowOffset& at) { return QTest::toString(QStringLiteral("(%1, %2)").arg(at.Row).arg(at.Offset)); }
}  // namespace quodle

class TestEditorAutoScroll : public QObject {
    Q_OBJECT

    std::unique_ptr<TEditorEx> editor_;

    // Rows "r000".."rNNN", the last one without a break.
    void LoadRows(int count, int width = 4) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            std::string row = QStringLiteral("r%1").arg(i, 3, 10, QLatin1Char('0')).toStdString();
            row.resize(std::max<std::size_t>(row.size(), static_cast<std::size_t>(width)), 'x');
            text += row;
            if (i + 1 < count) text += "\r\n";
        }
        editor_->Lines().SetText(text);
        editor_->SetTopRow(0);
        editor_->SetRow(0);
        editor_->SetCol(0);
    }
    QWidget* Viewport() const { return editor_->viewport(); }
    QPoint CellPoint(int row, int col) const { return testing::CellPoint(*editor_, row, col); }
    // Just below the last whole row, at the x of `col`.
    QPoint BelowText(int col, int extraPixels = 0) const {
        return QPoint(CellPoint(0, col).x(),
                      editor_->TextTop() + editor_->VisibleRowCount() * editor_->RowHeight() + 1 + extraPixels);
    }
    void Send(QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, pos, Viewport()->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(Viewport(), &event);
    }
    void Press(QPoint pos) { Send(QEvent::MouseButtonPress, pos, Qt::LeftButton); }
    void Move(QPoint pos) { Send(QEvent::MouseMove, pos, Qt::LeftButton); }
    void Release(QPoint pos) { Send(QEvent::MouseButtonRelease, pos, Qt::NoButton); }
    QTimer* Timer() const { return editor_->findChild<QTimer*>(QStringLiteral("autoScrollTimer")); }
    bool Scrolling() const { return Timer() != nullptr && Timer()->isActive(); }
    // One tick of the running timer, as its event would deliver it.
    void Tick(int times = 1) {
        for (int i = 0; i < times; ++i) {
            QVERIFY(Scrolling());
            QTimerEvent event(Timer()->timerId());
            QCoreApplication::sendEvent(Timer(), &event);
        }
    }

private slots:
    void init() {
        editor_ = ShownEditor(400, 200);
    }
    void cleanup() { editor_.reset(); }

    void holdingBelow_scrollsRowByRowAndExtends() {
        LoadRows(100);
        const int visible = editor_->VisibleRowCount();
        QVERIFY(visible >= 3);
        Press(CellPoint(1, 1));
        Move(CellPoint(2, 3));
        QVERIFY(!Scrolling());
        Move(BelowText(3));
        QVERIFY(Scrolling());
        QCOMPARE(Timer()->interval(), 50);
        // The move itself took the caret to the row under the pointer.
        QCOMPARE(editor_->Row(), visible);
        for (int tick = 1; tick <= 4; ++tick) {
            Tick();
            QCOMPARE(editor_->TopRow(), 1 + tick);
            QCOMPARE(editor_->Row(), visible + tick);
            QCOMPARE(editor_->Col(), 3);
        }
        const TStreamRange range = editor_->SelectionRange();
        QCOMPARE(range.Start.Row, 1);
        QCOMPARE(range.Start.Offset, 1);
        QCOMPARE(range.End.Row, visible + 4);
        QCOMPARE(range.End.Offset, 3);
        // Release stops it: the view stays where it is.
        Release(BelowText(3));
        QVERIFY(!Scrolling());
        const int top = editor_->TopRow();
        QTest::qWait(150);
        QCOMPARE(editor_->TopRow(), top);
        QCOMPARE(editor_->SelectionRange().End.Row, visible + 4);
    }

    void holdingAbove_scrollsUpFasterFartherAway() {
        LoadRows(100);
        editor_->SetTopRow(50);
        Press(CellPoint(55, 2));
        const int textTop = editor_->TextTop();
        Move(QPoint(CellPoint(55, 2).x(), textTop - 1));
        QCOMPARE(editor_->TopRow(), 49);  // the move: one row up
        Tick();
        QCOMPARE(editor_->TopRow(), 48);
        QCOMPARE(editor_->Row(), 48);
        // Farther above, more rows per tick.
        Move(QPoint(CellPoint(55, 2).x(), textTop - 1 - 6 * editor_->RowHeight()));
        const int before = editor_->TopRow();
        Tick();
        const int step = before - editor_->TopRow();
        QVERIFY2(step > 1, qPrintable(QString::number(step)));
        QCOMPARE(editor_->Row(), editor_->TopRow());
        QCOMPARE(editor_->SelectionRange().End, (TRowOffset{55, 2}));
        // Re-entering the text area stops it; the drag still follows the pointer.
        Move(CellPoint(editor_->TopRow() + 1, 1));
        QVERIFY(!Scrolling());
        QCOMPARE(editor_->SelectionRange().Start, (TRowOffset{editor_->TopRow() + 1, 1}));
        Release(CellPoint(editor_->TopRow() + 1, 1));
        // At the top it stops at row 0 (a new selection: a press on the old
        // one would drag it).
        editor_->Deselect();
        Press(CellPoint(editor_->TopRow() + 2, 0));
        Move(QPoint(CellPoint(0, 0).x(), textTop - 1));
        Tick(60);
        QCOMPARE(editor_->TopRow(), 0);
        QCOMPARE(editor_->Row(), 0);
    }

    void neverScrollsPastTheLastRow() {
        LoadRows(30);
        const int visible = editor_->VisibleRowCount();
        Press(CellPoint(0, 0));
        Move(BelowText(2, 5 * editor_->RowHeight()));
        Tick(40);
        QCOMPARE(editor_->Row(), 29);
        QCOMPARE(editor_->Col(), 2);
        QCOMPARE(editor_->TopRow(), 30 - visible);
        QCOMPARE(editor_->SelText(), editor_->Lines().Text().substr(0, editor_->Lines().Text().size() - 2));
    }

    void boxMode_keepsABox() {
        LoadRows(100);
        editor_->SetSelectionMode(selBox);
        Press(CellPoint(2, 1));
        Move(CellPoint(3, 3));
        Move(BelowText(3));
        Tick(3);
        QCOMPARE(editor_->SelectionMode(), selBox);
        const TBoxRange box = editor_->SelectionBox();
        QCOMPARE(box.Top, 2);
        QCOMPARE(box.Bottom, editor_->VisibleRowCount() + 3);
        QCOMPARE(box.Left, 1);
        QCOMPARE(box.Right, 3);
        QCOMPARE(editor_->Row(), box.Bottom);
        Release(BelowText(3));
        QVERIFY(!Scrolling());
        QCOMPARE(editor_->SelText().substr(0, 12), std::string("00\r\n00\r\n00\r\n"));
    }

    void rowDrag_scrollsByWholeRows() {
        LoadRows(100);
        const QPoint leftBar(3, CellPoint(1, 0).y());
        Press(leftBar);
        Move(QPoint(3, BelowText(0).y()));
        QVERIFY(Scrolling());
        Tick(2);
        const int last = editor_->VisibleRowCount() + 2;
        QCOMPARE(editor_->SelectionRange().Start, (TRowOffset{1, 0}));
        QCOMPARE(editor_->SelectionRange().End, (TRowOffset{last + 1, 0}));
        // Left of the text is where a row drag belongs: no sideways scrolling.
        Move(QPoint(3, CellPoint(last, 0).y()));
        QVERIFY(!Scrolling());
    }

    void sideways_alongALongRow() {
        LoadRows(5, 300);
        const int cols = editor_->VisibleColCount();
        Press(CellPoint(1, 2));
        const QPoint right(editor_->TextLeft() + cols * editor_->CellWidth() + 1, CellPoint(1, 0).y());
        Move(right);
        QVERIFY(Scrolling());
        int col = editor_->Col();
        for (int i = 0; i < 3; ++i) {
            const int top = editor_->TopCol();
            Tick();
            QVERIFY(editor_->Col() > col);
            QVERIFY(editor_->TopCol() > top);
            QCOMPARE(editor_->Col(), editor_->TopCol() + cols - 1);
            col = editor_->Col();
        }
        QCOMPARE(editor_->Row(), 1);
        // It stops at the end of the row (no free caret).
        Tick(200);
        QCOMPARE(editor_->Col(), 300);
        // Back to the left edge: the view comes back to column 0.
        Move(QPoint(editor_->TextLeft() - 1, CellPoint(1, 0).y()));
        QVERIFY(Scrolling());
        Tick(200);
        QCOMPARE(editor_->TopCol(), 0);
        QCOMPARE(editor_->Col(), 0);
        QCOMPARE(editor_->SelectionRange().Start, (TRowOffset{1, 0}));
        QCOMPARE(editor_->SelectionRange().End, (TRowOffset{1, 2}));
    }

    void stopsOnFocusLossAndHide() {
        LoadRows(100);
        Press(CellPoint(0, 0));
        Move(BelowText(0));
        QVERIFY(Scrolling());
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(editor_.get(), &out);
        QVERIFY(!Scrolling());
        // The drag is over: moving again with the button held does nothing.
        const int row = editor_->Row();
        Move(BelowText(0, 3 * editor_->RowHeight()));
        QVERIFY(!Scrolling());
        QCOMPARE(editor_->Row(), row);

        editor_->Deselect();
        Press(CellPoint(editor_->TopRow(), 0));
        Move(BelowText(0));
        QVERIFY(Scrolling());
        editor_->hide();
        QVERIFY(!Scrolling());
    }
};

QTEST_MAIN(TestEditorAutoScroll)
#include "tst_EditorAutoScroll.moc"
