// The settings dialog, the editor properties, the layout switches and the
// about box in the real main window, with the dialog and shell seams
// scripted.
#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

#include "app/IniFile.h"
#include "app/Settings.h"
#include "app/qt/AboutBox.h"
#include "app/qt/DocumentPage.h"
#include "app/qt/FontChooser.h"
#include "app/qt/MainForm.h"
#include "app/qt/PageControl.h"
#include "app/qt/SettingsDialog.h"
#include "app/qt/Shell.h"
#include "base/qt/QtColor.h"
#include "editor/qt/EditorEx.h"
#include "props/qt/EditorExPropAssign.h"
#include "support/qt/FakeShell.h"
#include "support/qt/MainFormFixture.h"

using namespace quodle;
using namespace quodle::testing;

namespace {

std::vector<TEditorEx*> AllDocumentEditors(TTarnwickMainForm* w) {
    std::vector<TEditorEx*> editors;
    for (int i = 0; i < w->PageControl()->PageCount(); ++i)
        for (TEditorEx* e : qobject_cast<TDocumentPage*>(w->PageControl()->Page(i))->Editors()) editors.push_back(e);
    return editors;
}

// The first text row of an editor as painted.
QImage FirstRow(TEditorEx* editor) {
    const QImage shot = editor->viewport()->grab().toImage();
    return shot.copy(0, editor->TextTop(), shot.width(), editor->RowHeight());
}

void Click(QDialog& dialog, const char* name) {
    auto* button = dialog.findChild<QAbstractButton*>(QString::fromLatin1(name));
    QVERIFY2(button, name);
    button->click();
}

QString ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

constexpr TColor kNewBack = 0x00D0F0E0;

}  // namespace

class TestSettings : public QObject, TMainFormFixture {
    Q_OBJECT

    // Three tabs, the middle one split and active.
    TTarnwickMainForm* ThreeTabs() {
        TTarnwickMainForm* w = Create();
        w->NewDocument();
        w->Action(QStringLiteral("mnuSplit"))->trigger();
        w->NewDocument();
        w->PageControl()->SetActivePageIndex(1);
        w->TabChange();
        for (TEditorEx* e : AllDocumentEditors(w)) e->Lines().SetText("(setq a 1) ; note");
        return w;
    }

private slots:
    void init() { InitFixture(); }
    void cleanup() { CleanupFixture(); }

    // OK gives every editor of every tab (both panes of a split) the chosen
    // font and colours, keeps the active tab, and asks before saving: No
    // writes nothing.
    void okAppliesToEveryEditor() {
        TTarnwickMainForm* w = ThreeTabs();
        const std::vector<TEditorEx*> editors = AllDocumentEditors(w);
        QCOMPARE(editors.size(), std::size_t(4));
        std::vector<QImage> before;
        for (TEditorEx* e : editors) before.push_back(FirstRow(e));
        dialogs_->fonts.push_back(QFont(QStringLiteral("IPAGothic"), 14));
        dialogs_->colors.push_back(QColor(0xE0, 0xF0, 0xD0));  // 0x00D0F0E0
        QStringList newBacks;
        dialogs_->modals.push_back([&newBacks](QDialog& d) {
            Click(d, "FontButton");
            Click(d, "BackgroundButton");
            for (const TSampleField* field : d.findChildren<TSampleField*>())
                if (field->Back() == kNewBack) newBacks << field->objectName();
            d.findChild<QRadioButton*>(QStringLiteral("Tab2"))->setChecked(true);
            return int(QDialog::Accepted);
        });
        dialogs_->answers.push_back(false);
        w->mnuSettingsClick();

        // The 基本 background is that of the font and token samples only.
        newBacks.sort();
        QCOMPARE(newBacks, (QStringList{QStringLiteral("CommentSample"), QStringLiteral("FontSample"),
                                        QStringLiteral("Reserve2Sample"), QStringLiteral("ReserveSample"),
                                        QStringLiteral("StringSample")}));
        QCOMPARE(w->PageControl()->ActivePageIndex(), 1);
        for (std::size_t i = 0; i < editors.size(); ++i) {
            TEditorEx* e = editors[i];
            QCOMPARE(e->EditorFont().Size, 14);
            QCOMPARE(e->Color(), kNewBack);
            QCOMPARE(e->Caret().TabSpaceCount, 2);
            const QImage after = FirstRow(e);
            QVERIFY2(after != before[i], qPrintable(QString::number(i)));
            QCOMPARE(after.pixelColor(after.width() - 3, after.height() / 2), QColor(0xE0, 0xF0, 0xD0));
        }
        QCOMPARE(w->OutputPane()->Color(), kNewBack);
        QCOMPARE(dialogs_->Texts(TKind::Question), QStringList{QStringLiteral("この設定を保存しますか？")});
        QVERIFY(!ReadFile(IniPath()).contains(QStringLiteral("[Font]")));
    }

