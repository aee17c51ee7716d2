// The main window's layout and its life: the creation sequence (settings,
// word lists, reopen list), the first showing, closing and destruction.
#include "app/qt/MainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "app/IniFile.h"
#include "app/OpenMenuList.h"
#include "app/Settings.h"
#include "app/WindowPlacement.h"
#include "app/WordLists.h"
#include "app/qt/DocumentPage.h"
#include "app/qt/Messages.h"
#include "app/qt/PageControl.h"
#include "app/qt/Shell.h"
#include "app/qt/StatusPanels.h"
#include "app/qt/ToolImages.h"
#include "base/FileIo.h"
#include "base/qt/QtColor.h"
#include "editor/qt/EditorEx.h"
#include "lisp/SystemVariables.h"
#include "print/qt/PrinterInfo.h"
#include "props/qt/EditorExPropAssign.h"
#include "syntax/ProgramFountains.h"

namespace quodle {

namespace {
constexpr int kProgressBarHeight = 10;
}  // namespace

TTarnwickMainForm::TTarnwickMainForm(const TMainFormSetup& setup, TTarnwickMainForm* creator)
    : setup_(setup), creator_(creator), reopenList_(std::make_unique<TOpenMenuList>()),
      EditorExProp1(TEditorExProp::TemplateDesign()), HyphenFountain1(CreateHyphenFountain1()),
      HyphenFountain2(CreateHyphenFountain2()), searchStore_(setup.SearchSettingsPath) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(kFormCaption));
    setWindowIcon(ToolImage(imgNew));
    resize(kDesignWidth, kDesignHeight);
    for (TFileDialogState* dialog : {&OpenDialog1, &SaveDialog1}) {
        dialog->Filter = QString::fromUtf8(kFileFilter);
        dialog->DefaultExt = QStringLiteral("lsp");
    }
    CreateMenus();
    CreateToolBar();
    CreateLayout();
    ConnectOutputPane();
    ConnectFixesPane();

    // 1. The hint window appears on first use; the active-tab colours.
    activeTabText_ = clBlue;
    activeTabFill_ = clAqua;
    // 2. The tab path list starts empty. 3. The reopen list and its submenu.
    reopenList_->SetOnChange([this] { RebuildReopenMenu(); });
    // The settings file is read once for the whole sequence.
    const IniDocument settingsFile = IniFile(setup_.SettingsPath.toStdString()).Read();
    reopenList_->Load(settingsFile);
    // 4. The reserved words of the shared tokenizer, when the file is there.
    WordListSet words = LoadWordListSet(WordListFolders());
    if (words.reservedWords) HyphenFountain1->ReserveWordList().Assign(*words.reservedWords);
    // 5.-14. The window, the load target, the template and the switches.
    ReadSettings(settingsFile);
    // 15.-18. The reference lists and the system variables to colour.
    if (words.reservedWords2) HyphenFountain1->ReserveWordList2().Assign(*words.reservedWords2);
    functionList_ = std::move(words.functionReference);
    sysVarList_ = std::move(words.systemVariables);
    exclusionList_ = std::move(words.exclusions);
    // 19. Print settings.
    printBlob_ = settings::ReadPrintBlob(settingsFile);
    StringsPrinter1.Restore(printBlob_);
    StringsPrinter1.SetFountain(HyphenFountain1);
    printSettingsRead_ = StringsPrinter1.Save();
    // 20.
    Panel4->setFixedWidth(kCollapsedPanelWidth);

    // A wheel notch anywhere over the window scrolls the active editor.
    qApp->installEventFilter(this);
}

TTarnwickMainForm::~TTarnwickMainForm() {
    qApp->removeEventFilter(this);
    // 1. The hint window.
    delete hintWindow_;
    hintWindow_ = nullptr;
    HyphenFountain1->Unsubscribe(&systemVariableWords_);
    // 2.-6. Reopen list, window position, menu states and print settings.
    WriteSettingsAtShutdown();
    reopenList_->SetOnChange(nullptr);
    reopenMenu_->clear();
}

