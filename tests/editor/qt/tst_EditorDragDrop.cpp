// Drag and drop on the editor, with the drag's events delivered by script:
// selections moved and copied within an editor and into another one, text
// and files dropped from outside, the caret shown where a drop would land,
// and undo after each drop.
#include <QApplication>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>
#include <utility>

#include "support/qt/DragInput.h"
#include "support/qt/EditorInput.h"

using namespace quodle;
using namespace quodle::testing;

namespace {

// The parts of a widget drawn again since the last Take.
class TPaintRecorder : public QObject {
public:
    explicit TPaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    QRegion Take() {
        QApplication::processEvents();
        return std::exchange(painted_, QRegion());
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted_ += static_cast<QPaintEvent*>(event)->region();
        return false;
    }

private:
    QRegion painted_;
};

}  // namespace

class TestEditorDragDrop : public QObject {
    Q_OBJECT

    std::unique_ptr<TEditorEx> editor_;

    QPoint CellPoint(int row, int col) const { return testing::CellPoint(*editor_, row, col); }
    void SelectBC() {
        // "bc" of the first row, the caret after it.
        editor_->Select({0, 1}, {0, 3});
    }

private slots:
    void init() { editor_ = ShownEditor(500, 300); }
    void cleanup() { editor_.reset(); }