    // The font dialog opens on the face a design name stands for, at its
    // size; offers only faces that draw ASCII in one width (and the current
    // face); and gives the design name back when only the size changed.
    void fontChooser_opensOnTheFontAndKeepsItsFace() {
        TFontChooser chooser(QFont(QStringLiteral("ＭＳ ゴシック"), 10), nullptr);
        QCOMPARE(chooser.Faces->currentItem()->text(), QStringLiteral("IPAGothic"));
        QCOMPARE(chooser.Size->value(), 10);
        QStringList faces;
        for (int i = 0; i < chooser.Faces->count(); ++i) faces << chooser.Faces->item(i)->text();
        QVERIFY(faces.contains(QStringLiteral("IPAGothic")));
        for (const char* proportional : {"IPAPGothic", "DejaVu Sans", "DejaVu Serif"})
            QVERIFY2(!faces.contains(QString::fromLatin1(proportional)), proportional);
        for (const QString& face : faces) QVERIFY2(IsCellFace(face), qPrintable(face));
        chooser.Size->setValue(14);
        QFont chosen = chooser.ChosenFont();
        QCOMPARE(chosen.family(), QStringLiteral("ＭＳ ゴシック"));
        QCOMPARE(chosen.pointSize(), 14);
        if (faces.contains(QStringLiteral("DejaVu Sans Mono"))) {
            chooser.Faces->setCurrentItem(chooser.Faces->findItems(QStringLiteral("DejaVu Sans Mono"), Qt::MatchExactly)[0]);
            QCOMPARE(chooser.ChosenFont().family(), QStringLiteral("DejaVu Sans Mono"));
        }
        // A proportional face already in use is still there to keep.
        TFontChooser kept(QFont(QStringLiteral("IPAPGothic"), 9), nullptr);
        QCOMPARE(kept.Faces->currentItem()->text(), QStringLiteral("IPAPGothic"));
        QVERIFY(kept.Faces->findItems(QStringLiteral("DejaVu Sans"), Qt::MatchExactly).isEmpty());
    }

    // Cancel changes nothing, asks nothing; a tab width the dialog does not
    // offer shows as 8.
    void cancelChangesNothing() {
        TTarnwickMainForm* w = ThreeTabs();
        TEditorExProp odd = PropOf(*w->ActiveEditor());
        odd.Caret.TabSpaceCount = 6;
        AssignTo(odd, *w->ActiveEditor());
        std::vector<TEditorExProp> before;
        for (TEditorEx* e : AllDocumentEditors(w)) before.push_back(PropOf(*e));
        bool eightShown = false;
        dialogs_->colors.push_back(QColor(Qt::red));
        dialogs_->modals.push_back([&eightShown](QDialog& d) {
            eightShown = d.findChild<QRadioButton*>(QStringLiteral("Tab8"))->isChecked();
            Click(d, "CommentButton");
            return int(QDialog::Rejected);
        });
        w->mnuSettingsClick();
        QVERIFY(eightShown);
        std::size_t i = 0;
        for (TEditorEx* e : AllDocumentEditors(w)) QVERIFY(PropOf(*e) == before[i++]);
        QVERIFY(dialogs_->Texts(TKind::Question).isEmpty());
    }

