#include "lisp/qt/PickListWindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/qt/QtText.h"

namespace quodle {

namespace {

constexpr int kItemHeight = 16;
constexpr int kMemoHeight = 68;
constexpr int kFontPixels = 13;
constexpr int kDataRole = Qt::UserRole;
constexpr int kBytesRole = Qt::UserRole + 1;

const QString kUserFunctionMark = QStringLiteral("ユーザー関数");

bool IsDetailText(const QString& text) { return text.isEmpty() || text.front() == QLatin1Char(' '); }

// Items are drawn by the window: detail lines plain, names bold outside the
// user-function lists, the selected item white on the selection colour, and
// a "(" before every name of a function-name pick list.
class TItemPainter final : public QStyledItemDelegate {
public:
    explicit TItemPainter(const TForm5* form) : QStyledItemDelegate(const_cast<TForm5*>(form)), form_(form) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QString text = index.data(Qt::DisplayRole).toString();
        const bool detail = IsDetailText(text);
        const bool selected = !detail && (option.state & QStyle::State_Selected);
        QFont font = option.font;
        QColor fill = QApplication::palette().color(QPalette::ToolTipBase);
        QColor ink = Qt::black;
        if (selected) {
            fill = option.palette.color(QPalette::Highlight);
            ink = Qt::white;
            font.setBold(true);
        } else if (!detail) {
            font.setBold(!form_->IsUserFunctionList());
        }
        p->save();
        p->fillRect(option.rect, fill);
        p->setFont(font);
        p->setPen(ink);
        const QString shown = !detail && form_->Mode() == TForm5::fmFunc ? QLatin1Char('(') + text : text;
        p->drawText(option.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
        p->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight};
    }

private:
    const TForm5* form_;
};

}  // namespace

TForm5::TForm5(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(kUserFunctionMark);
    resize(kDesignWidth, kDesignHeight);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->setChildrenCollapsible(false);
    ListBox1 = new QListWidget(splitter);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(kFontPixels);
    ListBox1->setFont(font);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setItemDelegate(new TItemPainter(this));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    Memo1 = new QPlainTextEdit(splitter);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    splitter->addWidget(ListBox1);
    splitter->addWidget(Memo1);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setSizes({kDesignHeight - kMemoHeight, kMemoHeight});
    layout->addWidget(splitter);

    BitBtn1 = new QToolButton(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setText(QStringLiteral("×"));
    BitBtn1->setFixedSize(18, 18);
    connect(BitBtn1, &QToolButton::clicked, this, &QDialog::reject);

    connect(ListBox1, &QListWidget::currentRowChanged, this, [this] { ShowComment(); });
    connect(ListBox1, &QListWidget::itemClicked, this, [this] { ShowComment(); });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { Pick(); });
    ListBox1->installEventFilter(this);
    Memo1->installEventFilter(this);
    Memo1->viewport()->installEventFilter(this);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TForm5::SetCaption(const QString& caption) { setWindowTitle(caption); }

TForm5::TMode TForm5::Mode() const {
    if (windowTitle() == QLatin1String("func")) return fmFunc;
    if (windowTitle() == QLatin1String("system")) return fmSystem;
    return fmJump;
}

bool TForm5::IsUserFunctionList() const { return windowTitle().contains(kUserFunctionMark); }

void TForm5::AddItems(const std::vector<TPickItem>& items) {
    for (const TPickItem& item : items) {
        auto* entry = new QListWidgetItem(SjisToQString(item.Text), ListBox1);
        entry->setData(kDataRole, item.Data);
        entry->setData(kBytesRole, QByteArray(item.Text.data(), static_cast<qsizetype>(item.Text.size())));
    }
}

int TForm5::Count() const { return ListBox1->count(); }

std::optional<TPickItem> TForm5::SelectedItem() const {
    const QListWidgetItem* item = ListBox1->currentItem();
    if (!item || !item->isSelected()) return std::nullopt;
    return TPickItem{item->data(kBytesRole).toByteArray().toStdString(), item->data(kDataRole).toInt()};
}

void TForm5::MakePickList() {
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    resize(kPickListWidth, kPickListHeight);
}

void TForm5::showEvent(QShowEvent* event) {
    if (!IsUserFunctionList()) {
        Memo1->hide();
        Memo1->resize(Memo1->width(), 1);
    }
    if (ListBox1->count() > 0) {
        ListBox1->setCurrentRow(0);
        ShowComment();
    }
    ListBox1->setFocus();
    QDialog::showEvent(event);
}

void TForm5::resizeEvent(QResizeEvent* event) {
    // The close button sits at the top right over the list.
    BitBtn1->move(width() - BitBtn1->width() - 2, 2);
    BitBtn1->raise();
    QDialog::resizeEvent(event);
}

void TForm5::ShowComment() {
    if (!IsUserFunctionList() || !commentSource_) return;
    const std::optional<TPickItem> item = SelectedItem();
    if (!item) return;
    Memo1->clear();
    QStringList lines;
    for (const std::string& line : commentSource_(*item)) lines << SjisToQString(line);
    if (!lines.isEmpty()) Memo1->setPlainText(lines.join(QLatin1Char('\n')));
}

void TForm5::Pick() { accept(); }

bool TForm5::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == ListBox1 || watched == Memo1)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Pick();
            return true;
        }
        if (key == Qt::Key_Escape && watched == ListBox1) {
            reject();
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonDblClick && watched == Memo1->viewport()) {
        Pick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace quodle