void TTarnwickMainForm::CreateLayout() {
    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    // The tabs above, the output pane and the progress bar below.
    Splitter1 = new QSplitter(Qt::Vertical, central);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    PageControl1 = new TPageControl(Splitter1);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->SetActiveTabColors(ToQColor(activeTabText_), ToQColor(activeTabFill_));
    connect(PageControl1, &TPageControl::Changed, this, [this] {
        TabChange();
        CheckDiskChange();
    });
    auto* bottom = new QWidget(Splitter1);
    auto* bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->setSpacing(0);
    EditorEx1 = new TEditorEx(bottom);
    EditorEx1->setObjectName(QStringLiteral("EditorEx1"));
    TEditorExProp paneProp = EditorExProp1;
    paneProp.Leftbar.Visible = false;
    paneProp.BracketDepthColors = false;  // the reports' brackets are no code
    AssignTo(paneProp, *EditorEx1);
    EditorEx1->SetReadOnly(true);
    EditorEx1->SetFountain(HyphenFountain2);
    ProgressBar1 = new QProgressBar(bottom);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedHeight(kProgressBarHeight);
    bottomLayout->addWidget(EditorEx1, 1);
    bottomLayout->addWidget(ProgressBar1);
    Splitter1->addWidget(PageControl1);
    Splitter1->addWidget(bottom);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    // The output pane starts low; the documents get the rest.
    Splitter1->setSizes({kDesignHeight - 150, 80});
    row->addWidget(Splitter1, 1);
    // Panel4, left of the tabs.
    CreateTreePanel(central);
    row->insertWidget(0, Panel4);

    // Panel3: the right dock site, a line while nothing is docked.
    Panel3 = new QWidget(central);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFixedWidth(kCollapsedPanelWidth);
    row->addWidget(Panel3);

    setCentralWidget(central);
    StatusBar1 = new TStatusPanels(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);
}

TWordListFolders TTarnwickMainForm::WordListFolders() const {
    return {setup_.WordListDir.toStdString(), setup_.SharedWordListDir.toStdString()};
}