    // Yes writes the dialog's keys; the next window starts with them.
    void yesWritesTheSettings() {
        TTarnwickMainForm* w = Create();
        dialogs_->colors.push_back(QColor(0x12, 0x34, 0x56));  // 0x00563412
        dialogs_->modals.push_back([](QDialog& d) {
            Click(d, "BarBkButton");
            d.findChild<QRadioButton*>(QStringLiteral("Tab8"))->setChecked(true);
            return int(QDialog::Accepted);
        });
        dialogs_->answers.push_back(true);
        w->mnuSettingsClick();
        delete w;
        const QString ini = ReadFile(IniPath());
        QVERIFY2(ini.contains(QStringLiteral("[LeftBar]\nColor=clGray\nBkColor=$00563412\n")), qPrintable(ini));
        QVERIFY(ini.contains(QStringLiteral("TabSpaceCount=8\n")));
        QVERIFY(ini.contains(QStringLiteral("[Font]\nName=ＭＳ ゴシック\nSize=10\n")));
        TTarnwickMainForm* again = Create();
        QCOMPARE(again->ActiveEditor()->Leftbar().BkColor, TColor(0x00563412));
        QCOMPARE(again->ActiveEditor()->Caret().TabSpaceCount, 8);
    }

    // The text colour of the 基本 group and a dark background: ordinary
    // words and numbers are drawn in that colour on that background, in the
    // tab open at the time and in one opened after it, and after a restart.
    void textColorAndBackgroundReachOrdinaryText() {
        TTarnwickMainForm* w = Create();
        w->ActiveEditor()->Lines().SetText("(setq abc 12)");
        const QColor back(0x20, 0x20, 0x30), text(0xF0, 0xF0, 0xF0);
        dialogs_->colors.push_back(text);
        dialogs_->colors.push_back(back);
        dialogs_->modals.push_back([](QDialog& d) {
            Click(d, "FontColorButton");
            Click(d, "BackgroundButton");
            return int(QDialog::Accepted);
        });
        dialogs_->answers.push_back(true);
        w->mnuSettingsClick();
        QVERIFY(ReadFile(IniPath()).contains(QStringLiteral("Color=$00F0F0F0\nBkColor=$00302020\n")));
        auto check = [&](TEditorEx* e, const char* which) {
            QCOMPARE(e->EditorFont().Color, FromQColor(text));
            const QImage row = FirstRow(e);
            // "abc" (cells 6 to 8) and "12" (cells 10, 11): the background
            // all round the glyphs, and glyphs in the text colour.
            for (const auto& [first, last] : {std::pair{6, 9}, std::pair{10, 12}}) {
                const int left = e->TextLeft() + first * e->CellWidth(), right = e->TextLeft() + last * e->CellWidth();
                int lit = 0;
                for (int x = left; x < right; ++x) {
                    QVERIFY2(row.pixelColor(x, 0) == back, which);
                    for (int y = 0; y < row.height(); ++y) lit += row.pixelColor(x, y).lightness() > 200 ? 1 : 0;
                }
                QVERIFY2(lit > 3, which);
            }
        };
        check(w->ActiveEditor(), "open at the change");
        w->NewDocument();
        w->ActiveEditor()->Lines().SetText("(setq abc 12)");
        check(w->ActiveEditor(), "opened after it");
        delete w;
        TTarnwickMainForm* again = Create();
        again->ActiveEditor()->Lines().SetText("(setq abc 12)");
        check(again->ActiveEditor(), "after a restart");
    }

