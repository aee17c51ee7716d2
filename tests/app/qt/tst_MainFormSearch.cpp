// The 検索 commands of the main window: find with its dialog, find again in
// both directions, replace with and without confirmation, the messages and
// where the confirmation is placed.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "app/qt/MainForm.h"
#include "editor/qt/EditorEx.h"
#include "search/qt/FormReplace.h"
#include "support/qt/MainFormFixture.h"

using namespace quodle;
using namespace quodle::testing;

namespace {
QString NotFound(const QString& find) {
    return QStringLiteral("検索文字列  ' ") + find + QStringLiteral(" '\nは見つかりませんでした。");
}
}  // namespace

class TestMainFormSearch : public QObject, TMainFormFixture {
    Q_OBJECT

    TTarnwickMainForm* w_ = nullptr;

    TEditorEx* Open(const QString& text) {
        w_ = Create();
        w_->ActiveEditor()->Lines().SetText(Utf8ToCp932(text.toStdString()));
        return w_->ActiveEditor();
    }
    void Trigger(const char* name) { w_->Action(QString::fromLatin1(name))->trigger(); }
    // The next find dialog: `find` typed, the direction, then OK.
    void AnswerFind(const QString& find, bool down = true) {
        dialogs_->modals.push_back([find, down](QDialog& dialog) {
            auto* form = qobject_cast<TFormSearch*>(&dialog);
            if (!form) return int(QDialog::Rejected);
            form->ComboBox1->setEditText(find);
            (down ? form->Forward : form->Backward)->setChecked(true);
            form->btnOK->click();
            return int(QDialog::Accepted);
        });
    }
    // The next replace dialog, closed by OK or by "すべて置換(&A)".
    void AnswerReplace(const QString& find, const QString& with, bool confirm, bool all, bool down = true) {
        dialogs_->modals.push_back([=](QDialog& dialog) {
            auto* form = qobject_cast<TFormReplace*>(&dialog);
            if (!form) return int(QDialog::Rejected);
            form->ComboBox1->setEditText(find);
            form->ComboBox2->setEditText(with);
            form->chkReplaceConfirm->setChecked(confirm);
            (down ? form->Forward : form->Backward)->setChecked(true);
            (all ? form->btnAll : form->btnOK)->click();
            return int(QDialog::Accepted);
        });
    }
    QString Text() const { return TextOf(*w_->ActiveEditor()); }

private slots:
    void init() { InitFixture(); }
    void cleanup() {
        w_ = nullptr;
        CleanupFixture();
    }

    void menu_itemsEnabledWithTheirKeys() {
        Open(QString());
        const struct {
            const char* name;
            const char* caption;
            const char* keys;
        } items[] = {{"Find3", "検索", "Ctrl+F"}, {"N18", "前方再検索", "F3"}, {"N19", "後方再検索", "Shift+F3"},
                     {"N21", "置き換え", "Ctrl+R"}};
        for (const auto& item : items) {
            QAction* a = w_->Action(QString::fromLatin1(item.name));
            QVERIFY2(a && a->isEnabled(), item.name);
            QCOMPARE(a->text().section(QLatin1Char('\t'), 0, 0), QString::fromUtf8(item.caption));
            QCOMPARE(a->shortcut(), QKeySequence(QString::fromLatin1(item.keys)));
        }
    }

