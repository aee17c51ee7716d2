// The function catalogue in the output pane and the command/function tree
// in the left panel: its title and close buttons, the tree, and the comment
// box under it.
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSplitter>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/qt/EventHook.h"
#include "app/qt/MainForm.h"
#include "app/qt/ProgressBarSink.h"
#include "app/qt/ToolImages.h"
#include "base/Clock.h"
#include "base/qt/QtText.h"
#include "editor/qt/EditorEx.h"
#include "lisp/DocumentLines.h"
#include "lisp/FunctionCatalog.h"
#include "lisp/FunctionTree.h"

namespace quodle {

namespace {

constexpr int kTreeFontPixels = 13;
constexpr int kTreeIndent = 19;
constexpr int kMemoHeight = 80;

// The widget items of a level, children attached before their parent is
// put in the tree, so that the tree takes them all in one insertion. The
// pictures are drawn once and shared.
QList<QTreeWidgetItem*> Items(const TFunctionTree& tree, std::span<const TTreeNode> nodes, const QIcon& function,
                              const QIcon& nested) {
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(nodes.size()));
    for (const TTreeNode& node : nodes) {
        auto* item = new QTreeWidgetItem(QStringList{SjisToQString(tree.Text(node))});
        item->setData(0, Qt::UserRole, node.Data);
        if (node.Image == kTreeImageFunction) item->setIcon(0, function);
        if (node.Image == kTreeImageNested) item->setIcon(0, nested);
        item->addChildren(Items(tree, tree.Children(node), function, nested));
        items.push_back(item);
    }
    return items;
}

bool IsEnter(const QKeyEvent* key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

}  // namespace

void TTarnwickMainForm::CreateTreePanel(QWidget* parent) {
    Panel4 = new QWidget(parent);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    auto* column = new QVBoxLayout(Panel4);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* title = new QHBoxLayout;
    SpeedButton1 = new QToolButton(Panel4);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    SpeedButton2 = new QToolButton(Panel4);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setText(QStringLiteral("x"));
    title->addWidget(SpeedButton1);
    title->addWidget(SpeedButton2);
    column->addLayout(title);

    auto* splitter = new QSplitter(Qt::Vertical, Panel4);
    splitter->setChildrenCollapsible(false);
    TreeView1 = new QTreeWidget(splitter);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setUniformRowHeights(true);
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(kTreeFontPixels);
    TreeView1->setFont(font);
    TreeView1->setIndentation(kTreeIndent);
    TreeView1->viewport()->setMouseTracking(true);
    Memo1 = new QPlainTextEdit(splitter);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setFont(font);
    splitter->addWidget(TreeView1);
    splitter->addWidget(Memo1);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setSizes({kDesignHeight - kMemoHeight, kMemoHeight});
    column->addWidget(splitter, 1);

    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(TreeView1, &QTreeWidget::itemClicked, this, [this] { TreeView1Click(); });
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, [this] { TreeView1DblClick(); });
    new TEventHook(TreeView1, [this](QEvent* event) {
        if (event->type() == QEvent::KeyRelease) {
            TreeView1Click();
        } else if (event->type() == QEvent::KeyPress && IsEnter(static_cast<QKeyEvent*>(event))) {
            TreeView1DblClick();
            return true;
        }
        return false;
    });
    // Pointing at a node selects it and takes the focus, so the keys act
    // on the node under the pointer.
    new TEventHook(TreeView1->viewport(), [this](QEvent* event) {
        if (event->type() != QEvent::MouseMove) return false;
        QTreeWidgetItem* item = TreeView1->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (item && !item->isSelected()) {
            TreeView1->setCurrentItem(item);
            TreeView1->setFocus();
        }
        return false;
    });
}

void TTarnwickMainForm::N88Click() {
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    EditorEx1->Lines().Clear();
    TProgressBarSink progress(ProgressBar1);
    const TDocumentLines lines(editor->Rows());
    const TClock& clock = setup_.Clock ? *setup_.Clock : SystemClock();
    const TTextLines catalog =
        BuildCatalog(lines.Lines(), QStringToSjis(ActiveFileName()), ShortDateLongTime(clock.Now()), &progress);
    ProgressBar1->setValue(0);
    if (!catalog.empty()) ShowInOutputPane(catalog);
}

void TTarnwickMainForm::N89Click() {
    TEditorEx* editor = ActiveEditor();
    if (!editor) return;
    QElapsedTimer timer;
    timer.start();
    TProgressBarSink progress(ProgressBar1);
    const TDocumentLines lines(editor->Rows());
    const TFunctionTree tree = BuildFunctionTree(lines.Lines(), &progress);
    ProgressBar1->setValue(0);
    if (tree.Roots().empty()) {
        Message(SjisToQString(tree.Message));
        return;
    }
    SpeedButton1->setText(ActiveFileName());
    // One insertion with the painting held: a tree of many thousand nodes
    // is laid out once, not once per node.
    TreeView1->setUpdatesEnabled(false);
    TreeView1->clear();
    Memo1->clear();
    TreeView1->addTopLevelItems(Items(tree, tree.Roots(), TreeImage(kTreeImageFunction), TreeImage(kTreeImageNested)));
    TreeView1->expandAll();
    TreeView1->setUpdatesEnabled(true);
    Panel4->setFixedWidth(kTreePanelWidth);
    ShowElapsed(timer);
}

void TTarnwickMainForm::SpeedButton1Click() { N89Click(); }

void TTarnwickMainForm::SpeedButton2Click() {
    SpeedButton1->setText(QString());
    TreeView1->clear();
    Memo1->clear();
    Panel4->setFixedWidth(kCollapsedPanelWidth);
}

void TTarnwickMainForm::TreeView1Click() {
    Memo1->clear();
    const QTreeWidgetItem* item = TreeView1->currentItem();
    TEditorEx* editor = TabOriginalEditor();
    if (!item || !editor) return;
    const TDocumentLines lines(editor->Rows());
    QStringList shown;
    for (const std::string& line : NodeComment(lines.Lines(), item->data(0, Qt::UserRole).toInt()))
        shown << SjisToQString(line);
    if (!shown.isEmpty()) Memo1->setPlainText(shown.join(QLatin1Char('\n')));
}

void TTarnwickMainForm::TreeView1DblClick() {
    const QTreeWidgetItem* item = TreeView1->currentItem();
    // The jump goes to the tab's first editor even while the other half of
    // a split tab has the focus.
    TEditorEx* editor = TabOriginalEditor();
    if (!item || !editor) return;
    const TDocumentLines lines(editor->Rows());
    const std::optional<TTreeJump> jump = NodeJump(lines.Lines(), item->data(0, Qt::UserRole).toInt());
    if (!jump) return;
    StoreReturnPoint(*editor);
    GoToLine(editor, jump->TopLine, jump->Line);
    // The commands that follow act where the user was taken: in a split tab
    // the pane without the focus would otherwise be the one they edit.
    editor->setFocus();
    Refresh();
}

}  // namespace quodle