    // Word wrap and its width from the 設定 menu reach every editor, the
    // template and the next start.
    void layoutSwitchesSurviveARestart() {
        TTarnwickMainForm* w = ThreeTabs();
        w->Action(QStringLiteral("mnuWordWrap"))->trigger();
        dialogs_->integers.push_back(40);
        w->Action(QStringLiteral("mnuWrapWidth"))->trigger();
        w->Action(QStringLiteral("mnuLineNumbers"))->trigger();  // on by design: now off
        w->Action(QStringLiteral("mnuTabWidth2"))->trigger();
        w->Action(QStringLiteral("mnuBracketDepth"))->trigger();
        for (TEditorEx* e : AllDocumentEditors(w)) {
            QVERIFY(e->BracketDepthColors());
            QVERIFY(e->WordWrap());
            QCOMPARE(e->WrapOption().WrapByte, 40);
            QVERIFY(!e->Leftbar().Visible);
            QCOMPARE(e->Caret().TabSpaceCount, 2);
        }
        QVERIFY(w->Action(QStringLiteral("mnuWordWrap"))->isChecked());
        w->NewDocument();
        QVERIFY(w->ActiveEditor()->WordWrap());
        delete w;

        TTarnwickMainForm* again = Create();
        TEditorEx* e = again->ActiveEditor();
        QVERIFY(e->WordWrap());
        QCOMPARE(e->WrapOption().WrapByte, 40);
        QVERIFY(!e->Leftbar().Visible);
        QVERIFY(e->BracketDepthColors());
        QVERIFY(!again->OutputPane()->BracketDepthColors());  // the reports' brackets are no code
        // The tab width is the settings dialog's key, which was never saved.
        QCOMPARE(e->Caret().TabSpaceCount, 4);
        again->Action(QStringLiteral("mnuWordWrap"))->trigger();
        QVERIFY(!e->WordWrap());
    }

    // A stored set from a newer version or a damaged file still gives
    // usable editors: unknown records passed over, values brought into range.
    void damagedStoredSetStartsSoundly() {
        IniDocument doc;
        settings::WriteBlob(doc, settings::kEditorPropSection,
                            "Future.Setting=1\nWordWrap=1\nWrapOption.WrapByte=100000\nLeftbar.Column=-5\n"
                            "Margin.Top=x\nCaret.TabSpaceCount=0\n");
        QFile f(IniPath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromStdString(doc.Serialize()));
        f.close();
        TTarnwickMainForm* w = Create();
        TEditorEx* e = w->ActiveEditor();
        QVERIFY(e->WordWrap());
        QCOMPARE(e->WrapOption().WrapByte, TEditorWrapOption::kMaxWrapByte);
        QCOMPARE(e->Leftbar().Column, 1);
        QCOMPARE(e->Margin().Top, TEditorMarginProp().Top);
        // The tab width is the settings dialog's key; the stored set does not override it.
        QCOMPARE(e->Caret().TabSpaceCount, 4);
    }

    // カレント環境設定: OK applies the dialog's set to the active editor and
    // the template; Cancel leaves both.
    void currentPropsDialog() {
        TTarnwickMainForm* w = Create();
        TEditorEx* e = w->ActiveEditor();
        const TEditorExProp before = PropOf(*e);
        dialogs_->modals.push_back([](QDialog& d) {
            d.findChild<QAbstractButton*>(QStringLiteral("RulerVisible"))->click();
            return int(QDialog::Rejected);
        });
        w->mnuCurrentPropsClick();
        QVERIFY(PropOf(*e) == before);
        dialogs_->modals.push_back([](QDialog& d) {
            d.findChild<QAbstractButton*>(QStringLiteral("RulerVisible"))->click();
            d.findChild<QAbstractButton*>(QStringLiteral("TabMark"))->click();
            return int(QDialog::Accepted);
        });
        w->mnuCurrentPropsClick();
        QVERIFY(e->Ruler().Visible);
        QVERIFY(e->ExMarks().TabMark.Visible);
        QVERIFY(w->Template().Ruler.Visible);
        QCOMPARE(dialogs_->calls.back().caption, QStringLiteral("カレント環境設定"));
    }

    // The about box opens the author's addresses through the shell.
    void aboutBoxOpensAddresses() {
        TFakeShell shell;
        shellSeam_ = &shell;
        TTarnwickMainForm* w = Create();
        dialogs_->modals.push_back([](QDialog& d) {
            for (const char* name : {"MailField", "UrlField"}) {
                auto* field = d.findChild<QWidget*>(QString::fromLatin1(name));
                QTest::mouseClick(field, Qt::LeftButton);
            }
            return int(QDialog::Accepted);
        });
        w->mnuAboutClick();
        QCOMPARE(dialogs_->calls.back().caption, QStringLiteral("バージョン情報"));
        QCOMPARE(shell.opened, (QStringList{QStringLiteral("mailto:") + QString::fromUtf8(kAboutMail),
                                            QString::fromUtf8(kAboutUrl)}));
    }
};

QTEST_MAIN(TestSettings)
#include "tst_Settings.moc"
