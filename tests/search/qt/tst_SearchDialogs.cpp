// The find and replace dialogs: their controls and texts, what they read
// from and write to the per-user store, and the strings and options they
// give.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "search/qt/FormReplace.h"
#include "search/qt/SearchDialogStore.h"

using namespace quodle;

class TestSearchDialogs : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString Ini() const { return dir_->filePath(QStringLiteral("search.ini")); }
    void Raw(const QString& key, const QString& value) const {
        QSettings s(Ini(), QSettings::IniFormat);
        s.setValue(QStringLiteral("TStrings Property Editor/") + key, value);
    }
    QString Raw(const QString& key) const {
        return QSettings(Ini(), QSettings::IniFormat).value(QStringLiteral("TStrings Property Editor/") + key).toString();
    }
    template <class T>
    static QString TextOf(const QWidget& form, const char* name) {
        const T* w = form.findChild<T*>(QString::fromLatin1(name));
        return w ? w->text() : QStringLiteral("<none>");
    }

private slots:
    void init() { dir_ = std::make_unique<QTemporaryDir>(); }

    void store_defaultsValuesAndHistories() {
        const TSearchDialogStore store(Ini());
        QVERIFY(store.Read() == TSearchDialogState{});
        QCOMPARE(store.Read().Direction, 1);
        Raw(QStringLiteral("Options/MatchCase"), QStringLiteral("7"));  // non-zero is on
        Raw(QStringLiteral("Options/WholeWord"), QStringLiteral("yes"));  // no number: the default
        Raw(QStringLiteral("Options/Direction"), QStringLiteral("0"));
        Raw(QStringLiteral("SearchItems/Text"), QStringLiteral("b\r\na\r\n"));
        TSearchDialogState state = store.Read();
        QVERIFY(state.MatchCase && !state.WholeWord);
        QCOMPARE(state.Direction, 0);
        QCOMPARE(state.SearchItems, (QStringList{QStringLiteral("b"), QStringLiteral("a")}));
        state.IncludeCRLF = true;
        state.ReplaceItems = {QStringLiteral("x")};
        store.Write(state, false);
        QCOMPARE(Raw(QStringLiteral("Options/IncludeCRLF")), QStringLiteral("1"));
        QCOMPARE(Raw(QStringLiteral("Options/MatchCase")), QStringLiteral("1"));
        QCOMPARE(Raw(QStringLiteral("SearchItems/Text")), QStringLiteral("b\r\na"));
        QCOMPARE(Raw(QStringLiteral("ReplaceItems/Text")), QString());  // the find dialog keeps it
        store.Write(state, true);
        QCOMPARE(store.Read(), state);
    }

    void history_movesRepeatsUpAndKeepsThirtyTwo() {
        QStringList items;
        for (int i = 0; i < 32; ++i) PushHistory(items, QString::number(i));
        PushHistory(items, QStringLiteral("5"));
        QCOMPARE(items.size(), 32);
        QCOMPARE(items.first(), QStringLiteral("5"));
        QCOMPARE(items.count(QStringLiteral("5")), 1);
        QCOMPARE(items.last(), QStringLiteral("0"));
        PushHistory(items, QStringLiteral("new"));  // the 33rd distinct entry
        QCOMPARE(items.size(), 32);
        QCOMPARE(items.last(), QStringLiteral("1"));
        PushHistory(items, QStringLiteral("NEW"));  // compared exactly
        QCOMPARE(items.mid(0, 2), (QStringList{QStringLiteral("NEW"), QStringLiteral("new")}));
    }

    void findDialog_controlsAndStoredState() {
        TSearchDialogState stored;
        stored.WholeWord = true;
        stored.Direction = 0;
        stored.SearchItems = {QStringLiteral("setq"), QStringLiteral("defun")};
        TSearchDialogStore(Ini()).Write(stored, true);
        const TSearchDialogStore store(Ini());
        TFormSearch form(store);
        QCOMPARE(form.windowTitle(), QStringLiteral("検索"));
        QCOMPARE(TextOf<QLabel>(form, "Label1"), QStringLiteral("検索する文字列(&T):"));
        QCOMPARE(form.findChild<QGroupBox*>(QStringLiteral("RadioGroup1"))->title(), QStringLiteral(" 検索方向 "));
        QCOMPARE(form.findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->title(), QStringLiteral(" ｵﾌﾟｼｮﾝ "));
        QCOMPARE(form.Backward->text(), QStringLiteral("後方(&B)"));
        QCOMPARE(form.Forward->text(), QStringLiteral("前方(&D)"));
        QCOMPARE(form.chkMatchCase->text(), QStringLiteral("大/小文字の区別(&C)"));
        QCOMPARE(form.chkWholeWord->text(), QStringLiteral("単語単位で探す(&W)"));
        QCOMPARE(form.chkNoMatchZenkaku->text(), QStringLiteral("全角・半角を区別しない(&Z)"));
        QCOMPARE(form.chkIncludeCRLF->text(), QStringLiteral("改行・スペースを無視(&L)"));
        QCOMPARE(form.font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(form.font().pixelSize(), 12);
        QVERIFY(!form.findChild<QComboBox*>(QStringLiteral("ComboBox2")));
        // The stored state, the newest history entry ready.
        QVERIFY(form.chkWholeWord->isChecked() && !form.chkMatchCase->isChecked());
        QVERIFY(form.Backward->isChecked());
        QCOMPARE(form.ComboBox1->currentText(), QStringLiteral("setq"));
        QCOMPARE(form.ComboBox1->count(), 2);

        form.ComboBox1->setEditText(QStringLiteral("defun"));
        form.Forward->setChecked(true);
        form.chkIncludeCRLF->setChecked(true);
        form.btnOK->click();
        QVERIFY(form.Accepted());
        QCOMPARE(form.FindText(), QStringLiteral("defun"));
        QCOMPARE(form.Options(), TSearchOptions(sfDown | sfWholeWord | sfIncludeCRLF | sfIncludeSpace));
        const TSearchDialogState after = store.Read();
        QCOMPARE(after.SearchItems, (QStringList{QStringLiteral("defun"), QStringLiteral("setq")}));
        QVERIFY(after.IncludeCRLF && after.WholeWord);
        QCOMPARE(after.Direction, 1);
    }

    void findDialog_enterInTheFindBoxIsOk() {
        TSearchDialogState stored;
        stored.SearchItems = {QStringLiteral("setq")};
        const TSearchDialogStore store(Ini());
        store.Write(stored, true);
        for (const bool fromHistory : {true, false}) {
            TFormSearch form(store);
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            if (!fromHistory) {
                form.ComboBox1->lineEdit()->clear();
                QTest::keyClicks(form.ComboBox1->lineEdit(), QStringLiteral("defun"));
            }
            QTest::keyClick(form.ComboBox1->lineEdit(), Qt::Key_Return);
            QVERIFY2(form.Accepted(), fromHistory ? "from the history" : "typed");
            QCOMPARE(form.FindText(), fromHistory ? QStringLiteral("setq") : QStringLiteral("defun"));
            QVERIFY(form.isHidden());
        }
    }

    void findDialog_cancelAndEmptyAreRefused() {
        const TSearchDialogStore store(Ini());
        {
            TFormSearch form(store);
            QCOMPARE(form.ComboBox1->currentText(), QString());
            form.ComboBox1->setEditText(QStringLiteral("abc"));
            form.chkMatchCase->setChecked(true);
            form.btnCancel->click();
            QVERIFY(!form.Accepted());
            QVERIFY(store.Read() == TSearchDialogState{});  // nothing stored
        }
        TFormSearch form(store);
        form.chkMatchCase->setChecked(true);
        form.btnOK->click();
        QVERIFY(!form.Accepted());
        QVERIFY(form.FindText().isEmpty());
        // OK stores the options even without a string, but no history.
        QVERIFY(store.Read().MatchCase);
        QVERIFY(store.Read().SearchItems.isEmpty());
    }

    void replaceDialog_confirmAlwaysCheckedAndBothHistories() {
        TSearchDialogState stored;
        stored.SearchItems = {QStringLiteral("old")};
        stored.ReplaceItems = {QStringLiteral("new")};
        TSearchDialogStore(Ini()).Write(stored, true);
        const TSearchDialogStore store(Ini());
        TFormReplace form(store);
        QCOMPARE(form.windowTitle(), QStringLiteral("置換"));
        QCOMPARE(TextOf<QLabel>(form, "Label2"), QStringLiteral("置換える文字列(&R):"));
        QCOMPARE(form.btnAll->text(), QStringLiteral("すべて置換(&A)"));
        QCOMPARE(form.chkReplaceConfirm->text(), QStringLiteral("置換え動作の確認(&P)"));
        QVERIFY(form.chkReplaceConfirm->isChecked());
        QCOMPARE(form.ComboBox1->currentText(), QStringLiteral("old"));
        QCOMPARE(form.ComboBox2->currentText(), QString());  // emptied, the history behind it
        QCOMPARE(form.ComboBox2->count(), 1);

        form.ComboBox2->setEditText(QStringLiteral("newer"));
        form.chkReplaceConfirm->setChecked(false);
        form.btnAll->click();
        QVERIFY(form.Accepted());
        QCOMPARE(form.ReplaceText(), QStringLiteral("newer"));
        QCOMPARE(form.Options(), TSearchOptions(sfDown | sfReplaceAll));
        QCOMPARE(store.Read().ReplaceItems, (QStringList{QStringLiteral("newer"), QStringLiteral("new")}));

        // OK gives sfReplace; an empty replace box refuses the dialog.
        TFormReplace again(store);
        QVERIFY(again.chkReplaceConfirm->isChecked());
        again.btnOK->click();
        QCOMPARE(again.Options(), TSearchOptions(sfDown | sfReplace | sfReplaceConfirm));
        QVERIFY(!again.Accepted());
        QCOMPARE(again.FindText(), QStringLiteral("old"));
    }
};

QTEST_MAIN(TestSearchDialogs)
#include "tst_SearchDialogs.moc"