void TTarnwickMainForm::ReadSettings(const IniDocument& doc) {
    using namespace settings;
    // 5. The position; the default centres the window at its design size.
    // A position off every screen opens on the primary one instead.
    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry()
                                                            : QRect(0, 0, 1024, 768);
    move(OnScreen(QPoint(Read(doc, kFormLeft, CenteredOrigin(screen.width(), kDesignWidth)),
                         Read(doc, kFormTop, CenteredOrigin(screen.height(), kDesignHeight))),
                  QSize(kDesignWidth, kDesignHeight)));
    // 6.-7. The load target and the load command's caption.
    for (std::size_t i = 0; i < loadTargets_.size(); ++i)
        loadTargets_[i]->setChecked(Read(doc, *kCadTargetKeys[i], loadTargets_[i]->isChecked()));
    CAD1->setText(QString::fromStdString(Read(doc, kCadCaption, CAD1->text().toStdString())));
    ApplyLoadTarget();
    // 8.-11. The template: the set stored at the last shutdown (the layout
    // switches), then the settings dialog's keys over it; every default is
    // the design value, so what the dialog applied without saving is gone.
    TEditorExProp& t = EditorExProp1;
    t.LoadBytes(ReadBlob(doc, kEditorPropSection));
    const TEditorExProp design = TEditorExProp::TemplateDesign();
    t.Font = design.Font;
    t.Color = design.Color;
    t.Leftbar.Color = design.Leftbar.Color;
    t.Leftbar.BkColor = design.Leftbar.BkColor;
    t.Select = design.Select;
    t.Caret.AutoIndent = design.Caret.AutoIndent;
    t.Caret.TabIndent = design.Caret.TabIndent;
    t.Caret.SoftTab = design.Caret.SoftTab;
    t.Caret.TabSpaceCount = design.Caret.TabSpaceCount;
    t.Margin.Line = design.Margin.Line;
    t.Font.Name = Read(doc, kFontName, t.Font.Name);
    t.Font.Size = Read(doc, kFontSize, t.Font.Size);
    t.Font.Color = Read(doc, kFontColor, t.Font.Color);
    t.Color = Read(doc, kFontBkColor, t.Color);
    t.Leftbar.Color = Read(doc, kLeftBarColor, t.Leftbar.Color);
    t.Leftbar.BkColor = Read(doc, kLeftBarBkColor, t.Leftbar.BkColor);
    TFountainSettingsColors colors;
    colors.Reserve = Read(doc, kColorReserve, HyphenFountain1->Reserve().Color());
    colors.Reserve2 = Read(doc, kColorReserve2, HyphenFountain1->Reserve2().Color());
    colors.Comment = Read(doc, kColorComment, HyphenFountain1->Colors().Comment().Color());
    colors.String = Read(doc, kColorString, HyphenFountain1->Colors().Str().Color());
    ApplySettingsColors(*HyphenFountain1, colors);
    t.Select.Color = Read(doc, kColorSelect, t.Select.Color);
    t.Select.BkColor = Read(doc, kColorSelectBk, t.Select.BkColor);
    t.Caret.AutoIndent = Read(doc, kEditorAutoIndent, t.Caret.AutoIndent);
    t.Caret.TabIndent = Read(doc, kEditorTabIndent, t.Caret.TabIndent);
    t.Caret.SoftTab = Read(doc, kEditorSoftTab, t.Caret.SoftTab);
    t.Caret.TabSpaceCount = Read(doc, kEditorTabSpaceCount, t.Caret.TabSpaceCount);
    t.Margin.Line = Read(doc, kEditorMarginLine, t.Margin.Line);
    // 12. The active-tab colours.
    activeTabText_ = Read(doc, kColorTitle, activeTabText_);
    activeTabFill_ = Read(doc, kColorTitleBk, activeTabFill_);
    PageControl1->SetActiveTabColors(ToQColor(activeTabText_, Qt::blue), ToQColor(activeTabFill_, Qt::cyan));
    // 13. The switches of the 設定 menu.
    const std::pair<const char*, const BoolKey*> switches[] = {
        {"N58", &kHintShowHint}, {"N63", &kSysVarShowBold}, {"mnuBackup", &kBackupFileCheck}, {"N75", &kHintShowUser}};
    for (const auto& [name, key] : switches) {
        QAction* item = Action(QString::fromLatin1(name));
        item->setChecked(Read(doc, *key, item->isChecked()));
    }
}

QPoint TTarnwickMainForm::OnScreen(QPoint origin, QSize size) {
    std::vector<TScreenRect> screens;
    const QList<QScreen*> all = QGuiApplication::screens();
    for (const QScreen* screen : all) {
        const QRect g = screen->geometry();
        const TScreenRect rect{g.x(), g.y(), g.width(), g.height()};
        // The primary screen first: a window off every screen goes there.
        if (screen == QGuiApplication::primaryScreen()) screens.insert(screens.begin(), rect);
        else screens.push_back(rect);
    }
    const TWindowOrigin placed = PlaceWindow({origin.x(), origin.y()}, size.width(), size.height(), screens);
    return {placed.left, placed.top};
}

bool TTarnwickMainForm::BackupEnabled() const { return Action(QStringLiteral("mnuBackup"))->isChecked(); }

// Left and Top only while the window is neither minimised nor maximised.
void TTarnwickMainForm::WriteFormPosition() {
    if (isMinimized() || isMaximized()) return;
    try {
        IniFile(setup_.SettingsPath.toStdString()).Update([this](IniDocument& doc) {
            const QPoint origin = OnScreen(pos(), size());
            settings::Write(doc, settings::kFormLeft, origin.x());
            settings::Write(doc, settings::kFormTop, origin.y());
        });
    } catch (const FileError& e) {
        Message(SettingsWriteFailed(e));
    }
}

