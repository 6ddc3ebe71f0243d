#include "gui/app/MainWindow.h"

#include "core/util/Version.h"
#include "gui/app/Commands.h"
#include "gui/app/DiskWatch.h"
#include "gui/app/EditActions.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/StringsText.h"
#include "gui/model/UnsavedChanges.h"
#include "gui/model/WindowModel.h"
#include "gui/script/FindBar.h"
#include "gui/script/ModSearch.h"
#include "gui/script/ScriptBrowser.h"
#include "gui/script/ScriptCaption.h"
#include "gui/script/ScriptCheck.h"
#include "gui/script/ScriptFiles.h"
#include "gui/script/ScriptTimeline.h"
#include "gui/strings/StringsEditor.h"
#include "gui/strings/StringsTextEdit.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/FileListBox.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/GrowingPage.h"
#include "gui/ui/NoticeBar.h"
#include "gui/ui/Panels.h"
#include "gui/ui/WindowPlaces.h"
#include "gui/workspace/FolderActions.h"
#include "gui/workspace/ModWorkspace.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>

namespace cw::gui {

namespace {
const char *const kTabCaptions[] = {"Main Mod Page", "Maps and Missions", "Scripts", "Strings_Default"};
// The window's size in the layout's units: every page is laid out for it.
constexpr int kDesignWidth = 10065;
constexpr int kDesignHeight = 10695;
} // namespace

MainWindow::MainWindow(GameRoot gameRoot, GridTiming gridTiming, QWidget *parent)
    : QMainWindow(parent), m_gridTiming(gridTiming),
      m_model(std::make_unique<WindowModel>(std::move(gameRoot)))
{
    setObjectName(QStringLiteral("Form1"));
    // Everything below is laid out at the scale of the application's font.
    setLayoutScale(scaleForFont(QApplication::font()));
    resize(px(kDesignWidth), px(kDesignHeight));
    // At large fonts the layout is larger than a laptop's screen: the window is cut to
    // the screen, and its pages scroll.
    ui::centreOnScreen(this, ui::kCommonFrame);
    followCaption();

    buildTabs();
    selectPage(0);
    // The first frame shows the first page; the rest of the window is built after it,
    // as the grid is, when start-up asks for the first frame soonest.
    if (m_gridTiming == GridTiming::BeforeShow) {
        finishBuilding();
        buildGrid();
    }
}

void MainWindow::finishBuilding()
{
    for (int i = 1; i < 4; ++i)
        buildPage(i);
    buildHiddenControls();
    buildParts();
    m_built = true;
    if (!m_pendingPanels.isEmpty())
        restorePanels(std::exchange(m_pendingPanels, QByteArray()));
}

void MainWindow::buildPage(int i)
{
    makePage(i);
    installPage(i);
}

void MainWindow::makePage(int i)
{
    auto index = static_cast<std::size_t>(i);
    GrowingPage *page = i == 0   ? buildMainPage()
                        : i == 1 ? buildLevelsPage()
                        : i == 2 ? buildScriptsPage()
                                 : buildStringsPage();
    page->setObjectName(QStringLiteral("TabFrame_%1").arg(i));
    m_controls.tabFrame[index] = page;
    m_pages[index] = page;
    // The controls' places are taken now: the page moves none of them before its tab
    // shows it.
    letPageGrow(i);
}

void MainWindow::installPage(int i)
{
    GrowingPage *page = m_pages[static_cast<std::size_t>(i)];
    static_cast<QScrollArea *>(m_controls.tabs->widget(i))->setWidget(page);
    if (m_designPage.isValid())
        setDesignSize(*page);
}

// A page's design size is what it gets in a window of the layout's size, where every
// control stands exactly where the layout puts it. The tab bar does not shrink with a
// small font as the pages do: a page whose controls reach past its share of the window
// is laid out compactly.
void MainWindow::setDesignSize(GrowingPage &page) const
{
    const QRect controls = page.childrenRect();
    page.setDesignSize(m_designPage.expandedTo(QSize(controls.right() + 1, controls.bottom() + 1)));
}

// Each command's button triggers it, and it runs its part's action. Ctrl+S is the save
// of the page shown: the strings table on its page, else the open script to its own
// file (whichever file the script list highlights); a command that may not be used is
// not run by its key either.
void MainWindow::connectCommands()
{
    const Controls &c = m_controls;
    const Commands &cmd = m_commands;
    const std::pair<QPushButton *, QAction *> buttons[] = {
        {c.saveSc, cmd.saveScript},       {c.saveScAs, cmd.saveScriptAs},
        {c.newSc, cmd.newScript},         {c.deleteSc, cmd.deleteScript},
        {c.saveStrings, cmd.saveStrings}, {c.stringsRevert, cmd.revertStrings},
        {c.cmdCheck, cmd.check},          {c.cmdTimeline, cmd.timeline},
    };
    for (const auto &[button, command] : buttons)
        bindButton(button, command);
    ScriptFiles *files = m_scriptFiles.get();
    connect(cmd.saveScript, &QAction::triggered, files, &ScriptFiles::saveScript);
    connect(cmd.saveOpenScript, &QAction::triggered, files, &ScriptFiles::saveOpenScript);
    connect(cmd.saveScriptAs, &QAction::triggered, files, &ScriptFiles::saveScriptAs);
    connect(cmd.newScript, &QAction::triggered, files, &ScriptFiles::newScript);
    connect(cmd.deleteScript, &QAction::triggered, files, &ScriptFiles::deleteScript);
    connect(cmd.saveStrings, &QAction::triggered, m_stringsEditor.get(), &StringsEditor::save);
    connect(cmd.revertStrings, &QAction::triggered, m_stringsEditor.get(), &StringsEditor::revert);
    connect(cmd.saveShown, &QAction::triggered, this, [this] {
        (m_controls.tabs->currentIndex() == 3 ? m_commands.saveStrings : m_commands.saveOpenScript)
            ->trigger();
    });
}

// The find bar stands above the pages, shown with the Scripts page only.
void MainWindow::connectFind()
{
    m_findBar = new FindBar(*m_model, *m_controls.grid, centralWidget());
    static_cast<QVBoxLayout *>(centralWidget()->layout())->insertWidget(1, m_findBar);
    connect(m_commands.find, &QAction::triggered, this, [this] {
        selectPage(2);
        m_findBar->open();
    });
    const auto step = [this](bool forward) {
        selectPage(2);
        if (m_findBar->isHidden())
            m_findBar->open();
        forward ? m_findBar->next() : m_findBar->previous();
    };
    connect(m_commands.findNext, &QAction::triggered, this, [step] { step(true); });
    connect(m_commands.findPrevious, &QAction::triggered, this, [step] { step(false); });
    connect(m_controls.tabs, &QTabWidget::currentChanged, this, [this](int page) {
        if (page != 2)
            m_findBar->hide();
    });
}

void MainWindow::buildParts()
{
    const Controls &c = m_controls;
    WindowModel &model = *m_model;
    m_commands = makeCommands(this);
    m_unsavedQuestion = std::make_unique<ui::UnsavedQuestionBox>(this);
    m_guard = std::make_unique<UnsavedChanges>(model, *m_unsavedQuestion);
    ModWorkspace::Widgets workspace;
    workspace.list1 = c.list1;
    workspace.rootFiles = c.rootFiles;
    workspace.cmdRootOpen = c.cmdRootOpen;
    workspace.cmdScripts = c.cmdScripts;
    workspace.cmdLevels = c.cmdLevels;
    workspace.cmdStrings = c.cmdStrings;
    workspace.work = c.work;
    workspace.listMaps = c.listMaps;
    workspace.listMissions = c.listMissions;
    workspace.stealthLevels = c.stealthLevels;
    workspace.file1 = c.file1;
    workspace.list2 = c.list2;
    const Commands &cmd = m_commands;
    workspace.newScript = cmd.newScript;
    workspace.saveScript = cmd.saveScript;
    workspace.scrOpen = c.scrOpen;
    workspace.listToggle = c.listToggle;
    workspace.saveScriptAs = cmd.saveScriptAs;
    workspace.deleteScript = cmd.deleteScript;
    workspace.stringsText = c.stringsText;
    workspace.saveStrings = cmd.saveStrings;
    workspace.revertStrings = cmd.revertStrings;
    m_workspace = std::make_unique<ModWorkspace>(model, m_busy, *m_guard, workspace, this);
    m_browser = std::make_unique<ScriptBrowser>(model, m_busy, *m_guard, c.file1, c.list2, c.scrOpen, this,
                                                c.noticeBar);
    m_scriptFiles = std::make_unique<ScriptFiles>(
        model, m_busy, *m_guard, *m_browser,
        ScriptFiles::Widgets{c.saveSc, c.saveScAs, c.newSc, c.deleteSc, c.file1, c.list2}, this);
    m_stringsEditor =
        std::make_unique<StringsEditor>(model, m_busy, *m_guard, c.stringsText, this, c.noticeBar);
    m_guard->setSaves([this] { return m_scriptFiles->saveBeforeReplacing(); },
                      [this] { return m_stringsEditor->writeFiles(); });
    m_folderActions = std::make_unique<FolderActions>(
        model, m_busy, *m_guard,
        FolderActions::Widgets{c.cmdScripts, c.cmdLevels, c.cmdStrings, c.cmdMapOpen, c.cmdMissionOpen,
                               c.cmdRootOpen, c.cmdPrefs, c.command2, c.listMaps, c.listMissions,
                               c.rootFiles},
        this);
    m_panels = new ui::Panels(*this, px(kDesignWidth), [this] {
        // The page shown, laid out as compactly as it can be, and the tabs around it.
        const auto *scroll = static_cast<QScrollArea *>(m_controls.tabs->currentWidget());
        return scroll->widget()->minimumSizeHint() + pageChrome();
    });
    m_scriptCheck = std::make_unique<ScriptCheck>(model, *c.grid, cmd.check, *m_panels);
    connect(m_scriptCheck.get(), &ScriptCheck::rowRequested, this, &MainWindow::goToRow);
    m_timeline = std::make_unique<ScriptTimeline>(model, *c.grid, cmd.timeline, *m_panels);
    connect(m_timeline.get(), &ScriptTimeline::rowRequested, this, &MainWindow::goToRow);
    m_captionPreview = std::make_unique<ScriptCaption>(model, *c.grid, *m_timeline, cmd.caption, *m_panels);
    connectCommands();
    connectFind();
    connectModSearch();
    m_editActions = std::make_unique<EditActions>(model, m_busy, *c.grid, this);
    m_diskWatch = std::make_unique<DiskWatch>(model, m_busy, this);
}

MainWindow::~MainWindow()
{
    // The widgets go before the model they show (the strings editor shows a document the
    // model owns) and the parts that act on them.
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        delete child;
}

// The caption says what the last action opened: "Cuewright vVERSION - ", then the mod
// ("(loading)" while it opens), then the script opened since.
void MainWindow::followCaption()
{
    const QString prefix = QStringLiteral("Cuewright v") +
                           QString::fromLatin1(kVersion.data(), static_cast<qsizetype>(kVersion.size())) +
                           QStringLiteral(" - ");
    m_caption = prefix;
    const WindowModel &model = *m_model;
    connect(&model, &WindowModel::modOpening, this, [this, prefix] {
        m_caption = prefix + m_model->modName() + QStringLiteral(" (loading)");
        showCaption();
    });
    connect(&model, &WindowModel::modOpened, this, [this, prefix] {
        m_caption = prefix + m_model->modName();
        showCaption();
    });
    connect(&model, &WindowModel::scriptOpened, this, [this, prefix] {
        m_caption = prefix + m_model->modName() + QStringLiteral(" - ") + m_model->scriptName();
        showCaption();
    });
    connect(&model.editor(), &ScriptEditor::modifiedChanged, this, &MainWindow::showCaption);
    connect(&model.stringsText(), &StringsText::modifiedChanged, this, &MainWindow::showCaption);
    showCaption();
}

// The caption ends in " *" while the grid or the strings editor holds edits their files
// do not, and is exactly the caption otherwise. The window's modified flag is set
// directly: Qt's own way wants a "[*]" in the title, which the caption must not hold.
void MainWindow::showCaption()
{
    const bool modified = m_model->editor().isModified() || m_model->stringsText().isModified();
    setWindowTitle(modified ? m_caption + QStringLiteral(" *") : m_caption);
    setAttribute(Qt::WA_WindowModified, modified);
}

bool MainWindow::restorePanels(const QByteArray &state)
{
    // The panels exist once the window is built: their places wait for them.
    if (!m_built) {
        m_pendingPanels = state;
        return true;
    }
    if (!restoreState(state))
        return false;
    m_panels->placedByUser();
    return true;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_built && (m_busy.isBusy() || !m_guard->mayReplace(UnsavedChanges::Before::Closing))) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::goToRow(int row)
{
    selectPage(2);
    // A row out of view comes to the top, with what follows it below.
    QScrollBar *bar = m_controls.grid->scrollBar();
    if (!m_controls.grid->isOnScreen(row))
        bar->setValue(std::min(row, bar->maximum()));
    activateWindow();
    m_controls.grid->focusRow(row);
}

void MainWindow::buildTabs()
{
    // The first page's controls need no font, so they are made while the system's fonts
    // are still being read; the tabs' captions need them.
    makePage(0);
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabPages"));
    tabs->tabBar()->setObjectName(QStringLiteral("TabTop"));
    tabs->setDocumentMode(false);
    m_controls.tabs = tabs;

    for (int i = 0; i < 4; ++i) {
        auto index = static_cast<std::size_t>(i);
        // A window smaller than even the compact layout scrolls its page instead of
        // cutting it.
        auto *scroll = new QScrollArea;
        scroll->setObjectName(QStringLiteral("pageScroll_%1").arg(i));
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        tabs->addTab(scroll, QString());
        // The tab draws no text of its own (its caption is the label below), so that the
        // caption is drawn once; assistive technology still hears the caption.
        tabs->tabBar()->setAccessibleTabName(i, QString::fromLatin1(kTabCaptions[i]));
        // The caption is a label of its own, so that the selected one can be bold.
        auto *caption = new QLabel(QString::fromLatin1(kTabCaptions[i]), tabs->tabBar());
        caption->setObjectName(QStringLiteral("TabName_%1").arg(i));
        caption->setContentsMargins(6, 0, 6, 0);
        QFont bold = caption->font();
        bold.setBold(true);
        caption->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(caption->text()) + 12);
        tabs->tabBar()->setTabButton(i, QTabBar::LeftSide, caption);
        m_controls.tabName[index] = caption;
    }
    installPage(0);
    connect(tabs, &QTabWidget::currentChanged, this, &MainWindow::selectPage);

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    m_controls.noticeBar = new ui::NoticeBar(central);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_controls.noticeBar);
    layout->addWidget(tabs);
    setCentralWidget(central);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_pagesSized)
        return;
    m_pagesSized = true;
    // The tab widget lays itself out only once shown, so its frame and tab bar are
    // measured now.
    m_designPage = QSize(px(kDesignWidth), px(kDesignHeight)) - pageChrome();
    for (GrowingPage *page : m_pages) {
        if (page)
            setDesignSize(*page);
    }
}

