// The 設定 items with an action of their own: the token-kind display and
// the scroll timing.
#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPointer>

#include "app/qt/MainForm.h"
#include "app/qt/StatusPanels.h"
#include "base/qt/QtText.h"
#include "editor/qt/EditorEx.h"
#include "syntax/TokenKinds.h"

namespace quodle {

namespace {

// While the scroll timing runs, the user's input is held off (it would edit
// or close what is being scrolled), but Esc stops the timing.
class TScrollTestInput : public QObject {
public:
    TScrollTestInput() { QCoreApplication::instance()->installEventFilter(this); }
    ~TScrollTestInput() override { QCoreApplication::instance()->removeEventFilter(this); }
    bool Stopped() const { return stopped_; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
                if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) stopped_ = true;
                return true;
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::Close:
                return true;
            default:
                return false;
        }
    }

private:
    bool stopped_ = false;
};

}  // namespace

void TTarnwickMainForm::ShowTokenKind(TEditorEx* editor) {
    if (!Action(QStringLiteral("mnuShowTokenKind"))->isChecked() || editor != ActiveEditor()) return;
    std::string text;
    TTokenKind kind = tokEnd;
    editor->TokenAtCaret(text, kind);
    StatusBar1->SetPanelText(TStatusPanels::kCommandPanel, QStringLiteral("[%1] ").arg(QString::fromLatin1(TokenKindName(kind))) +
                                                SjisToQString(text));
}

// The view steps down one row at a time, drawn at each step, from the top
// until the last row shows at the bottom.
void TTarnwickMainForm::mnuScrollTestClick() {
    QPointer<TEditorEx> editor = ActiveEditor();
    if (!editor) return;
    QElapsedTimer timer;
    timer.start();
    const int last = editor->Rows().Count() - editor->VisibleRowCount();
    {
        TScrollTestInput input;
        qint64 nextLook = 50;
        for (int row = 0; row <= last; ++row) {
            editor->SetTopRow(row);
            editor->viewport()->repaint();
            if (timer.elapsed() < nextLook) continue;
            // Now and then the window's own events (and Esc) come through.
            nextLook = timer.elapsed() + 50;
            QCoreApplication::processEvents();
            if (!editor || input.Stopped()) break;
        }
    }
    ShowElapsed(timer);
}

}  // namespace quodle
