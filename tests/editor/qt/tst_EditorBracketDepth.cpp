// Bracket depth colours on screen: the brackets of a nested definition in
// the colours of their depths, following edits and undo, on a light and a
// dark background.
#include <QtTest>
#include <set>

#include "base/qt/QtColor.h"
#include "editor/qt/EditorEx.h"
#include "support/qt/EditorInput.h"
#include "syntax/BracketDepth.h"
#include "syntax/ProgramFountains.h"

using namespace quodle;
using namespace quodle::testing;

class TestEditorBracketDepth : public QObject {
    Q_OBJECT

    std::unique_ptr<TEditorEx> editor_;

    // The depth colours (their places in the cycle) that a row shows.
    std::set<int> DepthsShown(int row) const {
        const QImage image = editor_->viewport()->grab().toImage();
        const QRect band(editor_->TextLeft(), editor_->TextTop() + (row - editor_->TopRow()) * editor_->RowHeight(),
                         image.width() - editor_->TextLeft(), editor_->RowHeight());
        const auto cycle = DepthColors(IsDarkBackground(editor_->Color()));
        std::set<int> shown;
        for (int i = 0; i < kDepthColorCount; ++i)
            if (CountPixels(image, band, ToQColor(cycle[static_cast<std::size_t>(i)].Color())) > 0) shown.insert(i);
        return shown;
    }

private slots:
    void init() {
        editor_ = ShownEditor(900, 300);
        editor_->SetFountain(CreateHyphenFountain1());
        TEditorFontProp font = editor_->EditorFont();
        font.Size = 20;  // strokes wide enough to show their colour unblended
        editor_->SetEditorFont(font);
        LoadText(*editor_,
                 "(defun c:nest (/ a)\r\n"
                 "  (setq a (list 1 \"(\" 2))\r\n"
                 "  ;( (\r\n"
                 "  (if a\r\n"
                 "    (progn (princ a))))\r\n");
        editor_->SetBracketDepthColors(true);
    }
    void cleanup() { editor_.reset(); }

    void nestedDefinitionShowsItsDepths() {
        QCOMPARE(DepthsShown(0), (std::set<int>{0, 1}));
        QCOMPARE(DepthsShown(1), (std::set<int>{1, 2}));  // not the bracket in the string
        QCOMPARE(DepthsShown(2), (std::set<int>{}));      // nor those in the comment
        QCOMPARE(DepthsShown(3), (std::set<int>{1}));
        QCOMPARE(DepthsShown(4), (std::set<int>{0, 1, 2, 3}));
        editor_->SetBracketDepthColors(false);
        for (int row = 0; row < 5; ++row) QCOMPARE(DepthsShown(row), (std::set<int>{}));
    }

    void aTypedBracketDeepensEveryRowBelowUntilUndone() {
        Type(editor_.get(), QStringLiteral("("));
        QCOMPARE(DepthsShown(0), (std::set<int>{0, 1, 2}));
        QCOMPARE(DepthsShown(3), (std::set<int>{2}));
        QCOMPARE(DepthsShown(4), (std::set<int>{1, 2, 3, 4}));
        Key(editor_.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(TextOf(*editor_).left(6), QStringLiteral("(defun"));
        QCOMPARE(DepthsShown(3), (std::set<int>{1}));
        QCOMPARE(DepthsShown(4), (std::set<int>{0, 1, 2, 3}));
    }

    void aDarkBackgroundTakesTheDarkCycle() {
        editor_->SetColor(clBlack);
        QVERIFY(IsDarkBackground(editor_->Color()));
        QCOMPARE(DepthsShown(1), (std::set<int>{1, 2}));
        // The light cycle is not used there.
        const QImage image = editor_->viewport()->grab().toImage();
        for (const TFountainColor& c : DepthColors(false))
            QCOMPARE(CountPixels(image, image.rect(), ToQColor(c.Color())), 0);
    }
};

QTEST_MAIN(TestEditorBracketDepth)
#include "tst_EditorBracketDepth.moc"