QSize MainWindow::pageChrome() const
{
    const auto *scroll = static_cast<QScrollArea *>(m_controls.tabs->currentWidget());
    return centralWidget()->size() - scroll->viewport()->size();
}

void MainWindow::selectPage(int index)
{
    for (int t = 0; t < 4; ++t) {
        QLabel *caption = m_controls.tabName[static_cast<std::size_t>(t)];
        QFont font = caption->font();
        font.setBold(t == index);
        caption->setFont(font);
    }
    if (m_controls.tabs->currentIndex() != index)
        m_controls.tabs->setCurrentIndex(index);
}

bool MainWindow::isGridBuilt() const
{
    return m_controls.grid && m_controls.grid->isBuilt();
}

bool MainWindow::buildGrid()
{
    try {
        m_controls.grid->buildRows();
    } catch (const std::exception &) {
        Q_EMIT gridBuilt(false);
        return false;
    }
    Q_EMIT gridBuilt(true);
    return true;
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    if (m_firstFrameSeen)
        return;
    m_firstFrameSeen = true;
    // Runs once this frame has been flushed to the screen.
    QMetaObject::invokeMethod(this, "afterFirstFrame", Qt::QueuedConnection);
}

void MainWindow::afterFirstFrame()
{
    // Now that the window system has drawn the frame, the frame too must fit.
    ui::fitOnScreen(this, ui::kCommonFrame);
    Q_EMIT firstFrameShown();
    if (m_gridTiming == GridTiming::AfterFirstFrame) {
        finishBuilding();
        buildGrid();
    }
}

} // namespace cw::gui
