#pragma once

#include "core/workspace/GameRoot.h"
#include "gui/app/Commands.h"
#include "gui/app/Controls.h"
#include "gui/app/GridTiming.h"
#include "gui/ui/Busy.h"

#include <array>
#include <filesystem>
#include <memory>
#include <vector>

#include <QMainWindow>

class QPushButton;

namespace cw::gui {

class DiskWatch;
class GrowingPage;
class EditActions;
class FindBar;
class FolderActions;
class ModSearch;
class ModWorkspace;
class ScriptBrowser;
class ScriptCaption;
class ScriptCheck;
class ScriptFiles;
class ScriptTimeline;
class StringsEditor;
class UnsavedChanges;
class WindowModel;
namespace ui {
class Panels;
class UnsavedQuestionBox;
} // namespace ui

// The window "Form1", where the program is put together: it builds the controls of the
// four tab pages (one small function per page), the model of what the window edits,
// and the parts that act on both, and connects them. Nothing else knows the window.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(GameRoot gameRoot, GridTiming gridTiming = GridTiming::BeforeShow,
                        QWidget *parent = nullptr);
    ~MainWindow() override;

    WindowModel &model() const { return *m_model; }
    // One request of the user at a time, for every part of the window.
    ui::Busy &busy() { return m_busy; }
    const Controls &controls() const { return m_controls; }
    ScriptGrid &grid() const { return *m_controls.grid; }
    ScriptCheck &scriptCheck() const { return *m_scriptCheck; }
    ScriptBrowser &browser() const { return *m_browser; }
    ScriptFiles &scriptFiles() const { return *m_scriptFiles; }
    ScriptTimeline &timeline() const { return *m_timeline; }
    ScriptCaption &captionPreview() const { return *m_captionPreview; }
    FindBar &findBar() const { return *m_findBar; }
    ModSearch &modSearch() const { return *m_modSearch; }
    // The Check and Timeline panels, docked beside the grid.
    ui::Panels &panels() const { return *m_panels; }
    // The panels' places, kept with the window's geometry: restorePanels is false when
    // `state` is not one that saveState wrote.
    bool restorePanels(const QByteArray &state);

    // Shows tab page `index` and makes its caption the one in bold.
    void selectPage(int index);
    bool isGridBuilt() const;

Q_SIGNALS:
    // After the first frame has been painted and shown.
    void firstFrameShown();
    // After the grid's rows exist; `ok` is false when building them failed.
    void gridBuilt(bool ok);

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildTabs();
    // Builds tab page `index` (the first before the first frame, the others after it):
    // its controls, then the page in its tab.
    void buildPage(int index);
    void makePage(int index);
    void installPage(int index);
    // Everything the first frame does without: the other pages, the parts that act on
    // the window, and the panels' places.
    void finishBuilding();
    void setDesignSize(GrowingPage &page) const;
    // What the central widget holds around a page: the notices, the tab bar and frame.
    QSize pageChrome() const;
    GrowingPage *buildMainPage();
    GrowingPage *buildLevelsPage();
    GrowingPage *buildScriptsPage();
    void buildScriptButtons(QWidget *page);
    // How each page's controls follow the page as the window grows past its layout, and
    // how they stand below it.
    void letPageGrow(int index);
    void layOutCompactly(int index);
    void layOutMainPageCompactly();
    GrowingPage *buildStringsPage();
    void buildHiddenControls();
    void buildParts();
    void connectCommands();
    void connectFind();
    void connectModSearch();
    QString keyAtCursor() const;
    void openFoundLine(const std::filesystem::path &file, int line);
    void readAgain(const std::vector<std::filesystem::path> &files);
    // Invoked by name, queued: run once the first frame has been flushed.
    Q_INVOKABLE void afterFirstFrame();
    void followCaption();
    void showCaption();
    bool buildGrid();
    // Shows a row of the grid and gives it the keyboard focus.
    void goToRow(int row);

    QPushButton *button(QWidget *page, const QString &name, const QString &caption, const QString &tip);

    GridTiming m_gridTiming;
    std::unique_ptr<WindowModel> m_model;
    Controls m_controls;
    bool m_firstFrameSeen = false;
    bool m_pagesSized = false;
    bool m_built = false;
    QSize m_designPage;
    QByteArray m_pendingPanels;
    std::array<GrowingPage *, 4> m_pages{};
    Commands m_commands;
    QString m_caption;
    ui::Busy m_busy;
    ui::Panels *m_panels = nullptr; // a child of the window
    FindBar *m_findBar = nullptr;   // a child of the window
    std::unique_ptr<ui::UnsavedQuestionBox> m_unsavedQuestion;
    std::unique_ptr<UnsavedChanges> m_guard;
    std::unique_ptr<ModWorkspace> m_workspace;
    std::unique_ptr<ScriptBrowser> m_browser;
    std::unique_ptr<ScriptFiles> m_scriptFiles;
    std::unique_ptr<StringsEditor> m_stringsEditor;
    std::unique_ptr<FolderActions> m_folderActions;
    std::unique_ptr<ScriptCheck> m_scriptCheck;
    std::unique_ptr<ScriptTimeline> m_timeline;
    std::unique_ptr<ModSearch> m_modSearch;
    std::unique_ptr<ScriptCaption> m_captionPreview;
    std::unique_ptr<EditActions> m_editActions;
    std::unique_ptr<DiskWatch> m_diskWatch;
};

} // namespace cw::gui
