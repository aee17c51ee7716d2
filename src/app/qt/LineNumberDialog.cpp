#include "app/qt/LineNumberDialog.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

namespace quodle {

TLineNumberDialog::TLineNumberDialog(QWidget* owner) : QDialog(owner, Qt::Tool), edit_(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("行番号ジャンプ"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(edit_);
    edit_->setObjectName(QStringLiteral("Edit1"));
    // Text comes in through the key filter only: no input method, no menu
    // to paste from, no drops.
    edit_->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit_->setContextMenuPolicy(Qt::NoContextMenu);
    edit_->setAcceptDrops(false);
    edit_->installEventFilter(this);
    setFixedWidth(180);
}

QString TLineNumberDialog::Text() const { return edit_->text(); }

bool TLineNumberDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit_) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        // The main window's shortcuts never fire from inside the prompt.
        event->accept();
        return false;
    }
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            accept();
            return true;
        case Qt::Key_Escape:
            reject();
            return true;
        case Qt::Key_Backspace:
            return false;
        default:
            break;
    }
    const QString text = key->text();
    const bool digit = text.size() == 1 && text[0] >= QLatin1Char('0') && text[0] <= QLatin1Char('9') &&
                       !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    // Every other key is dropped, caret keys and paste included.
    return !digit;
}

void TLineNumberDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QWidget* owner = parentWidget()) move(owner->window()->geometry().center() - rect().center());
    edit_->setFocus();
}

}  // namespace quodle
