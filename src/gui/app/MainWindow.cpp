#include "gui/app/MainWindow.h"

#include "gui/app/DiskWatch.h"
#include "gui/app/EditActions.h"
#include "gui/app/UnsavedChanges.h"
#include "gui/grid/ScriptEditor.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/script/ScriptBrowser.h"
#include "gui/script/ScriptCheck.h"
#include "gui/script/ScriptFiles.h"
#include "gui/strings/StringsEditor.h"
#include "gui/strings/StringsModel.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/TextCodec.h"
#include "gui/workspace/FolderActions.h"
#include "gui/workspace/ModWorkspace.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QStringListModel>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace cw::gui {

namespace {
const char *const kTabCaptions[] = {"Main Mod Page", "Maps and Missions", "Scripts", "Strings_Default"};
}

MainWindow::MainWindow(GameRoot gameRoot, GridBuild gridBuild, QWidget *parent)
    : QWidget(parent), m_gameRoot(std::move(gameRoot)), m_gridBuild(gridBuild)
{
    setObjectName(QStringLiteral("Form1"));
    // Everything below is laid out at the scale of the application's font.
    setLayoutScale(scaleForFont(QApplication::font()));
    m_editor = new ScriptEditor(m_gameRoot.catalogue, this);
    connect(m_editor, &ScriptEditor::modifiedChanged, this, &MainWindow::showCaption);
    setCaption(m_state.captionPrefix);
    resize(px(10065), px(10695));

    QStringList names;
    for (int i = 0; i < m_gameRoot.catalogue.entryCount(); ++i)
        names.append(decode(m_gameRoot.catalogue.entry(i).name));
    m_commandNames = new QStringListModel(names, this);
    m_stringNames = new StringsColumnModel(StringsColumnModel::Column::Names, this);
    m_stringTexts = new StringsColumnModel(StringsColumnModel::Column::Texts, this);

    buildTabs();
    buildHiddenControls();
    selectPage(0);
    m_browser = std::make_unique<ScriptBrowser>(*this);
    m_workspace = std::make_unique<ModWorkspace>(*this);
    m_scriptFiles = std::make_unique<ScriptFiles>(*this);
    m_stringsEditor = std::make_unique<StringsEditor>(*this);
    m_folderActions = std::make_unique<FolderActions>(*this);
    m_scriptCheck = std::make_unique<ScriptCheck>(*this);
    m_unsavedChanges = std::make_unique<UnsavedChanges>(*this);
    m_editActions = std::make_unique<EditActions>(*this);
    m_diskWatch = std::make_unique<DiskWatch>(*this);
    if (m_gridBuild == GridBuild::Now)
        buildGrid();
}

MainWindow::~MainWindow() = default;

const StringsTable &MainWindow::stringsTable() const
{
    return m_stringNames->table();
}

void MainWindow::setStringsTable(std::shared_ptr<const StringsTable> table)
{
    ensureGridBuilt();
    m_controls.grid->replaceStrings([&] {
        m_stringNames->setTable(table);
        m_stringTexts->setTable(table);
        m_editor->setStrings(table);
    });
}

void MainWindow::ensureGridBuilt()
{
    if (!isGridBuilt())
        buildGrid();
}

void MainWindow::setCaption(const QString &text)
{
    m_caption = text;
    showCaption();
}

// The caption ends in " *" while the grid differs from its file, and is exactly the
// caption otherwise. The window's modified flag is set directly: Qt's own way wants a
// "[*]" in the title, which the caption must not hold.
void MainWindow::showCaption()
{
    const bool modified = m_editor->isModified();
    setWindowTitle(modified ? m_caption + QStringLiteral(" *") : m_caption);
    setAttribute(Qt::WA_WindowModified, modified);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_state.busy || !m_unsavedChanges->mayReplace(UnsavedChanges::Before::Closing)) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void MainWindow::buildTabs()
{
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabPages"));
    tabs->tabBar()->setObjectName(QStringLiteral("TabTop"));
    tabs->setDocumentMode(false);
    m_controls.tabs = tabs;

    QWidget *pages[] = {buildMainPage(), buildLevelsPage(), buildScriptsPage(), buildStringsPage()};
    for (int i = 0; i < 4; ++i) {
        auto index = static_cast<std::size_t>(i);
        pages[i]->setObjectName(QStringLiteral("TabFrame_%1").arg(i));
        m_controls.tabFrame[index] = pages[i];
        tabs->addTab(pages[i], QString());
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

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs);
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
    Q_EMIT firstFrameShown();
    if (m_gridBuild == GridBuild::AfterFirstFrame)
        buildGrid();
}

} // namespace cw::gui
