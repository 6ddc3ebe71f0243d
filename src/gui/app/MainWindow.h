#pragma once

#include "core/strings/StringsTable.h"
#include "core/workspace/GameRoot.h"
#include "gui/app/AppState.h"
#include "gui/app/Busy.h"
#include "gui/app/Controls.h"

#include <memory>

#include <QWidget>

class QPushButton;
class QStringListModel;

namespace cw::gui {

class DiskWatch;
class EditActions;
class ScriptEditor;
class StringsColumnModel;
class UnsavedChanges;
class FolderActions;
class ModWorkspace;
class ScriptBrowser;
class ScriptCheck;
class ScriptFiles;
class StringsEditor;

// The window "Form1": four tab pages over the controls of a game root, the editor
// grid on the "Scripts" page. Behaviour lives in the parts the window wires up; the
// window builds the controls, one small function per page.
class MainWindow : public QWidget
{
    Q_OBJECT
public:
    // The grid's 700 widgets can be built before the window is shown, or right after
    // its first frame, so that the window appears as fast as a bare one.
    enum class GridBuild { Now, AfterFirstFrame };

    explicit MainWindow(GameRoot gameRoot, GridBuild gridBuild = GridBuild::Now, QWidget *parent = nullptr);
    ~MainWindow() override;

    const Controls &controls() const { return m_controls; }
    ScriptGrid &grid() const { return *m_controls.grid; }
    AppState &state() { return m_state; }
    const GameRoot &gameRoot() const { return m_gameRoot; }
    ModWorkspace &workspace() const { return *m_workspace; }
    ScriptBrowser &browser() const { return *m_browser; }
    ScriptFiles &scriptFiles() const { return *m_scriptFiles; }
    StringsEditor &stringsEditor() const { return *m_stringsEditor; }
    FolderActions &folderActions() const { return *m_folderActions; }
    ScriptCheck &scriptCheck() const { return *m_scriptCheck; }
    ScriptEditor &editor() const { return *m_editor; }
    UnsavedChanges &unsavedChanges() const { return *m_unsavedChanges; }

    // Runs a user request unless another one is running (a load, a save, a mod
    // opening): requests that would start another one meanwhile are ignored.
    template<class Request> void whenIdle(Request request)
    {
        if (m_state.busy)
            return;
        const BusyScope busy(m_state.busy);
        request();
    }

    // Shows tab page `index` and makes its caption the one in bold.
    void selectPage(int index);
    bool isGridBuilt() const;
    // Builds the grid now if its deferred build has not run yet.
    void ensureGridBuilt();

    void setCaption(const QString &text);

    // The strings table behind the strings choosers and the hidden lists.
    const StringsTable &stringsTable() const;
    void setStringsTable(std::shared_ptr<const StringsTable> table);

Q_SIGNALS:
    // After the first frame has been painted and shown.
    void firstFrameShown();
    // After the grid's rows exist; `ok` is false when building them failed.
    void gridBuilt(bool ok);

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildTabs();
    QWidget *buildMainPage();
    QWidget *buildLevelsPage();
    QWidget *buildScriptsPage();
    QWidget *buildStringsPage();
    void buildHiddenControls();
    // Invoked by name, queued: run once the first frame has been flushed.
    Q_INVOKABLE void afterFirstFrame();
    void showCaption();
    bool buildGrid();

    QPushButton *button(QWidget *page, const QString &name, const QString &caption, const QString &tip);

    GameRoot m_gameRoot;
    GridBuild m_gridBuild;
    AppState m_state;
    Controls m_controls;
    QStringListModel *m_commandNames = nullptr;
    StringsColumnModel *m_stringNames = nullptr;
    StringsColumnModel *m_stringTexts = nullptr;
    bool m_firstFrameSeen = false;
    std::unique_ptr<ScriptBrowser> m_browser;
    std::unique_ptr<ModWorkspace> m_workspace;
    std::unique_ptr<ScriptFiles> m_scriptFiles;
    std::unique_ptr<StringsEditor> m_stringsEditor;
    std::unique_ptr<FolderActions> m_folderActions;
    std::unique_ptr<ScriptCheck> m_scriptCheck;
    std::unique_ptr<UnsavedChanges> m_unsavedChanges;
    std::unique_ptr<EditActions> m_editActions;
    std::unique_ptr<DiskWatch> m_diskWatch;
    ScriptEditor *m_editor = nullptr;
    QString m_caption;
};

} // namespace cw::gui
