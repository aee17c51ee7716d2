// TEditorEx driven as a user drives it: selections by keys and mouse, the
// clipboard, block operations, undo and redo, the input method, read-only,
// the context menu and what gets painted.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include "base/ShiftJis.h"
#include "editor/qt/EditorClipboardFormat.h"
#include "editor/qt/EditorEx.h"
#include "editor/qt/EditorPopupMenu.h"
#include "support/qt/EditorInput.h"
#include "syntax/ProgramFountains.h"

using namespace quodle;
using namespace quodle::testing;

namespace {

// Records the regions the viewport paints.
class TPaintRecorder : public QObject {
public:
    QRegion painted;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
};

}  // namespace

class TestEditorCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<TEditorEx> editor_;
    std::shared_ptr<TFountain> fountain_;

    void Load(const QString& text, int row = 0, int col = 0) { LoadText(*editor_, text, row, col); }
    void Options(const std::function<void(TEditorCaretProp&)>& change) {
        TEditorCaretProp caret = editor_->Caret();
        change(caret);
        editor_->SetCaretOptions(caret);
    }
    QPoint CellPoint(int row, int col) const { return testing::CellPoint(*editor_, row, col); }
    QString Clip() const { return QGuiApplication::clipboard()->text(); }

private slots:
    void init() {
        editor_ = ShownEditor(500, 300);
        fountain_ = CreateHyphenFountain1();
        editor_->SetFountain(fountain_);
        QGuiApplication::clipboard()->clear();
    }
    void cleanup() { editor_.reset(); }

    void autoIndent_data() {
        QTest::addColumn<bool>("tabIndent");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("caretCol");
        QTest::newRow("spaces") << false << "    ab\r\n    c" << 4;
        QTest::newRow("TabIndent") << true << "    ab\r\n\tc" << 4;
    }
    void autoIndent() {
        QFETCH(bool, tabIndent);
        Options([&](TEditorCaretProp& c) {
            c.TabIndent = tabIndent;
            c.TabSpaceCount = 4;
        });
        Load("    abc", 0, 6);
        Key(editor_.get(), Qt::Key_Return);
        QTEST(TextOf(*editor_), "expected");
        QCOMPARE(editor_->Row(), 1);
        QTEST(editor_->Col(), "caretCol");
    }

    void backspaceUnindent() {
        Options([](TEditorCaretProp& c) { c.BackSpaceUnIndent = true; });
        Load("    (a\r\n\r\n        b", 2, 8);
        Key(editor_.get(), Qt::Key_Backspace);
        QCOMPARE(TextOf(*editor_), QStringLiteral("    (a\r\n\r\n    b"));
        QCOMPARE(editor_->Col(), 4);
        Key(editor_.get(), Qt::Key_Backspace);
        QCOMPARE(TextOf(*editor_), QStringLiteral("    (a\r\n\r\nb"));
        // Off: one character at a time.
        Options([](TEditorCaretProp& c) { c.BackSpaceUnIndent = false; });
        Load("        b", 0, 8);
        Key(editor_.get(), Qt::Key_Backspace);
        QCOMPARE(TextOf(*editor_), QStringLiteral("       b"));
    }

    void boxCopyPasteRoundTrip() {
        Load("abcd\r\nefgh\r\nijkl", 0, 1);
        Key(editor_.get(), Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(editor_->SelectionMode(), selBox);
        Key(editor_.get(), Qt::Key_Right, Qt::ShiftModifier);
        Key(editor_.get(), Qt::Key_Right, Qt::ShiftModifier);
        Key(editor_.get(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(editor_->SelLength(), 8);
        Key(editor_.get(), Qt::Key_C, Qt::ControlModifier);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data->hasFormat(QString::fromLatin1(kBoxClipboardFormat)));
        QCOMPARE(Clip(), QStringLiteral("bc\r\nfg\r\n"));
        // Stream mode again; the paste still makes a box.
        Key(editor_.get(), Qt::Key_K, Qt::ControlModifier);
        Key(editor_.get(), Qt::Key_Home, Qt::ControlModifier);
        Key(editor_.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(TextOf(*editor_), QStringLiteral("bcabcd\r\nfgefgh\r\nijkl"));
        QVERIFY(editor_->CanUndo());
        editor_->Undo();
        QCOMPARE(TextOf(*editor_), QStringLiteral("abcd\r\nefgh\r\nijkl"));
        // Plain text pastes as a stream.
        QGuiApplication::clipboard()->setText(QStringLiteral("x\r\ny"));
        Key(editor_.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(TextOf(*editor_), QStringLiteral("x\r\nyabcd\r\nefgh\r\nijkl"));
        // Ctrl+B pastes plain text as a box.
        Load("ab\r\ncd", 0, 1);
        Key(editor_.get(), Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(TextOf(*editor_), QStringLiteral("axb\r\ncyd"));
    }

    // A box pasted over a selection replaces it in one step: one Undo gives
    // back the text as it was before the paste, caret included.
    void boxPasteOverASelectionIsOneUndoStep_data() {
        QTest::addColumn<bool>("box");
        QTest::addColumn<QString>("expected");
        QTest::newRow("box") << true << QStringLiteral("aXYd\r\neZWh\r\nijkl");
        QTest::newRow("stream") << false << QStringLiteral("aXYh\r\niZWjkl");
    }
    void boxPasteOverASelectionIsOneUndoStep() {
        QFETCH(bool, box);
        QFETCH(QString, expected);
        Load("abcd\r\nefgh\r\nijkl", 0, 1);
        if (box) Key(editor_.get(), Qt::Key_K, Qt::ControlModifier);
        for (int key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down})
            Key(editor_.get(), key, Qt::ShiftModifier);
        QCOMPARE(editor_->Row(), 1);
        QCOMPARE(editor_->Col(), 3);
        editor_->BoxPaste("XY\r\nZW");
        QCOMPARE(TextOf(*editor_), expected);
        QVERIFY(!editor_->Selected());
        QCOMPARE(editor_->Rows().UndoObj().UndoList().size(), 1u);
        editor_->Undo();
        QCOMPARE(TextOf(*editor_), QStringLiteral("abcd\r\nefgh\r\nijkl"));
        QVERIFY(!editor_->CanUndo());
        QVERIFY(!editor_->Selected());
        QCOMPARE(editor_->Row(), 1);
        QCOMPARE(editor_->Col(), 3);
    }

    void boxPasteOverTheWholeTextIsAPasteIntoAnEmptyText() {
        Load("", 0, 0);
        editor_->BoxPaste("XY\r\nZW");
        const QString intoEmpty = TextOf(*editor_);
        QVERIFY(!intoEmpty.isEmpty());
        for (const char* text : {"abcd", "abcd\r\nefgh\r\n"}) {
            Load(text, 0, 0);
            editor_->SelectAll();
            editor_->BoxPaste("XY\r\nZW");
            QCOMPARE(TextOf(*editor_), intoEmpty);
            editor_->Undo();
            QCOMPARE(TextOf(*editor_), QString::fromLatin1(text));
        }
    }

    void cutAndStreamCopyUseShiftJisAtTheBoundary() {
        Load("(あ)\r\nb", 0, 1);
        Key(editor_.get(), Qt::Key_End, Qt::ShiftModifier);
        Key(editor_.get(), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(Clip(), QStringLiteral("あ)"));
        QVERIFY(!QGuiApplication::clipboard()->mimeData()->hasFormat(QString::fromLatin1(kBoxClipboardFormat)));
        QCOMPARE(TextOf(*editor_), QStringLiteral("(\r\nb"));
    }

    void streamSelectionEndingAtColumn0LeavesThatRowOut() {
        Load("a\r\nb\r\nc\r\nd", 1, 0);
        Key(editor_.get(), Qt::Key_Down, Qt::ShiftModifier);
        Key(editor_.get(), Qt::Key_Down, Qt::ShiftModifier);
        editor_->CommentSelection();
        QCOMPARE(TextOf(*editor_), QStringLiteral("a\r\n;b\r\n;c\r\nd"));
        // The same rows stay selected: a second run comments them again.
        editor_->CommentSelection();
        QCOMPARE(TextOf(*editor_), QStringLiteral("a\r\n;;b\r\n;;c\r\nd"));
        QCOMPARE(editor_->SelText(), std::string(";;b\r\n;;c\r\n"));
    }

    void blockOperationsUndoInOneStep_data() {
        QTest::addColumn<int>("op");
        QTest::addColumn<QString>("expected");
        QTest::newRow("IndentSelection") << 0 << " \ta\r\n ;b\r\n c";
        QTest::newRow("UnindentSelection") << 1 << "a\r\n;b\r\nc";
        QTest::newRow("TabIndentSelection") << 2 << "\t\ta\r\n\t;b\r\n\tc";
        QTest::newRow("TabUnindentSelection") << 3 << "a\r\n;b\r\nc";
        QTest::newRow("CommentSelection") << 4 << ";\ta\r\n;;b\r\n;c";
        QTest::newRow("UncommentSelection") << 5 << "\ta\r\nb\r\nc";
    }
    void blockOperationsUndoInOneStep() {
        QFETCH(int, op);
        const QString original = QStringLiteral("\ta\r\n;b\r\nc");
        Load(original, 0, 0);
        editor_->SelectAll();
        switch (op) {
        case 0: editor_->IndentSelection(); break;
        case 1: editor_->UnindentSelection(); break;
        case 2: editor_->TabIndentSelection(); break;
        case 3: editor_->TabUnindentSelection(); break;
        case 4: editor_->CommentSelection(); break;
        default: editor_->UncommentSelection(); break;
        }
        QTEST(TextOf(*editor_), "expected");
        QCOMPARE(editor_->Rows().UndoObj().UndoList().size(), 1u);
        editor_->Undo();
        QCOMPARE(TextOf(*editor_), original);
        QVERIFY(!editor_->CanUndo());
        QVERIFY(editor_->CanRedo());
    }

    void boxBlockOperationAtTheLeftColumn() {
        Load("abcd\r\nef\r\nghij", 0, 2);
        editor_->SetSelectionMode(selBox);
        editor_->Select({0, 2}, {2, 3});
        editor_->CommentSelection();
        QCOMPARE(TextOf(*editor_), QStringLiteral("ab;cd\r\nef\r\ngh;ij"));
        editor_->UncommentSelection();
        QCOMPARE(TextOf(*editor_), QStringLiteral("abcd\r\nef\r\nghij"));
    }

    void undoKeepsOnly64Steps() {
        Load("");
        for (int i = 0; i < 65; ++i) Type(editor_.get(), QStringLiteral("x"));
        editor_->SetUndoListMax(10);  // below 64: 64 stays
        QCOMPARE(editor_->UndoListMax(), 64);
        int undone = 0;
        while (editor_->CanUndo()) {
            Key(editor_.get(), Qt::Key_Z, Qt::ControlModifier);
            ++undone;
        }
        QCOMPARE(undone, 64);
        QCOMPARE(TextOf(*editor_), QStringLiteral("x"));
    }

    void undoRestoresTheCaretAndRedoReplays() {
        Load("abc\r\ndef", 0, 1);
        Type(editor_.get(), QStringLiteral("X"));
        editor_->SetRow(1);
        editor_->SetCol(3);
        Key(editor_.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(TextOf(*editor_), QStringLiteral("abc\r\ndef"));
        QCOMPARE(editor_->Row(), 0);
        QCOMPARE(editor_->Col(), 1);
        Key(editor_.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(TextOf(*editor_), QStringLiteral("aXbc\r\ndef"));
        QCOMPARE(editor_->Row(), 1);
        QCOMPARE(editor_->Col(), 3);
        // A paste of three lines is one step; undo puts the caret back.
        QGuiApplication::clipboard()->setText(QStringLiteral("1\r\n2\r\n3\r\n"));
        editor_->SetRow(0);
        editor_->SetCol(0);
        editor_->PasteFromClipboard();
        QCOMPARE(editor_->Row(), 3);
        editor_->Undo();
        QCOMPARE(TextOf(*editor_), QStringLiteral("aXbc\r\ndef"));
        QCOMPARE(editor_->Row(), 0);
        QCOMPARE(editor_->Col(), 0);
    }

    void aNewEditClearsRedo() {
        Load("ab", 0, 2);
        Type(editor_.get(), QStringLiteral("c"));
        editor_->Undo();
        QVERIFY(editor_->CanRedo());
        Type(editor_.get(), QStringLiteral("d"));
        QVERIFY(!editor_->CanRedo());
        QCOMPARE(TextOf(*editor_), QStringLiteral("abd"));
    }

    void inputMethodCommitIsOneInsertion() {
        Load("ab", 0, 1);
        QInputMethodEvent compose(QStringLiteral("にほんご"), {});
        QApplication::sendEvent(editor_.get(), &compose);
        QCOMPARE(editor_->Preedit(), QStringLiteral("にほんご"));
        QCOMPARE(TextOf(*editor_), QStringLiteral("ab"));
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("日本語"));
        QApplication::sendEvent(editor_.get(), &commit);
        QCOMPARE(editor_->Preedit(), QString());
        QCOMPARE(editor_->Lines().Text(), std::string("a\x93\xfa\x96\x7b\x8c\xea" "b"));
        QCOMPARE(editor_->Col(), 7);
        QCOMPARE(editor_->Rows().UndoObj().UndoList().size(), 1u);
        editor_->Undo();
        QCOMPARE(TextOf(*editor_), QStringLiteral("ab"));
    }

    // The input method reads the caret (and the selection's anchor) as
    // positions in the surrounding text it is given: UTF-16, not bytes.
    void inputMethodPositionsAreInTheSurroundingText() {
        Load("日本語のテキスト\r\nx", 0, 6);  // after "日本語"
        // Asked as the input method asks: through QWidget.
        auto query = [&](Qt::InputMethodQuery q) { return static_cast<QWidget*>(editor_.get())->inputMethodQuery(q); };
        QCOMPARE(query(Qt::ImSurroundingText).toString(), QStringLiteral("日本語のテキスト"));
        QCOMPARE(query(Qt::ImCursorPosition).toInt(), 3);
        QCOMPARE(query(Qt::ImAnchorPosition).toInt(), 3);
        Key(editor_.get(), Qt::Key_Right, Qt::ShiftModifier);
        Key(editor_.get(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(query(Qt::ImCursorPosition).toInt(), 5);
        QCOMPARE(query(Qt::ImAnchorPosition).toInt(), 3);
        // Past the end of the text: the end of the surrounding text.
        Options([](TEditorCaretProp& c) { c.FreeCaret = true; });
        Load("あa", 0, 6);
        QCOMPARE(query(Qt::ImCursorPosition).toInt(), 2);
    }

    // Shift+Ctrl+digit toggles that mark whatever symbol the keyboard layout
    // puts on the digit key: the key's place decides, not its symbol.
    void markKeysFollowThePhysicalDigitKey_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<int>("scanCode");  // 0: not known
        QTest::addColumn<int>("mark");
#if defined(Q_OS_WIN)
        const int digit8 = 0x09, digit9 = 0x0A, digit0 = 0x0B, digit2 = 0x03;
#else
        const int digit8 = 17, digit9 = 18, digit0 = 19, digit2 = 11;
#endif
        QTest::newRow("JIS shift+8 is (") << int(Qt::Key_ParenLeft) << "(" << digit8 << 8;
        QTest::newRow("US shift+9 is (") << int(Qt::Key_ParenLeft) << "(" << digit9 << 9;
        QTest::newRow("JIS shift+9 is )") << int(Qt::Key_ParenRight) << ")" << digit9 << 9;
        QTest::newRow("US shift+0 is )") << int(Qt::Key_ParenRight) << ")" << digit0 << 0;
        QTest::newRow("JIS shift+2 is \"") << int(Qt::Key_QuoteDbl) << "\"" << digit2 << 2;
        QTest::newRow("US shift+2 is @") << int(Qt::Key_At) << "@" << digit2 << 2;
        QTest::newRow("a digit key as such") << int(Qt::Key_7) << "7" << 0 << 7;
        QTest::newRow("no scan code: the US symbols") << int(Qt::Key_ParenLeft) << "(" << 0 << 9;
    }
    void markKeysFollowThePhysicalDigitKey() {
        QFETCH(int, key);
        QFETCH(QString, symbol);
        QFETCH(int, scanCode);
        QFETCH(int, mark);
        Load("a\r\nb\r\nc", 1, 0);
        QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier | Qt::ShiftModifier, static_cast<quint32>(scanCode),
                        0, 0, symbol);
        QApplication::sendEvent(editor_.get(), &press);
        QCOMPARE(editor_->RowMarksOf(1), std::uint16_t(1u << mark));
    }

    void doubleByteCharactersAreNeverSplit() {
        Options([](TEditorCaretProp& c) { c.FreeCaret = false; });
        Load("あいう\r\nabcdef", 0, 0);
        QList<int> cols;
        for (int i = 0; i < 3; ++i) {
            Key(editor_.get(), Qt::Key_Right);
            cols << editor_->Col();
        }
        for (int i = 0; i < 3; ++i) {
            Key(editor_.get(), Qt::Key_Left);
            cols << editor_->Col();
        }
        QCOMPARE(cols, (QList<int>{2, 4, 6, 4, 2, 0}));
        // From an odd column below, up lands on a character start.
        editor_->SetRow(1);
        editor_->SetCol(3);
        Key(editor_.get(), Qt::Key_Up);
        QCOMPARE(editor_->Col(), 2);
        editor_->SetCol(3);  // moving right
        QCOMPARE(editor_->Col(), 4);
        QTest::mouseClick(editor_->viewport(), Qt::LeftButton, {}, CellPoint(0, 3) + QPoint(editor_->CellWidth() / 2 - 1, 0));
        QVERIFY(editor_->Col() % 2 == 0);
        editor_->SetCol(4);
        Key(editor_.get(), Qt::Key_Backspace);
        QCOMPARE(TextOf(*editor_), QStringLiteral("あう\r\nabcdef"));
        QCOMPARE(editor_->Col(), 2);
        Key(editor_.get(), Qt::Key_Delete);
        QCOMPARE(TextOf(*editor_), QStringLiteral("あ\r\nabcdef"));
        QCOMPARE(editor_->CaretRect().left(), editor_->TextLeft() + 2 * editor_->CellWidth());
    }

    void readOnlyBlocksEveryEditPath() {
        Load("abc\r\ndef", 0, 1);
        Type(editor_.get(), QStringLiteral("x"));  // an undo step to try
        editor_->SetReadOnly(true);
        QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
        const QString before = TextOf(*editor_);
        Key(editor_.get(), Qt::Key_Right, Qt::ShiftModifier);
        for (int key : {int(Qt::Key_Return), int(Qt::Key_Tab), int(Qt::Key_Backspace), int(Qt::Key_Delete)})
            Key(editor_.get(), key);
        Type(editor_.get(), QStringLiteral("yz"));
        for (int key : {int(Qt::Key_V), int(Qt::Key_B), int(Qt::Key_X), int(Qt::Key_Z)})
            Key(editor_.get(), key, Qt::ControlModifier);
        Key(editor_.get(), Qt::Key_Return, Qt::ShiftModifier);
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("日本"));
        QApplication::sendEvent(editor_.get(), &commit);
        editor_->InsertText("q");
        editor_->PasteFromClipboard();
        editor_->BoxPaste("q");
        QCOMPARE(TextOf(*editor_), before);
        QCOMPARE(Clip(), QStringLiteral("clip"));
        // Copy still works, and the caret still moves.
        Key(editor_.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(Clip(), QStringLiteral("b"));
        // Nor do the program's own calls change the text.
        editor_->CommentSelection();
        editor_->DeleteRowAt(0);
        editor_->Undo();
        editor_->Lines().Put(0, "put");
        QCOMPARE(TextOf(*editor_), before);
        QVERIFY(editor_->Selected());
    }

    void textWithoutAShiftJisFormIsRefusedWhole() {
        Load("ab", 0, 1);
        QSignalSpy refused(editor_.get(), &TEditor::Unencodable);
        // The Yen key types the backslash byte (a yen sign in Japanese fonts).
        Type(editor_.get(), QStringLiteral("¥"));
        QCOMPARE(editor_->Lines().Text(), std::string("a\\b"));
        Type(editor_.get(), QStringLiteral("€"));
        QGuiApplication::clipboard()->setText(QStringLiteral("x😀y〜😀"));
        editor_->PasteFromClipboard();
        Key(editor_.get(), Qt::Key_B, Qt::ControlModifier);
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("〜é"));
        QApplication::sendEvent(editor_.get(), &commit);
        // Nothing went in, not even the characters that have a form.
        QCOMPARE(editor_->Lines().Text(), std::string("a\\b"));
        QStringList named;
        for (const QList<QVariant>& signal : refused) named << signal.at(0).toString();
        QCOMPARE(named, (QStringList{"€", "😀", "😀", "é"}));
        // The forms Japanese users mean go in as the bytes they stand for.
        QGuiApplication::clipboard()->setText(QStringLiteral("−〜‖"));
        editor_->PasteFromClipboard();
        QCOMPARE(editor_->Lines().Text(), std::string("a\\\x81\x7C\x81\x60\x81\x61" "b"));
        QCOMPARE(refused.size(), 4);
    }

    void overwriteReplacesCells() {
        Load("abcd", 0, 1);
        editor_->SetOverwriteMode(true);
        Type(editor_.get(), QStringLiteral("xy"));
        QCOMPARE(TextOf(*editor_), QStringLiteral("axyd"));
        Key(editor_.get(), Qt::Key_Return);
        QCOMPARE(TextOf(*editor_), QStringLiteral("axyd"));
    }

    void selStartAndSelLengthCountBreaksAsTwo() {
        Load("ab\r\ncd\r\n", 0, 1);
        Key(editor_.get(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(editor_->SelStart(), 1);
        QCOMPARE(editor_->SelLength(), 4);
        QCOMPARE(editor_->SelText(), std::string("b\r\nc"));
        editor_->SetSelStart(4);
        QVERIFY(!editor_->Selected());
        QCOMPARE(editor_->Row(), 1);
        QCOMPARE(editor_->Col(), 0);
        editor_->SetSelectionMode(selBox);
        editor_->SetSelLength(3);
        QCOMPARE(editor_->SelectionMode(), selStream);
        QCOMPARE(editor_->SelText(), std::string("cd\r\n"));
        editor_->SelectAll();
        QCOMPARE(editor_->SelStart(), 0);
        QCOMPARE(editor_->SelLength(), 8);
        QCOMPARE(editor_->Row(), 0);
    }

    void mouseSelects() {
        Load("abcdef\r\nghijkl\r\nmnopqr", 0, 0);
        QWidget* vp = editor_->viewport();
        QTest::mouseClick(vp, Qt::LeftButton, {}, CellPoint(0, 2));
        QCOMPARE(editor_->Col(), 2);
        QTest::mouseClick(vp, Qt::LeftButton, Qt::ShiftModifier, CellPoint(1, 4));
        QCOMPARE(editor_->SelText(), std::string("cdef\r\nghij"));
        // A press and a move of less than half a cell selects nothing.
        QTest::mousePress(vp, Qt::LeftButton, {}, CellPoint(2, 1));
        QMouseEvent small(QEvent::MouseMove, CellPoint(2, 1) + QPoint(editor_->CellWidth() / 2 - 1, 0), vp->mapToGlobal(QPoint()),
                          Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &small);
        QVERIFY(!editor_->Selected());
        QMouseEvent far(QEvent::MouseMove, CellPoint(2, 4), vp->mapToGlobal(QPoint()), Qt::NoButton, Qt::LeftButton,
                        Qt::NoModifier);
        QApplication::sendEvent(vp, &far);
        QTest::mouseRelease(vp, Qt::LeftButton, {}, CellPoint(2, 4));
        QCOMPARE(editor_->SelText(), std::string("nop"));
        // Left of the text: whole rows, extended by a drag.
        QTest::mousePress(vp, Qt::LeftButton, {}, QPoint(3, CellPoint(0, 0).y()));
        QCOMPARE(editor_->SelText(), std::string("abcdef\r\n"));
        QMouseEvent down(QEvent::MouseMove, QPoint(3, CellPoint(1, 0).y()), vp->mapToGlobal(QPoint()), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &down);
        QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(3, CellPoint(1, 0).y()));
        QCOMPARE(editor_->SelText(), std::string("abcdef\r\nghijkl\r\n"));
        QCOMPARE(editor_->Row(), 2);
        QCOMPARE(editor_->Col(), 0);
    }

    void signalsReportSelectionAndMode() {
        Load("abc", 0, 0);
        QSignalSpy selection(editor_.get(), &TEditor::SelectionChange);
        QSignalSpy mode(editor_.get(), &TEditor::SelectionModeChange);
        Key(editor_.get(), Qt::Key_Right, Qt::ShiftModifier);
        Key(editor_.get(), Qt::Key_Right);
        Key(editor_.get(), Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(selection.count(), 2);
        QCOMPARE(selection.at(0).at(0).toBool(), true);
        QCOMPARE(selection.at(1).at(0).toBool(), false);
        QCOMPARE(mode.count(), 1);
    }

    void matchingBracket() {
        Load("(a \"(\" （b）)");
        int row = 0, offset = 0;
        QVERIFY(editor_->FindMatchingBracket(row, offset));
        QCOMPARE(offset, 12);
        offset = 7;
        QVERIFY(editor_->FindMatchingBracket(row, offset));
        QCOMPARE(offset, 10);
        offset = 4;  // inside the string
        QVERIFY(!editor_->FindMatchingBracket(row, offset));
    }

    void queries() {
        Load("ab\tc\r\n;x y");
        QCOMPARE(editor_->RowWidth(0), 5);
        QCOMPARE(editor_->OffsetInLine(0, 3), 2);  // inside the tab: its start
        QCOMPARE(editor_->OffsetInLine(5, 0), -1);
        QCOMPARE(editor_->ExpandTabs("ab\tc"), std::string("ab  c"));
        QCOMPARE(editor_->ExpandedWidth("ab\tc"), 5);
        QCOMPARE(editor_->TokenKindAt(1, 2), tokComment);
        QCOMPARE(editor_->LineString(1), std::string(";x y"));
        editor_->SetRow(1);
        editor_->SetCol(1);
        std::string token;
        TTokenKind kind;
        QVERIFY(editor_->TokenAtCaret(token, kind));
        QCOMPARE(token, std::string(";x y"));
        QCOMPARE(kind, tokComment);
        // Without the fountain the plain word tokenizer sees words.
        QVERIFY(editor_->TokenAt(CellPoint(1, 1), false, token, kind));
        QCOMPARE(token, std::string("x"));
        QCOMPARE(kind, tokWord);
    }

    void popupMenuFollowsTheEditorState() {
        Load("abc");
        auto* menu = qobject_cast<TEditorPopupMenu*>(editor_->PopupMenu());
        QVERIFY(menu);
        auto item = [&](const char* caption) { return menu->Item(QString::fromUtf8(caption)); };
        menu->UpdateItems();
        QVERIFY(!item("元に戻す")->isEnabled());
        QVERIFY(!item("コピー")->isEnabled());
        QVERIFY(!item("貼り付け")->isEnabled());
        QVERIFY(item("すべて選択")->isEnabled());
        QCOMPARE(item("元に戻す")->text(), QStringLiteral("元に戻す(&U)\tCtrl+Z"));
        QCOMPARE(item("やり直し")->text(), QStringLiteral("やり直し(&R)\tShift+Ctrl+Z"));
        Type(editor_.get(), QStringLiteral("x"));
        editor_->SelectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("t"));
        menu->UpdateItems();
        for (const char* c : {"元に戻す", "切り取り", "コピー", "貼り付け", "Box貼り付け", "削除"})
            QVERIFY2(item(c)->isEnabled(), c);
        editor_->SetReadOnly(true);
        menu->UpdateItems();
        for (const char* c : {"元に戻す", "切り取り", "貼り付け", "Box貼り付け", "削除"})
            QVERIFY2(!item(c)->isEnabled(), c);
        QVERIFY(item("コピー")->isEnabled());
        item("Box選択モード")->trigger();
        QCOMPARE(editor_->SelectionMode(), selBox);
        menu->UpdateItems();
        QVERIFY(item("Box選択モード")->isChecked());
        // Marks: Shift+Ctrl+1 sets mark 1 on the caret row, Ctrl+1 jumps.
        editor_->SetReadOnly(false);
        Load("a\r\nb\r\nc", 2, 0);
        Key(editor_.get(), Qt::Key_1, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(editor_->RowMarksOf(2), std::uint16_t(1u << 1));
        editor_->SetRow(0);
        Key(editor_.get(), Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(editor_->Row(), 2);
    }

    void tokensArePaintedInTheirColours() {
        Load("(setq s \"str\") ; note");
        QImage image = editor_->viewport()->grab().toImage();
        // Whether a cell range of row 0 holds a pixel of the colour.
        auto has = [&](int from, int to, auto pred) {
            for (int x = editor_->TextLeft() + from * editor_->CellWidth(); x < editor_->TextLeft() + to * editor_->CellWidth(); ++x)
                for (int y = editor_->TextTop(); y < editor_->TextTop() + editor_->RowHeight(); ++y)
                    if (pred(image.pixelColor(x, y))) return true;
            return false;
        };
        auto red = [](const QColor& c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; };
        auto gray = [](const QColor& c) { return c == QColor(128, 128, 128); };
        QVERIFY(has(9, 12, red));
        QVERIFY(!has(1, 5, red));
        QVERIFY(has(17, 21, gray));
        QVERIFY(!has(9, 12, gray));
        // Selected cells take the selection colours.
        editor_->Select({0, 1}, {0, 5});
        image = editor_->viewport()->grab().toImage();
        QCOMPARE(image.pixelColor(editor_->TextLeft() + 2 * editor_->CellWidth(), editor_->TextTop() + 1),
                 QColor(0, 0x80, 0xFF));
    }

    void anEditRepaintsOnlyItsRows() {
        QString text;
        for (int i = 0; i < 40; ++i) text += QStringLiteral("(row %1)\r\n").arg(i);
        Load(text, 5, 3);
        QApplication::processEvents();
        TPaintRecorder recorder;
        editor_->viewport()->installEventFilter(&recorder);
        const int height = editor_->RowHeight();
        auto top = [&](int row) { return editor_->TextTop() + (row - editor_->TopRow()) * height; };
        // The rows the last change names, and nothing else.
        auto named = [&] {
            const TLastChange& c = editor_->Rows().LastChange();
            return QRect(0, top(c.FirstRow), editor_->viewport()->width(),
                         std::max({c.NewRowCount, c.StatesChanged, 1}) * height);
        };
        Type(editor_.get(), QStringLiteral("x"));
        QApplication::processEvents();
        QCOMPARE(recorder.painted.boundingRect(), named());
        QVERIFY(named().height() <= 2 * height);
        // A new row moves the rows below instead of drawing them again; the
        // row numbers below change, so the left bar is drawn again.
        recorder.painted = QRegion();
        Key(editor_.get(), Qt::Key_Return);
        QApplication::processEvents();
        const QRect textRows = recorder.painted.intersected(QRect(editor_->TextLeft(), 0, 2000, 2000)).boundingRect();
        QCOMPARE(textRows.top(), named().top());
        QCOMPARE(textRows.bottom(), named().bottom());
        QVERIFY(named().height() <= 3 * height);
        editor_->viewport()->removeEventFilter(&recorder);
    }
};

QTEST_MAIN(TestEditorCommands)
#include "tst_EditorCommands.moc"