    void selectionDrag_withinOneEditor_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("target");  // cell
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QPoint>("caret");  // cell, after the drop
        QTest::newRow("move after the selection") << "abcdef\r\nghij" << QPoint(5, 0) << false << "adebcf\r\nghij"
                                                  << QPoint(5, 0);
        QTest::newRow("move before the selection") << "abcdef\r\nghij" << QPoint(0, 0) << false << "bcadef\r\nghij"
                                                   << QPoint(2, 0);
        QTest::newRow("move to another row") << "abcdef\r\nghij" << QPoint(2, 1) << false << "adef\r\nghbcij"
                                             << QPoint(4, 1);
        QTest::newRow("copy after the selection") << "abcdef\r\nghij" << QPoint(5, 0) << true << "abcdebcf\r\nghij"
                                                  << QPoint(7, 0);
        QTest::newRow("copy to another row") << "abcdef\r\nghij" << QPoint(0, 1) << true << "abcdef\r\nbcghij"
                                             << QPoint(2, 1);
        // The second cell of い: the text lands before the character.
        QTest::newRow("move into a double-byte character") << "abcdef\r\nあいう" << QPoint(3, 1) << false
                                                           << "adef\r\nあbcいう" << QPoint(4, 1);
        // Without a free caret, past the end of a row is at its end.
        QTest::newRow("copy past the end of a row") << "abcdef\r\ngh" << QPoint(4, 1) << true
                                                    << "abcdef\r\nghbc" << QPoint(4, 1);
    }
    void selectionDrag_withinOneEditor() {
        QFETCH(QString, text);
        QFETCH(QPoint, target);
        QFETCH(bool, ctrl);
        LoadText(*editor_, text);
        SelectBC();
        const QPoint to = CellPoint(target.y(), target.x());
        TScriptedDrag drag(*editor_, {CellPoint(0, 2), to, to}, ctrl ? Qt::ControlModifier : Qt::NoModifier);
        DragFrom(*editor_, CellPoint(0, 2));
        QCOMPARE(drag.runs, 1);
        QCOMPARE(drag.result, ctrl ? Qt::CopyAction : Qt::MoveAction);
        QTEST(TextOf(*editor_), "expected");
        QVERIFY(!editor_->Selected());
        QFETCH(QPoint, caret);
        QCOMPARE(QPoint(editor_->Col(), editor_->Row()), caret);
        // One drop, one undo step: removal and insertion together.
        editor_->Undo();
        QCOMPARE(TextOf(*editor_), text);
        QVERIFY(!editor_->CanUndo());
    }

    void selectionDrag_caretFollowsThePointer() {
        LoadText(*editor_, "abcdef\r\nあいう");
        SelectBC();
        // On: the first cell of い, its second cell, past the row's end
        // (without a free caret: its end).
        TScriptedDrag drag(*editor_, {CellPoint(0, 2), CellPoint(1, 2), CellPoint(1, 3), CellPoint(1, 9)});
        DragFrom(*editor_, CellPoint(0, 2));
        QCOMPARE(drag.carets, (std::vector<std::optional<TCellPos>>{TCellPos{1, 2}, TCellPos{1, 2}, TCellPos{1, 6}}));
        // The selection held still while the drop caret moved; it is gone
        // once the drag is over.
        QCOMPARE(TextOf(*editor_), QStringLiteral("adef\r\nあいうbc"));
        QVERIFY(!editor_->DropCaret());
    }

    void selectionDrag_backIntoItselfChangesNothing_data() {
        QTest::addColumn<bool>("ctrl");
        QTest::newRow("move") << false;
        QTest::newRow("copy") << true;
    }
    void selectionDrag_backIntoItselfChangesNothing() {
        QFETCH(bool, ctrl);
        LoadText(*editor_, "abcdef");
        SelectBC();
        TScriptedDrag drag(*editor_, {CellPoint(0, 2), CellPoint(0, 2)}, ctrl ? Qt::ControlModifier : Qt::NoModifier);
        DragFrom(*editor_, CellPoint(0, 2));
        QCOMPARE(drag.result, ctrl ? Qt::CopyAction : Qt::MoveAction);
        QCOMPARE(TextOf(*editor_), QStringLiteral("abcdef"));
        QVERIFY(!editor_->CanUndo());
        QVERIFY(!editor_->Selected());
    }

    // A press on the selection that never moves is a click: the selection
    // goes and the caret stands where it was pressed.
    void selectionPress_withoutAMoveIsAClick() {
        LoadText(*editor_, "abcdef");
        SelectBC();
        TScriptedDrag drag(*editor_, {CellPoint(0, 5)});
        SendMouse(*editor_, QEvent::MouseButtonPress, CellPoint(0, 2), Qt::LeftButton, Qt::LeftButton);
        SendMouse(*editor_, QEvent::MouseButtonRelease, CellPoint(0, 2), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(drag.runs, 0);
        QVERIFY(!editor_->Selected());
        QCOMPARE(editor_->Col(), 2);
    }

    // Into another text the selection is copied, with Ctrl or without: the
    // source keeps its text whatever the target does with it.
    void selectionDrag_toAnotherTextCopies() {
        auto other = ShownEditor(300, 200);
        LoadText(*other, QStringLiteral("xyz"));
        LoadText(*editor_, "aあbc");
        editor_->Select({0, 1}, {0, 3});
        TScriptedDrag drag(*other, {testing::CellPoint(*other, 0, 1)});
        DragFrom(*editor_, CellPoint(0, 1));
        QCOMPARE(drag.result, Qt::CopyAction);
        QCOMPARE(TextOf(*other), QStringLiteral("xあyz"));
        QCOMPARE(TextOf(*editor_), QStringLiteral("aあbc"));
        QVERIFY(!editor_->CanUndo());
        other->Undo();
        QCOMPARE(TextOf(*other), QStringLiteral("xyz"));
    }

    // Our own text arrives byte for byte, invalid sequences included, by
    // drag and by the clipboard alike.
    void ownText_travelsAsItsBytes() {
        const std::string bytes = "a\x85\x40\xff\x81" "b";
        editor_->Lines().SetText(bytes);
        editor_->SelectAll();
        auto other = ShownEditor(300, 200);
        TScriptedDrag drag(*other, {testing::CellPoint(*other, 0, 0)});
        DragFrom(*editor_, CellPoint(0, 1));
        QCOMPARE(QByteArray::fromStdString(other->Lines().Text()), QByteArray::fromStdString(bytes));
        editor_->SelectAll();
        editor_->CopyToClipboard();
        other->Lines().SetText("");
        other->PasteFromClipboard();
        QCOMPARE(QByteArray::fromStdString(other->Lines().Text()), QByteArray::fromStdString(bytes));
    }

    void selectionDrag_needsAMovableStreamSelection_data() {
        QTest::addColumn<int>("blocker");
        QTest::newRow("box selection") << 0;
        QTest::newRow("SelMove off") << 1;
        QTest::newRow("Read Only") << 2;
    }
    void selectionDrag_needsAMovableStreamSelection() {
        QFETCH(int, blocker);
        LoadText(*editor_, "abcdef");
        if (blocker == 0) editor_->SetSelectionMode(selBox);
        if (blocker == 1) {
            TEditorCaretProp caret = editor_->Caret();
            caret.SelMove = false;
            editor_->SetCaretOptions(caret);
        }
        if (blocker == 2) editor_->SetReadOnly(true);
        SelectBC();
        TScriptedDrag drag(*editor_, {CellPoint(0, 5)});
        DragFrom(*editor_, CellPoint(0, 2));
        QCOMPARE(drag.runs, 0);
        QCOMPARE(TextOf(*editor_), QStringLiteral("abcdef"));
    }

    void foreignText_data() {
        QTest::addColumn<QString>("dropped");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("refused");
        QTest::newRow("Japanese text with a break") << "日本語\nです" << "ab日本語\r\nですcd\r\nef" << "";
        QTest::newRow("a character without a Shift-JIS form") << "いい한글" << "abcd\r\nef" << "한글";
    }
    void foreignText() {
        QFETCH(QString, dropped);
        QFETCH(QString, expected);
        LoadText(*editor_, "abcd\r\nef");
        // A selection elsewhere is not replaced: a drop only deselects.
        editor_->Select({1, 0}, {1, 2});
        QSignalSpy unencodable(editor_.get(), &TEditor::Unencodable);
        QMimeData data;
        data.setText(dropped);
        const Qt::DropAction action = DropData(*editor_, data, CellPoint(0, 2));
        QTEST(TextOf(*editor_), "expected");
        QFETCH(QString, refused);
        if (refused.isEmpty()) {
            QCOMPARE(action, Qt::CopyAction);
            QVERIFY(!editor_->Selected());
            QCOMPARE(unencodable.size(), 0);
            editor_->Undo();
            QCOMPARE(TextOf(*editor_), QStringLiteral("abcd\r\nef"));
            QVERIFY(!editor_->CanUndo());
        } else {
            // Refused whole, never with '?' in place, and the source told so;
            // the editor stays as it was.
            QCOMPARE(action, Qt::IgnoreAction);
            QVERIFY(editor_->Selected());
            QCOMPARE(unencodable.size(), 1);
            QCOMPARE(unencodable.at(0).at(0).toString(), refused);
            QVERIFY(!editor_->CanUndo());
        }
    }

    // The drop caret stands in for the caret: where either stood is drawn
    // again as it comes, moves and goes, so neither leaves a trace.
    void dragOver_leavesNoCaretTraces() {
        LoadText(*editor_, "abcdef\r\nghijkl\r\nmnopqr\r\nstuvwx");
        editor_->setFocus();
        editor_->SetCol(6);
        QMimeData data;
        data.setText(QStringLiteral("x"));
        QWidget* vp = editor_->viewport();
        TPaintRecorder recorder(vp);
        recorder.Take();
        const QRect caret = editor_->CaretRect();
        auto dropCaretRect = [&] {
            const TCellPos at = *editor_->DropCaret();
            return QRect(editor_->TextLeft() + (at.Col - editor_->TopCol()) * editor_->CellWidth(),
                         editor_->TextTop() + (at.Row - editor_->TopRow()) * editor_->RowHeight(), 2,
                         editor_->RowHeight());
        };
        QDragEnterEvent enter(CellPoint(2, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &enter);
        QRegion painted = recorder.Take();
        QVERIFY(painted.contains(caret));  // the caret goes
        QVERIFY(painted.contains(dropCaretRect()));
        for (const int row : {3, 1, 0}) {
            const QRect before = dropCaretRect();
            QDragMoveEvent move(CellPoint(row, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(vp, &move);
            painted = recorder.Take();
            QVERIFY2(painted.contains(before), qPrintable(QString::number(row)));
            QVERIFY2(painted.contains(dropCaretRect()), qPrintable(QString::number(row)));
        }
        const QRect last = dropCaretRect();
        QDragLeaveEvent leave;
        QApplication::sendEvent(vp, &leave);
        painted = recorder.Take();
        QVERIFY(painted.contains(last));
        QVERIFY(painted.contains(caret));  // and the caret comes back
    }

    // Rows below an edit that adds rows move on the screen; a caret drawn
    // there moves with them, and its new place is drawn again, so no trace
    // of it stays behind (typing into an empty text, a drop of two lines).
    void editsThatAddRows_leaveNoCaretTrace() {
        QWidget* vp = editor_->viewport();
        TPaintRecorder recorder(vp);
        auto caretAt = [&](int row, int col) {
            return QRect(editor_->TextLeft() + col * editor_->CellWidth(),
                         editor_->TextTop() + row * editor_->RowHeight(), 2, editor_->RowHeight());
        };
        LoadText(*editor_, QString());
        editor_->setFocus();
        recorder.Take();
        Type(editor_.get(), "(");
        QVERIFY(recorder.Take().contains(caretAt(1, 0)));

        LoadText(*editor_, "abc\r\ndef");
        editor_->SetRow(1);
        editor_->SetCol(3);
        recorder.Take();
        QMimeData data;
        data.setText(QStringLiteral("X\r\nY"));
        QCOMPARE(DropData(*editor_, data, CellPoint(0, 1)), Qt::CopyAction);
        QCOMPARE(TextOf(*editor_), QStringLiteral("aX\r\nYbc\r\ndef"));
        QVERIFY(recorder.Take().contains(caretAt(2, 3)));
    }

    // Held on the last row in view, a drag scrolls the text on, the drop
    // caret along; held on the first row it scrolls back; leaving stops it.
    void dragOver_edgeRowsScroll() {
        QString text;
        for (int i = 0; i < 100; ++i) text += QStringLiteral("row%1\r\n").arg(i);
        LoadText(*editor_, text);
        QMimeData data;
        data.setText(QStringLiteral("x"));
        QWidget* vp = editor_->viewport();
        const int last = editor_->VisibleRowCount() - 1;
        auto hold = [&](QPoint at, int top) {
            QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(vp, &move);
            QTRY_VERIFY(editor_->TopRow() >= top);
        };
        QDragEnterEvent enter(CellPoint(2, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &enter);
        QCOMPARE(editor_->TopRow(), 0);
        hold(CellPoint(last, 1), 3);
        QCOMPARE(editor_->DropCaret()->Row, editor_->TopRow() + last);
        QDragMoveEvent middle(CellPoint(editor_->TopRow() + 2, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &middle);
        const int held = editor_->TopRow();
        QTest::qWait(300);
        QCOMPARE(editor_->TopRow(), held);
        QDragMoveEvent first(CellPoint(held, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &first);
        QTRY_COMPARE(editor_->TopRow(), 0);
        QDragLeaveEvent leave;
        QApplication::sendEvent(vp, &leave);
        QVERIFY(!editor_->DropCaret());
        QCOMPARE(TextOf(*editor_), text);
    }

    // Nothing is dropped past the last shown cell of a row: the drop is
    // refused, so a source moving its text keeps it.
    void foreignText_refusedPastTheShownCells() {
        const QString text(1200, QLatin1Char('a'));
        LoadText(*editor_, text);
        Key(editor_.get(), Qt::Key_End);
        QMimeData data;
        data.setText(QStringLiteral("x"));
        QCOMPARE(DropData(*editor_, data, CellPoint(0, 1000)), Qt::IgnoreAction);
        QCOMPARE(TextOf(*editor_), text);
        QCOMPARE(DropData(*editor_, data, CellPoint(0, 999)), Qt::CopyAction);
        QCOMPARE(TextOf(*editor_), text.left(999) + "x" + text.mid(999));
    }

    void foreignText_readOnlyRefusesTheDrag() {
        LoadText(*editor_, "abcd");
        editor_->SetReadOnly(true);
        QMimeData data;
        data.setText(QStringLiteral("x"));
        QCOMPARE(DropData(*editor_, data, CellPoint(0, 2)), Qt::IgnoreAction);
        QCOMPARE(TextOf(*editor_), QStringLiteral("abcd"));
        QVERIFY(!editor_->DropCaret());
    }

    // Files win over text offered with them, on a Read Only editor too.
    void files_areHandedOnAndNoTextGoesIn() {
        LoadText(*editor_, "abcd");
        editor_->SetReadOnly(true);
        QSignalSpy files(editor_.get(), &TOleddEditor::DropFiles);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.lsp")), QUrl(QStringLiteral("https://x/y")),
                      QUrl::fromLocalFile(QStringLiteral("/tmp/b c.lsp"))});
        data.setText(QStringLiteral("text"));
        QCOMPARE(DropData(*editor_, data, CellPoint(0, 2)), Qt::CopyAction);
        QCOMPARE(files.size(), 1);
        QCOMPARE(files.at(0).at(0).toStringList(), (QStringList{"/tmp/a.lsp", "/tmp/b c.lsp"}));
        QCOMPARE(TextOf(*editor_), QStringLiteral("abcd"));
    }
};

QTEST_MAIN(TestEditorDragDrop)
#include "tst_EditorDragDrop.moc"
