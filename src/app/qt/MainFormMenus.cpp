// The menus and the tool bar of the main window. Items whose commands are
// not built yet are present but disabled, so nothing pretends to work.
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "app/qt/MainForm.h"
#include "app/qt/PageControl.h"
#include "app/qt/ToolImages.h"
#include "editor/qt/EditorEx.h"

namespace quodle {

namespace {

struct TLoadTarget {
    const char* name;
    const char* caption;
    int image;
    const char* loadCaption;
    const char* hint;
};

// The four targets of ロード → ターゲットCAD, in the order of TCadTarget.
constexpr TLoadTarget kLoadTargets[kCadTargets.size()] = {
    {"AutoCAD200420092", "AutoCAD(2004..2009)", imgLoadAutoCad, "AutoCADへロード", "AutoCAD/LTへロード(f9)"},
    {"IntelliCADIJCAD2", "IntelliCAD/IJCAD", imgLoadIntelliCad, "IntelliCADへロード", "Intelli/IJCADへロード(f9)"},
    {"ZwCAD2", "ZwCAD", imgLoadZwCad, "ZwCADへロード", "ZwCADへロード(f9)"},
    {"BricsCAD1", "BricsCAD", imgLoadBricsCad, "BricsCADへロード", "BricsCADへロード(f9)"},
};

// An item whose command comes with a later part of the program.
QAction* Later(QAction* action) {
    action->setEnabled(false);
    return action;
}

}  // namespace

QAction* TTarnwickMainForm::Connected(QAction* action, const std::function<void()>& handler) {
    connect(action, &QAction::triggered, this, handler);
    return action;
}

QAction* TTarnwickMainForm::AddItem(QMenu* menu, const QString& name, const QString& caption,
                                    const QString& shortcut) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    if (!shortcut.isEmpty()) {
        action->setShortcut(QKeySequence(shortcut));
        // Menus show the keys as written here ("Shift+Ctrl+S"), not in the
        // toolkit's own order.
        if (action->shortcut().toString(QKeySequence::NativeText) != shortcut)
            action->setText(caption + QLatin1Char('\t') + shortcut);
    }
    menu->addAction(action);
    // Hidden menus keep working shortcuts only when the window owns the item.
    addAction(action);
    actions_[name] = action;
    return action;
}

