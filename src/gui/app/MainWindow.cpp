#include "gui/app/MainWindow.h"

#include "gui/app/DiskWatch.h"
#include "gui/app/EditActions.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/model/UnsavedChanges.h"
#include "gui/model/WindowModel.h"
#include "gui/script/ScriptBrowser.h"
#include "gui/script/ScriptCheck.h"
#include "gui/script/ScriptFiles.h"
#include "gui/script/ScriptTimeline.h"
#include "gui/strings/StringsEditor.h"
#include "gui/strings/StringsTextEdit.h"
#include "gui/ui/FileListBox.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/GrowingPage.h"
#include "gui/ui/NoticeBar.h"
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

namespace cw::gui {

namespace {
const char *const kTabCaptions[] = {"Main Mod Page", "Maps and Missions", "Scripts", "Strings_Default"};
// The window's size in the layout's units: every page is laid out for it.
constexpr int kDesignWidth = 10065;
constexpr int kDesignHeight = 10695;
} // namespace

MainWindow::MainWindow(GameRoot gameRoot, GridTiming gridTiming, QWidget *parent)
    : QWidget(parent), m_gridTiming(gridTiming), m_model(std::make_unique<WindowModel>(std::move(gameRoot)))
{
    setObjectName(QStringLiteral("Form1"));
    // Everything below is laid out at the scale of the application's font.
    setLayoutScale(scaleForFont(QApplication::font()));
    resize(px(kDesignWidth), px(kDesignHeight));
    // At large fonts the layout is larger than a laptop's screen: the window is cut to
    // the screen, and its pages scroll.
    ui::centreOnScreen(this, ui::kCommonFrame);
    connect(m_model.get(), &WindowModel::captionChanged, this, &MainWindow::showCaption);
    showCaption();

    buildTabs();
    buildHiddenControls();
    selectPage(0);
    buildParts();
    if (m_gridTiming == GridTiming::BeforeShow)
        buildGrid();
}

void MainWindow::buildParts()
{
    const Controls &c = m_controls;
    WindowModel &model = *m_model;
    m_guard = std::make_unique<UnsavedChanges>(model, this);
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
    workspace.newSc = c.newSc;
    workspace.saveSc = c.saveSc;
    workspace.scrOpen = c.scrOpen;
    workspace.listToggle = c.listToggle;
    workspace.saveScAs = c.saveScAs;
    workspace.deleteSc = c.deleteSc;
    workspace.stringsText = c.stringsText;
    workspace.saveStrings = c.saveStrings;
    workspace.stringsRevert = c.stringsRevert;
    m_workspace = std::make_unique<ModWorkspace>(model, *m_guard, workspace, this);
    m_browser =
        std::make_unique<ScriptBrowser>(model, *m_guard, c.file1, c.list2, c.scrOpen, this, c.noticeBar);
    m_scriptFiles = std::make_unique<ScriptFiles>(
        model, *m_guard, *m_browser,
        ScriptFiles::Widgets{c.saveSc, c.saveScAs, c.newSc, c.deleteSc, c.file1, c.list2}, this);
    m_stringsEditor =
        std::make_unique<StringsEditor>(model, *m_guard, c.saveStrings, c.stringsRevert, c.stringsText, this);
    m_guard->setSaves([this] { return m_scriptFiles->saveBeforeReplacing(); },
                      [this] { return m_stringsEditor->writeFiles(); });
    m_folderActions = std::make_unique<FolderActions>(
        model, *m_guard,
        FolderActions::Widgets{c.cmdScripts, c.cmdLevels, c.cmdStrings, c.cmdMapOpen, c.cmdMissionOpen,
                               c.cmdRootOpen, c.cmdPrefs, c.command2, c.listMaps, c.listMissions,
                               c.rootFiles},
        this);
    m_scriptCheck = std::make_unique<ScriptCheck>(model, *c.grid, c.cmdCheck, this);
    connect(m_scriptCheck.get(), &ScriptCheck::rowRequested, this, &MainWindow::goToRow);
    m_timeline = std::make_unique<ScriptTimeline>(model, *c.grid, c.cmdTimeline, this);
    connect(m_timeline.get(), &ScriptTimeline::rowRequested, this, &MainWindow::goToRow);
    // Ctrl+S saves what the page shown edits: the strings table on its page, else the
    // open script to its own file (whichever file File1 highlights). A disabled button's
    // action is not taken by its key either.
    const auto save = [this] {
        const Controls &controls = m_controls;
        if (controls.tabs->currentIndex() == 3) {
            if (controls.saveStrings->isEnabled())
                m_stringsEditor->save();
        } else if (controls.saveSc->isEnabled()) {
            m_scriptFiles->saveOpenScript();
        }
    };
    m_editActions = std::make_unique<EditActions>(model, *c.grid, this, save, c.saveScAs, c.newSc);
    m_diskWatch = std::make_unique<DiskWatch>(model, *m_browser, *m_stringsEditor, this, c.noticeBar);
}

MainWindow::~MainWindow()
{
    // The widgets go before the model they show (the strings editor shows a document the
    // model owns) and the parts that act on them.
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        delete child;
}

// The caption ends in " *" while the grid differs from its file, and is exactly the
// caption otherwise. The window's modified flag is set directly: Qt's own way wants a
// "[*]" in the title, which the caption must not hold.
void MainWindow::showCaption()
{
    setWindowTitle(m_model->caption());
    setAttribute(Qt::WA_WindowModified, m_model->captionModified());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_model->isBusy() || !m_guard->mayReplace(UnsavedChanges::Before::Closing)) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
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
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabPages"));
    tabs->tabBar()->setObjectName(QStringLiteral("TabTop"));
    tabs->setDocumentMode(false);
    m_controls.tabs = tabs;

    GrowingPage *pages[] = {buildMainPage(), buildLevelsPage(), buildScriptsPage(), buildStringsPage()};
    for (int i = 0; i < 4; ++i) {
        auto index = static_cast<std::size_t>(i);
        pages[i]->setObjectName(QStringLiteral("TabFrame_%1").arg(i));
        m_controls.tabFrame[index] = pages[i];
        // A window smaller than the layout scrolls its page instead of cutting it.
        auto *scroll = new QScrollArea;
        scroll->setObjectName(QStringLiteral("pageScroll_%1").arg(i));
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidgetResizable(true);
        scroll->setWidget(pages[i]);
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
    connect(tabs, &QTabWidget::currentChanged, this, &MainWindow::selectPage);

    m_controls.noticeBar = new ui::NoticeBar(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_controls.noticeBar);
    layout->addWidget(tabs);
    for (int i = 0; i < 4; ++i)
        m_pages[static_cast<std::size_t>(i)] = pages[i];
    letPagesGrow();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_pagesSized)
        return;
    m_pagesSized = true;
    // The pages' design size is what a page gets in a window of the layout's size: there
    // every control stands exactly where the layout puts it. The tab widget lays itself
    // out only once shown, so its frame and tab bar are measured now.
    const auto *scroll = static_cast<QScrollArea *>(m_controls.tabs->currentWidget());
    const QSize chrome = size() - scroll->viewport()->size();
    const QSize designPage = QSize(px(kDesignWidth), px(kDesignHeight)) - chrome;
    for (GrowingPage *page : m_pages)
        page->setDesignSize(designPage);
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
    return m_controls.grid->isBuilt();
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
    QWidget::paintEvent(event);
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
    if (m_gridTiming == GridTiming::AfterFirstFrame)
        buildGrid();
}

} // namespace cw::gui