void TTarnwickMainForm::WriteSettingsAtShutdown() {
    using namespace settings;
    try {
        // One write batch: a large settings file is read and written once.
        IniFile(setup_.SettingsPath.toStdString()).Update([this](IniDocument& doc) {
            reopenList_->Store(doc);
            if (!isMinimized() && !isMaximized()) {
                const QPoint origin = OnScreen(pos(), size());
                Write(doc, kFormLeft, origin.x());
                Write(doc, kFormTop, origin.y());
                Write(doc, kFormWidth, width());
                Write(doc, kFormHeight, height());
            }
            for (std::size_t i = 0; i < loadTargets_.size(); ++i)
                Write(doc, *kCadTargetKeys[i], loadTargets_[i]->isChecked());
            Write(doc, kCadCaption, CAD1->text().toStdString());
            Write(doc, kHintShowHint, Action(QStringLiteral("N58"))->isChecked());
            Write(doc, kSysVarShowBold, Action(QStringLiteral("N63"))->isChecked());
            Write(doc, kBackupFileCheck, Action(QStringLiteral("mnuBackup"))->isChecked());
            Write(doc, kHintShowUser, Action(QStringLiteral("N75"))->isChecked());
            // Settings nobody changed stay as they were stored, byte for byte.
            if (const std::string now = StringsPrinter1.Save(); now != printSettingsRead_) printBlob_ = now;
            WritePrintBlob(doc, printBlob_);
            WriteBlob(doc, kEditorPropSection, EditorExProp1.StoreBytes());
        });
    } catch (const FileError& e) {
        Message(SettingsWriteFailed(e));
    }
}

void TTarnwickMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    TabChange();
}

void TTarnwickMainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) CheckDiskChange();
}

void TTarnwickMainForm::closeEvent(QCloseEvent* event) {
    // The questions from the last tab to the first; only a failed write
    // (or a file changed on disk the user would not overwrite) keeps the
    // window open.
    closingTabs_ = true;
    const bool closed = CloseAllTabsForShutdown();
    closingTabs_ = false;
    if (!closed) {
        event->ignore();
        return;
    }
    WriteFormPosition();
    // Closing the first window ends the program: the other windows go
    // first, each asking about its own documents.
    if (IsFirstWindow()) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* other = qobject_cast<TTarnwickMainForm*>(w);
            if (other && other != this && other->isVisible()) other->close();
        }
    }
    event->accept();
}

bool TTarnwickMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            auto* wheel = static_cast<QWheelEvent*>(event);
            const int delta = wheel->angleDelta().y();
            if (delta == 0) return false;
            if (TEditorEx* editor = ActiveEditor()) editor->ScrollRows(delta > 0 ? -1 : 1);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TTarnwickMainForm::ShowHint(const QString& text) {
    if (!hintWindow_) {
        hintWindow_ = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
        hintWindow_->setWordWrap(true);
        hintWindow_->setTextFormat(Qt::PlainText);
        hintWindow_->setAutoFillBackground(true);
        hintWindow_->setPalette(QPalette(QColor(0, 0, 0), QColor(255, 255, 225)));
        hintWindow_->setFrameStyle(QFrame::Box | QFrame::Plain);
    }
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QRect rect = QFontMetrics(hintWindow_->font())
                     .boundingRect(QRect(0, 0, screen.width(), 0), Qt::TextWordWrap, text);
    const QPoint pointer = QCursor::pos();
    const int captionHeight = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    rect.moveTo(pointer.x(), pointer.y() + captionHeight);
    rect.setWidth(rect.width() + 6);
    rect.setHeight(rect.height() + 2);
    hintWindow_->setText(text);
    hintWindow_->setGeometry(rect);
    hintWindow_->show();
}

void TTarnwickMainForm::HideHint() {
    if (hintWindow_ && hintWindow_->isVisible()) hintWindow_->hide();
}

void TTarnwickMainForm::Message(const QString& text) { setup_.Dialogs->ShowMessage(this, QString::fromUtf8(kMessageCaption), text); }

bool TTarnwickMainForm::Ask(const QString& text) {
    return setup_.Dialogs->AskYesNo(this, QString::fromUtf8(kMessageCaption), text);
}

}  // namespace quodle