QAction* TTarnwickMainForm::Action(const QString& name) const {
    const auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

void TTarnwickMainForm::CreateMenus() {
    QMenuBar* bar = menuBar();

    // ファイル
    QMenu* file = bar->addMenu(QStringLiteral("ファイル"));
    connect(AddItem(file, QStringLiteral("mnuNew"), QStringLiteral("新規作成"), QStringLiteral("Ctrl+N")),
            &QAction::triggered, this, [this] { NewDocument(); });
    connect(AddItem(file, QStringLiteral("mnuOpen"), QStringLiteral("開く"), QStringLiteral("Ctrl+O")),
            &QAction::triggered, this, [this] { OpenWithDialog(); });
    reopenMenu_ = file->addMenu(QStringLiteral("開き直す"));
    reopenMenu_->setObjectName(QStringLiteral("mnuReopen"));
    connect(AddItem(file, QStringLiteral("mnuClose"), QStringLiteral("閉じる")), &QAction::triggered, this,
            [this] { CloseActive(); });
    file->addSeparator();
    connect(AddItem(file, QStringLiteral("mnuSave"), QStringLiteral("上書き保存"), QStringLiteral("Ctrl+S")),
            &QAction::triggered, this, [this] { SaveActive(); });
    connect(AddItem(file, QStringLiteral("mnuSaveAs"), QStringLiteral("名前を付けて保存..."),
                    QStringLiteral("Shift+Ctrl+S")),
            &QAction::triggered, this, [this] { SaveActiveAs(); });
    CreateEncodingMenu(file);
    file->addSeparator();
    Connected(AddItem(file, QStringLiteral("N92"), QStringLiteral("印刷")), [this] { N92Click(); });
    file->addSeparator();
    connect(AddItem(file, QStringLiteral("mnuExit"), QStringLiteral("終了")), &QAction::triggered, this,
            [this] { close(); });
    Action(QStringLiteral("mnuNew"))->setIcon(ToolImage(imgNew));
    Action(QStringLiteral("mnuOpen"))->setIcon(ToolImage(imgOpen));
    Action(QStringLiteral("mnuSave"))->setIcon(ToolImage(imgSave));
    Action(QStringLiteral("mnuSaveAs"))->setIcon(ToolImage(imgSaveAs));

    // 編集
    QMenu* edit = bar->addMenu(QStringLiteral("編集"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    CreateEditItems(edit);
    edit->addSeparator();
    Connected(AddItem(edit, QStringLiteral("mnuTabToSpace"), QStringLiteral("タブ　->　空白変換")), [this] { mnuTabToSpaceClick(); });
    Connected(AddItem(edit, QStringLiteral("mnuLeadSpaceToTab"), QStringLiteral("先頭スペース -> タブ変換")), [this] { mnuLeadSpaceToTabClick(); });
    Connected(AddItem(edit, QStringLiteral("mnuRunSpaceToTab"), QStringLiteral("連続スペース -> タブ変換")), [this] { mnuRunSpaceToTabClick(); });
    Connected(AddItem(edit, QStringLiteral("mnuSpaceToTab"), QStringLiteral("スペース -> タブ変換")), [this] { mnuSpaceToTabClick(); });
    Connected(AddItem(edit, QStringLiteral("mnuZenkakuSpace"), QStringLiteral("全角空白　->　半角変換")), [this] { mnuZenkakuSpaceClick(); });
    edit->addSeparator();
    Connected(AddItem(edit, QStringLiteral("N66"), QStringLiteral("システム変数を大文字に")), [this] { N66Click(); });

    // 検索
    QMenu* find = bar->addMenu(QStringLiteral("検索"));
    find->setObjectName(QStringLiteral("Find2"));
    Connected(AddItem(find, QStringLiteral("Find3"), QStringLiteral("検索"), QStringLiteral("Ctrl+F")), [this] { mnuFindClick(); })
        ->setIcon(ToolImage(imgFind));
    Connected(AddItem(find, QStringLiteral("N18"), QStringLiteral("前方再検索"), QStringLiteral("F3")), [this] { mnuFindForwardClick(); });
    Connected(AddItem(find, QStringLiteral("N19"), QStringLiteral("後方再検索"), QStringLiteral("Shift+F3")), [this] { mnuFindBackwardClick(); });
    Connected(AddItem(find, QStringLiteral("N21"), QStringLiteral("置き換え"), QStringLiteral("Ctrl+R")), [this] { mnuReplaceClick(); });
    // A read-only text refuses replacing: the item shows it while the menu
    // is open, as the editing items do (its key then says why).
    connect(find, &QMenu::aboutToShow, this, [this] {
        const TEditorEx* editor = ActiveEditor();
        Action(QStringLiteral("N21"))->setEnabled(editor == nullptr || !editor->ReadOnly());
    });
    connect(find, &QMenu::aboutToHide, this, [this] { Action(QStringLiteral("N21"))->setEnabled(true); });

    // ジャンプ
    QMenu* jump = bar->addMenu(QStringLiteral("ジャンプ"));
    connect(AddItem(jump, QStringLiteral("mnuJumpBack"), QStringLiteral("元の行に戻る"), QStringLiteral("Shift+Ctrl+Home")),
            &QAction::triggered, this, [this] { JumpBack(); });
    connect(AddItem(jump, QStringLiteral("mnuJumpLine"), QStringLiteral("行番号へ"), QStringLiteral("Ctrl+J")),
            &QAction::triggered, this, [this] { mnuJumpLineClick(); });
    // Shares its shortcut with ユーザー関数へジャンプ; only that item owns the key.
    Connected(AddItem(jump, QStringLiteral("N74"), QStringLiteral("ユーザー関数へ\tShift+Ctrl+J")), [this] { N74Click(); });
    connect(AddItem(jump, QStringLiteral("mnuJumpTop"), QStringLiteral("行トップへ"), QStringLiteral("Ctrl+Home")),
            &QAction::triggered, this, [this] { mnuJumpTopClick(); });
    connect(AddItem(jump, QStringLiteral("mnuJumpEnd"), QStringLiteral("行末尾へ"), QStringLiteral("Ctrl+End")),
            &QAction::triggered, this, [this] { mnuJumpEndClick(); });

    // マーク
    QMenu* mark = bar->addMenu(QStringLiteral("マーク"));
    const struct {
        const char* name;
        const char* caption;
        const char* shortcut;
        int image;
        void (TTarnwickMainForm::*command)();
    } markItems[] = {
        {"mnuMarkToggle", "トグル", "Shift+Ctrl+M", imgMarkToggle, &TTarnwickMainForm::mnuMarkToggleClick},
        {"mnuMarkNext", "次のマークへ", "Shift+Ctrl+N", imgMarkNext, &TTarnwickMainForm::mnuMarkNextClick},
        {"mnuMarkPrevious", "直前のマークへ", "Shift+Ctrl+P", imgMarkPrevious, &TTarnwickMainForm::mnuMarkPreviousClick},
        {"mnuMarkClear", "すべてクリア", "Shift+Ctrl+K", imgMarkClear, &TTarnwickMainForm::mnuMarkClearClick},
    };
    for (const auto& item : markItems) {
        QAction* action = AddItem(mark, QString::fromLatin1(item.name), QString::fromUtf8(item.caption),
                                  QString::fromLatin1(item.shortcut));
        action->setIcon(ToolImage(item.image));
        connect(action, &QAction::triggered, this, item.command);
    }

    // 関数・変数
    QMenu* lisp = bar->addMenu(QStringLiteral("関数・変数"));
    Connected(AddItem(lisp, QStringLiteral("mnuSelectBracket"), QStringLiteral("対応括弧までを選択"), QStringLiteral("Ctrl+[")), [this] { mnuSelectBracketClick(); })
        ->setIcon(ToolImage(imgSelectBracket));
    Connected(AddItem(lisp, QStringLiteral("mnuCountBrackets"), QStringLiteral("全括弧数カウント"), QStringLiteral("F4")), [this] { mnuCountBracketsClick(); })
        ->setIcon(ToolImage(imgCountBrackets));
    lisp->addSeparator();
    Connected(AddItem(lisp, QStringLiteral("N3"), QStringLiteral("未使用・未宣言変数"), QStringLiteral("F5")), [this] { N3Click(); })
        ->setIcon(ToolImage(imgVariableCheck));
    Connected(AddItem(lisp, QStringLiteral("N76"), QStringLiteral("変数一覧")), [this] { N76Click(); });
    ConnectFixes(lisp);
    lisp->addSeparator();
    Connected(AddItem(lisp, QStringLiteral("CountKakko1"), QStringLiteral("ユーザー関数へジャンプ"), QStringLiteral("Shift+Ctrl+J")), [this] { CountKakko1Click(); })
        ->setIcon(ToolImage(imgUserFunctionJump));
    Connected(AddItem(lisp, QStringLiteral("N72"), QStringLiteral("未使用ユーザー関数")), [this] { N72Click(); });
    Connected(AddItem(lisp, QStringLiteral("N71"), QStringLiteral("ユーザー関数使用数")), [this] { N71Click(); });
    Connected(AddItem(lisp, QStringLiteral("N78"), QStringLiteral("ユーザー関数検索"), QStringLiteral("Shift+Ctrl+Space")), [this] { N78Click(); });
    lisp->addSeparator();
    Connected(AddItem(lisp, QStringLiteral("N88"), QStringLiteral("コメント抜き出し(関数カタログ化）")), [this] { N88Click(); });
    Connected(AddItem(lisp, QStringLiteral("N89"), QStringLiteral("コマンド・関数ツリー"), QStringLiteral("F6")), [this] { N89Click(); });
    lisp->addSeparator();
    Connected(AddItem(lisp, QStringLiteral("mnuProjectAnalysis"), QStringLiteral("プロジェクト解析...")), [this] { mnuProjectAnalysisClick(); });
    Connected(AddItem(lisp, QStringLiteral("mnuProjectCalls"), QStringLiteral("関数の呼び出し箇所...")), [this] { mnuProjectCallsClick(); });

    // デバッグ
    QMenu* debug = bar->addMenu(QStringLiteral("デバッグ"));
    Connected(AddItem(debug, QStringLiteral("mnuCommentAdd"), QStringLiteral("先頭に ; を追加"), QStringLiteral("Ctrl+Ins")), [this] { mnuCommentAddClick(); })
        ->setIcon(ToolImage(imgCommentAdd));
    Connected(AddItem(debug, QStringLiteral("mnuCommentDelete"), QStringLiteral("先頭の ; を削除"), QStringLiteral("Ctrl+Del")), [this] { mnuCommentDeleteClick(); })
        ->setIcon(ToolImage(imgCommentDelete));
    debug->addSeparator();
    Connected(AddItem(debug, QStringLiteral("mnuWatchAdd"), QStringLiteral("ウォッチ行DEBUG_PVを追加")), [this] { mnuWatchAddClick(); })
        ->setIcon(ToolImage(imgWatchAdd));
    Connected(AddItem(debug, QStringLiteral("mnuWatchComment"), QStringLiteral("DEBUG_PV行をコメントに")), [this] { mnuWatchCommentClick(); });
    Connected(AddItem(debug, QStringLiteral("mnuWatchUncomment"), QStringLiteral("DEBUG_PV行のコメントを外す")), [this] { mnuWatchUncommentClick(); });
    Connected(AddItem(debug, QStringLiteral("mnuWatchDelete"), QStringLiteral("すべてのDEBUG_PV行を削除")), [this] { mnuWatchDeleteClick(); })
        ->setIcon(ToolImage(imgWatchDelete));
    debug->addSeparator();
    Connected(AddItem(debug, QStringLiteral("mnuBreakAdd"), QStringLiteral("ブレークポイントDEBUG_BPを追加")), [this] { mnuBreakAddClick(); })
        ->setIcon(ToolImage(imgBreakAdd));
    Connected(AddItem(debug, QStringLiteral("mnuBreakComment"), QStringLiteral("DEBUG_BP行をコメントに")), [this] { mnuBreakCommentClick(); });
    Connected(AddItem(debug, QStringLiteral("mnuBreakUncomment"), QStringLiteral("DEBUG_BP行のコメントを外す")), [this] { mnuBreakUncommentClick(); });
    Connected(AddItem(debug, QStringLiteral("mnuBreakDelete"), QStringLiteral("すべてのDEBUG_BP行を削除")), [this] { mnuBreakDeleteClick(); })
        ->setIcon(ToolImage(imgBreakDelete));

    // ロード
    QMenu* load = bar->addMenu(QStringLiteral("ロード"));
    load->setObjectName(QStringLiteral("N25"));
    CAD1 = Connected(AddItem(load, QStringLiteral("CAD1"), QStringLiteral("AutoCADへロード"), QStringLiteral("F9")),
                     [this] { CAD1Click(); });
    CAD1->setIcon(ToolImage(imgLoadAutoCad));
    // The item and ToolButton20 share one action: its tool tip is the
    // button's hint, which follows the target.
    CAD1->setToolTip(QStringLiteral("ターゲットCADへロード(F9)"));
    QMenu* targets = load->addMenu(QStringLiteral("ターゲットCAD"));
    targets->setObjectName(QStringLiteral("N36"));
    auto* targetGroup = new QActionGroup(this);
    for (const TCadTarget target : kCadTargets) {
        const TLoadTarget& t = kLoadTargets[TargetIndex(target)];
        QAction* item = AddItem(targets, QString::fromLatin1(t.name), QString::fromUtf8(t.caption));
        item->setCheckable(true);
        item->setActionGroup(targetGroup);
        loadTargets_.push_back(item);
        connect(item, &QAction::triggered, this, [this, target] { SelectLoadTarget(target); });
    }
    // Several targets may come checked from the settings file.
    targetGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    loadTargets_.front()->setChecked(true);

    // 設定
    QMenu* settings = bar->addMenu(QStringLiteral("設定"));
    Connected(AddItem(settings, QStringLiteral("mnuSettings"), QStringLiteral("設定")), [this] { mnuSettingsClick(); });
    QAction* currentProps = Connected(new QAction(QStringLiteral("カレント環境設定"), this), [this] { mnuCurrentPropsClick(); });
    currentProps->setObjectName(QStringLiteral("mnuCurrentProps"));
    actions_[currentProps->objectName()] = currentProps;
    // The editor's layout, reachable beside the dialogs (the 表示 menu is never shown).
    settings->addAction(currentProps);
    CreateLayoutSwitches(settings->addMenu(QStringLiteral("表示の切り替え")));
    settings->addSeparator();
    const std::pair<const char*, const char*> switches[] = {
        {"N58", "ヒントを表示する"},
        {"N75", "ユーザー関数もヒント表示する"},
        {"N63", "システム変数の強調表示をする"},
        {"mnuBackup", "保存時、バックアップファイルを作成する"},
    };
    for (const auto& [name, caption] : switches) {
        QAction* item = AddItem(settings, QString::fromLatin1(name), QString::fromUtf8(caption));
        item->setCheckable(true);
        item->setChecked(true);
    }
    // The system variables in strings come and go with their switch.
    connect(Action(QStringLiteral("N63")), &QAction::toggled, this, [this] {
        for (TEditorEx* editor : PageControl1->findChildren<TEditorEx*>()) editor->viewport()->update();
    });
    AddItem(settings, QStringLiteral("mnuShowTokenKind"), QStringLiteral("文字種別を表示する"))->setCheckable(true);
    settings->addSeparator();
    Connected(AddItem(settings, QStringLiteral("N85"), QStringLiteral("変数名除外リストを編集")), [this] { N85Click(); });
    Connected(AddItem(settings, QStringLiteral("mnuScrollTest"), QStringLiteral("スクロールテスト")), [this] { mnuScrollTestClick(); });

    // ウィンドウ
    QMenu* window = bar->addMenu(QStringLiteral("ウィンドウ"));
    QAction* split = AddItem(window, QStringLiteral("mnuSplit"), QStringLiteral("２つに分割"));
    split->setCheckable(true);
    connect(split, &QAction::triggered, this, [this] { ToggleSplit(); });
    connect(window, &QMenu::aboutToShow, this, [this, split] { split->setChecked(IsSplit(PageControl1->ActivePageIndex())); });
    connect(AddItem(window, QStringLiteral("mnuNewWindow"), QStringLiteral("別の編集ウィンドウを開く")),
            &QAction::triggered, this, [this] { OpenSecondWindow(); });

    // ヘルプ
    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ"));
    Later(AddItem(help, QStringLiteral("mnuReference"), QStringLiteral("LISP関数・システム変数参照")))
        ->setIcon(ToolImage(imgReference));
    Connected(AddItem(help, QStringLiteral("mnuAbout"), QStringLiteral("バージョン情報")), [this] { mnuAboutClick(); });

    // 表示: never shown; its position-mode items still work.
    auto* view = new QMenu(QStringLiteral("表示"), this);
    view->setObjectName(QStringLiteral("mnuView"));
    view->addAction(currentProps);
    QMenu* position = view->addMenu(QStringLiteral("行・桁表示"));
    auto* positionGroup = new QActionGroup(this);
    QAction* rowCol = AddItem(position, QStringLiteral("RowCol1"), QStringLiteral("Row / Col"));
    QAction* linesChar = AddItem(position, QStringLiteral("LinesChar1"), QStringLiteral("Lines / Char"));
    for (QAction* item : {rowCol, linesChar}) {
        item->setCheckable(true);
        item->setActionGroup(positionGroup);
    }
    rowCol->setChecked(true);
    connect(rowCol, &QAction::triggered, this, [this] { SetPositionMode(TPositionMode::RowCol); });
    connect(linesChar, &QAction::triggered, this, [this] { SetPositionMode(TPositionMode::LinesChar); });
    AddItem(view, QStringLiteral("mnuFileTypeProps"), QStringLiteral("ファイルタイプ別設定"));
    AddItem(view, QStringLiteral("mnuTokenColors"), QStringLiteral("トークンの色"));
    QMenu* tabSpace = view->addMenu(QStringLiteral("タブスペース"));
    for (const char* n : {"2", "4", "6", "8"})
        AddItem(tabSpace, QStringLiteral("mnuTabSpace") + QLatin1String(n), QString::fromLatin1(n));
    QMenu* colors = view->addMenu(QStringLiteral("色"));
    for (const char* c : {"予約語", "コメント", "対応括弧", "文字列"})
        AddItem(colors, QStringLiteral("mnuColor") + QString::fromUtf8(c), QString::fromUtf8(c));

    // The extra marks 10..15 live in a menu that is never shown.
    auto* marks = new QMenu(QStringLiteral("rm"), this);
    for (int mark = 10; mark < 16; ++mark)
        connect(AddItem(marks, QStringLiteral("rm%1").arg(mark), QStringLiteral("rm%1").arg(mark),
                        QStringLiteral("Shift+Ctrl+F%1").arg(mark - 9)),
                &QAction::triggered, this, [this, mark] { RowMarkClick(mark); });
    auto* test = new QMenu(QStringLiteral("for TEST"), this);
    test->setObjectName(QStringLiteral("mnuForTest"));
}

void TTarnwickMainForm::CreateToolBar() {
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    struct TButton {
        const char* action;
        const char* hint;
        bool separatorBefore;
    };
    const TButton buttons[] = {
        {"mnuNew", "新規作成(Ctrl+N)", true},
        {"mnuOpen", "開く(Ctrl+O)", false},
        {"mnuSave", "上書き保存(Ctrl+S)", false},
        {"mnuSaveAs", "名前を付けて保存(Shift+Ctrl+S)", false},
        {"mnuCommentAdd", "コメント追加(Ctrl+Ins)", true},
        {"mnuCommentDelete", "コメント削除(Ctrl+Del)", false},
        {"mnuMarkToggle", "マーク設定/解除(Shift+Ctrl+M)", true},
        {"mnuMarkPrevious", "直前のマークへ(Shift+Ctrl+P)", false},
        {"mnuMarkNext", "次のマークへ(Shift+Ctrl+N)", false},
        {"mnuMarkClear", "マーククリア(Shift+Ctrl+K)", false},
        {"mnuWatchAdd", "変数表示行を追加", true},
        {"mnuWatchDelete", "変数表示行を全削除", false},
        {"mnuBreakAdd", "ブレーク行を追加", true},
        {"mnuBreakDelete", "ブレーク行を全削除", false},
        {"mnuSelectBracket", "対応括弧まで選択(Ctrl+[ )", true},
        {"mnuCountBrackets", "全括弧数をカウント（F4)", true},
        {"N3", "未使用、未宣言変数チェック（F5)", true},
        {"CountKakko1", "ユーザー関数ジャンプ（Shift+Ctrl+J)", false},
        {"mnuReference", "LISP関数・システム変数を参照", false},
        {"CAD1", "ターゲットCADへロード(F9)", true},
    };
    for (const TButton& b : buttons) {
        if (b.separatorBefore) ToolBar1->addSeparator();
        QAction* action = Action(QString::fromLatin1(b.action));
        action->setToolTip(QString::fromUtf8(b.hint));
        ToolBar1->addAction(action);
    }
    ToolBar1->widgetForAction(CAD1)->setObjectName(QStringLiteral("ToolButton20"));
}

TTargetFlags TTarnwickMainForm::LoadTargetFlags() const {
    TTargetFlags flags;
    for (const TCadTarget t : kCadTargets) flags.Set(t, loadTargets_[TargetIndex(t)]->isChecked());
    return flags;
}

// Start-up: the load button and item take the image and hint of the checked
// targets, the last one winning; with none checked the design ones stay.
void TTarnwickMainForm::ApplyLoadTarget() {
    const std::optional<TCadTarget> shown = LoadTargetFlags().ButtonTarget();
    if (!shown) return;
    const TLoadTarget& t = kLoadTargets[TargetIndex(*shown)];
    CAD1->setIcon(ToolImage(t.image));
    CAD1->setToolTip(QString::fromUtf8(t.hint));
}

void TTarnwickMainForm::SelectLoadTarget(TCadTarget target) {
    TTargetFlags flags;
    flags.Select(target);
    for (const TCadTarget t : kCadTargets) loadTargets_[TargetIndex(t)]->setChecked(flags.IsSet(t));
    const TLoadTarget& t = kLoadTargets[TargetIndex(target)];
    CAD1->setText(QString::fromUtf8(t.loadCaption));
    CAD1->setIcon(ToolImage(t.image));
    CAD1->setToolTip(QString::fromUtf8(t.hint));
}

}  // namespace quodle