    void find_thenAgainBothWaysAndNotFound() {
        TEditorEx* e = Open(QStringLiteral("(setq a 1)\r\n(setq b 2)\r\n(setq c 3)\r\n"));
        e->SetRow(1);
        // F3 before any search does nothing.
        QTest::keyClick(e, Qt::Key_F3);
        QCOMPARE(e->Selected(), false);
        AnswerFind(QStringLiteral("SETQ"));
        QTest::keyClick(e, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(w_->FindString(), QStringLiteral("SETQ"));
        QCOMPARE(e->SelectionRange().Start, (TRowOffset{1, 1}));
        QCOMPARE(w_->ReturnPoint().row, 1);
        QTest::keyClick(e, Qt::Key_F3);
        QCOMPARE(e->SelectionRange().Start, (TRowOffset{2, 1}));
        QTest::keyClick(e, Qt::Key_F3);
        QCOMPARE(Messages(), QStringList{NotFound(QStringLiteral("SETQ"))});
        QCOMPARE(e->SelectionRange().Start, (TRowOffset{2, 1}));  // unchanged
        QTest::keyClick(e, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(e->SelectionRange().Start, (TRowOffset{1, 1}));
        // The direction Shift+F3 chose stays.
        QVERIFY(!(w_->SearchOptions() & sfDown));
    }

    // 行トップへ after a hit: the caret at the very start, and the next
    // search from there, not from the hit.
    void find_againAfterJumpingToTheTopStartsThere() {
        TEditorEx* e = Open(QStringLiteral("x setq\r\nsetq a\r\nsetq b\r\n"));
        AnswerFind(QStringLiteral("setq"));
        Trigger("Find3");
        QCOMPARE(e->SelectionRange().Start, (TRowOffset{0, 2}));
        Trigger("N18");
        QCOMPARE(e->SelectionRange().Start, (TRowOffset{1, 0}));
        e->SetCol(4);
        Trigger("mnuJumpTop");
        QCOMPARE(e->Row(), 0);
        QCOMPARE(e->Col(), 0);
        QVERIFY(!e->Selected());
        Trigger("N18");
        QCOMPARE(e->SelectionRange().Start, (TRowOffset{0, 2}));
    }

    void find_refusedDialogEmptiesTheState() {
        TEditorEx* e = Open(QStringLiteral("abc abc"));
        AnswerFind(QStringLiteral("abc"));
        Trigger("Find3");
        QCOMPARE(e->SelectionRange().Start, (TRowOffset{0, 0}));
        dialogs_->modals.push_back([](QDialog& d) {
            qobject_cast<TFormSearch*>(&d)->btnCancel->click();
            return int(QDialog::Rejected);
        });
        Trigger("Find3");
        QVERIFY(w_->FindString().isEmpty());
        Trigger("N18");
        QCOMPARE(e->SelectionRange().Start, (TRowOffset{0, 0}));
        QVERIFY(Messages().isEmpty());
        // The history kept the accepted string.
        QCOMPARE(TSearchDialogStore(Path(QStringLiteral("search.ini"))).Read().SearchItems,
                 QStringList{QStringLiteral("abc")});
    }

    void replace_answeringNoVisitsEachMatchOnce() {
        Open(QStringLiteral("a a\r\na"));
        AnswerReplace(QStringLiteral("a"), QStringLiteral("b"), true, true);
        for (int i = 0; i < 3; ++i) dialogs_->confirms.push_back(TReplaceAnswer::No);
        Trigger("N21");
        QCOMPARE(dialogs_->Texts(TKind::Confirm).size(), 3);
        QCOMPARE(dialogs_->Texts(TKind::Confirm).first(), QStringLiteral(" a   を\n b   に 置き換えますか？"));
        QCOMPARE(Messages(), QStringList{NotFound(QStringLiteral("a"))});
        QCOMPARE(Text(), QStringLiteral("a a\r\na"));
    }

    void replace_allAtTheFirstQuestionTakesTheRestAtOnce() {
        TEditorEx* e = Open(QStringLiteral("x a a\r\na"));
        AnswerReplace(QStringLiteral("a"), QStringLiteral("bb"), true, true);
        dialogs_->confirms.push_back(TReplaceAnswer::Yes);
        dialogs_->confirms.push_back(TReplaceAnswer::All);
        Trigger("N21");
        // No more questions after All.
        QCOMPARE(Text(), QStringLiteral("x bb bb\r\nbb"));
        QCOMPARE(dialogs_->Texts(TKind::Confirm).size(), 2);
        QCOMPARE(Messages(), QStringList{QStringLiteral("3 個置き換えました．")});
        // All that All replaced is one undo step; the Yes before it another.
        e->Undo();
        QCOMPARE(Text(), QStringLiteral("x bb a\r\na"));
        e->Undo();
        QCOMPARE(Text(), QStringLiteral("x a a\r\na"));
        // The confirmation is placed by the caret's cell on the screen.
        const QRect caret = dialogs_->confirmCarets.front();
        QCOMPARE(caret.height(), e->RowHeight());
        QVERIFY(w_->rect().contains(w_->mapFromGlobal(caret.center())));
    }

    // Text past the 1000th cell of a long line (word wrap off): find says
    // where it is and shows it by wrapping when the user agrees; replace-all
    // changes it and says so. Nothing calls it "not found".
    void find_pastTheShownCellsAsksAndReplaceAllCounts() {
        const QString line = QString(1532, QLatin1Char('a')) + QStringLiteral("終点マーカー") + QStringLiteral("xyz");
        TEditorEx* e = Open(QStringLiteral("(setq a 1)\r\n") + line);
        const QString question = QStringLiteral(
            "検索文字列  ' 終点マーカー '\nは 2 行目の 1000 桁より後ろにあるため，このままでは表示できません．\n"
            "折り返し表示にして表示しますか？（元に戻す履歴は消えます．）");
        AnswerFind(QStringLiteral("終点マーカー"));
        dialogs_->answers.push_back(false);
        QTest::keyClick(e, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(dialogs_->Texts(TKind::Question), QStringList{question});
        QVERIFY(Messages().isEmpty());
        QVERIFY(!e->Selected() && !e->WordWrap());
        QCOMPARE(e->Row(), 0);
        dialogs_->answers.push_back(true);
        QTest::keyClick(e, Qt::Key_F3);
        QCOMPARE(dialogs_->Texts(TKind::Question).size(), 2);
        QVERIFY(e->WordWrap());
        QVERIFY(w_->Action(QStringLiteral("mnuWordWrap"))->isChecked());
        QCOMPARE(FromSjis(e->SelText()), QStringLiteral("終点マーカー"));
        QVERIFY(Messages().isEmpty());

        TEditorEx* other = Open(QStringLiteral("終点マーカー\r\n") + line);
        AnswerReplace(QStringLiteral("終点マーカー"), QStringLiteral("END"), false, true);
        Trigger("N21");
        QCOMPARE(Messages(), QStringList{QStringLiteral(
                                 "2 個置き換えました．\nそのうち 1 個は 1000 桁より後ろにあり，折り返し表示にすると見えます．")});
        QCOMPARE(Text(), QStringLiteral("END\r\n") + QString(line).replace(QStringLiteral("終点マーカー"), QStringLiteral("END")));
        QVERIFY(!other->WordWrap());
    }

    void replace_okWithoutConfirmationReplacesOne() {
        Open(QStringLiteral("a a a"));
        AnswerReplace(QStringLiteral("a"), QStringLiteral("b"), false, false);
        Trigger("N21");
        QCOMPARE(Text(), QStringLiteral("b a a"));
        QVERIFY(Messages().isEmpty());
    }

    void replace_allBackwardByTwoOfItselfEnds() {
        TEditorEx* e = Open(QStringLiteral("aaa\r\na"));
        e->SetRow(1);
        e->SetCol(1);
        AnswerReplace(QStringLiteral("a"), QStringLiteral("aa"), false, true, false);
        Trigger("N21");
        QCOMPARE(Text(), QStringLiteral("aaaaaa\r\naa"));
        QCOMPARE(Messages(), QStringList{QStringLiteral("4 個置き換えました．")});
        e->Undo();
        QCOMPARE(Text(), QStringLiteral("aaa\r\na"));
    }

    void replace_emptyReplacementOrCancelReplacesNothing() {
        TEditorEx* e = Open(QStringLiteral("x a"));
        e->SetHitStyle(hsCaret);
        AnswerReplace(QStringLiteral("a"), QString(), false, true);
        Trigger("N21");
        QCOMPARE(Text(), QStringLiteral("x a"));
        QVERIFY(w_->FindString().isEmpty() && w_->ReplaceString().isEmpty());
        // The caret hit style shows a drawn hit while asking, and comes back.
        AnswerReplace(QStringLiteral("a"), QStringLiteral("b"), true, false);
        THitStyle asked = hsSelect;
        dialogs_->confirms.push_back(TReplaceAnswer::Cancel);
        connect(e, &TEditor::CaretMoved, this, [&asked, e] { asked = e->HitStyle(); });
        Trigger("N21");
        QCOMPARE(asked, hsDraw);
        QCOMPARE(e->HitStyle(), hsCaret);
        QCOMPARE(Text(), QStringLiteral("x a"));
    }

    // Counted first, a replace-all that would grow the text past 2 GiB is
    // refused with its size, and nothing is replaced.
    void replace_allGrowingTheTextTooMuchIsRefused() {
        const QString text(3000000, QLatin1Char('a'));
        Open(text);
        AnswerReplace(QStringLiteral("a"), QString(1000, QLatin1Char('b')), false, true);
        Trigger("N21");
        const QStringList messages = Messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].startsWith(QStringLiteral("置き換えると文書が 3000000000 バイトになり，上限の ")) &&
                     messages[0].endsWith(QStringLiteral(" バイトを超えるため置き換えできません．")),
                 qPrintable(messages[0]));
        QVERIFY(Text() == text);
    }

    // A read-only text: the item is greyed out while the menu is open, and
    // its key says why nothing is replaced, without asking for anything.
    void replace_inAReadOnlyTextIsRefusedAndSaysSo() {
        TEditorEx* e = Open(QStringLiteral("a a"));
        QMenu* find = w_->menuBar()->findChild<QMenu*>(QStringLiteral("Find2"));
        QVERIFY(find);
        QAction* replace = w_->Action(QStringLiteral("N21"));
        emit find->aboutToShow();
        QVERIFY(replace->isEnabled());
        emit find->aboutToHide();
        e->SetReadOnly(true);
        emit find->aboutToShow();
        QVERIFY(!replace->isEnabled());
        emit find->aboutToHide();
        QVERIFY(replace->isEnabled());
        AnswerReplace(QStringLiteral("a"), QStringLiteral("b"), false, true);
        QTest::keyClick(e, Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(Messages(), QStringList{QStringLiteral("読み取り専用のため置き換えできません．")});
        QCOMPARE(dialogs_->modals.size(), std::size_t(1));  // the dialog never opened
        QCOMPARE(Text(), QStringLiteral("a a"));
        e->SetReadOnly(false);
    }

    void confirmBox_besideTheCaretWithoutCoveringIt() {
        const QRect screen(0, 0, 1000, 800);
        const QSize box(300, 120);
        // Above the caret's row, a row between.
        QCOMPARE(ConfirmBoxPosition(screen, QRect(100, 400, 2, 16), box), QPoint(102, 400 - 120 - 16));
        // No room above: below the row.
        QCOMPARE(ConfirmBoxPosition(screen, QRect(100, 50, 2, 16), box), QPoint(102, 66));
        // Kept inside the right edge.
        QCOMPARE(ConfirmBoxPosition(screen, QRect(900, 400, 2, 16), box), QPoint(1000 - 300 - 4, 264));
    }
};

QTEST_MAIN(TestMainFormSearch)
#include "tst_MainFormSearch.moc"
