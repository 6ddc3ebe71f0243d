#pragma once

#include "core/find/ModEdit.h"

#include <QObject>
#include <QString>
#include <QThreadPool>

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

class QAction;
class QCheckBox;
class QDockWidget;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
class QWidget;

namespace cw::gui {

class FoundLinesModel;
class WindowModel;
struct ModFound;
namespace ui {
class Busy;
class Panels;
} // namespace ui

// Find and replace across the open mod, and the rename of a strings key, in a panel
// docked as the Check panel is ("findPanel", its content "modFind"). A search or a plan
// reads every script and strings file of the mod, so it runs off the window's thread:
// the window answers meanwhile, and a newer request replaces an older one. What a
// replace or a rename will change is shown line by line, with check boxes, before
// anything is written; then only the checked lines' matched bytes are written, through
// the mod's files, and the whole is undone as one step ("Undo Replace in Mod") while none
// of the files changed since.
class ModSearch : public QObject
{
    Q_OBJECT
public:
    // What the window does around a change of the mod's files.
    struct Hooks
    {
        // Asks about unsaved edits before a change rewrites the open script (`script`)
        // or the strings table (`strings`); false when the user cancels.
        std::function<bool(bool script, bool strings)> mayRewrite;
        // The files were written: whatever shows one of them reads it again.
        std::function<void(const std::vector<std::filesystem::path> &files)> rewritten;
    };

    ModSearch(WindowModel &model, ui::Busy &busy, ui::Panels &panels, QAction *undo, QWidget *messages,
              Hooks hooks);
    ~ModSearch() override;

    // Shows the panel, `text` (when not empty) in its find field, the field focused.
    void open(const QString &text);
    // Finds the field's text in the mod's scripts and strings files.
    void search();
    // Plans the replacement of the field's text, shown before "Replace" writes it.
    void previewReplace();
    // Asks for a new name of the strings key `key` and shows the rename's plan.
    void renameKey(const QString &key);
    // Writes the checked lines of the plan shown.
    void replace();
    // Puts back what the last replace or rename wrote.
    void undo();

    // Whether a search or a plan is being made.
    bool searching() const { return m_running > 0; }
    QDockWidget *panel() const { return m_panel; }
    QWidget *view() const { return m_view; }
    FoundLinesModel &results() const { return *m_results; }

Q_SIGNALS:
    // The results of a search, or a plan, are shown.
    void searched();
    // A found line was double-clicked: that line of that file should be shown.
    void lineRequested(const std::filesystem::path &file, int line);

private:
    using Planned = Result<find::ModChange, std::string>;

    // Invoked by name, queued: hands the newest result of the pool to the window's thread.
    Q_INVOKABLE void deliver();

    void build();
    QWidget *buildFields();
    template<class Work, class Done> void inBackground(Work work, Done done);
    void showFound(ModFound found, const QString &text);
    void showPlan(Planned planned, const QString &what, const QString &title);
    void clear();
    void showSummary(const QString &text);
    void followChecks();
    std::vector<find::FileChange> checkedChanges() const;
    bool takeUpChangesOnDisk(std::vector<find::FileChange> &changes,
                             const std::vector<std::size_t> &silently);
    bool mayRewrite(std::vector<find::FileChange> &changes);
    template<class Files> bool askAboutOpenFiles(const Files &files);
    void report(const find::ChangeWritten &written, int lines, const QString &done);
    void rewritten(const std::vector<find::WrittenFile> &files);
    QString shown(const std::filesystem::path &file) const;
    find::Options options() const;

    WindowModel &m_model;
    ui::Busy &m_busy;
    ui::Panels &m_panels;
    QAction *m_undo;
    QWidget *m_messages;
    Hooks m_hooks;
    QDockWidget *m_panel;
    QWidget *m_view = nullptr; // made the first time the panel opens
    QLineEdit *m_text = nullptr;
    QCheckBox *m_case = nullptr;
    QCheckBox *m_word = nullptr;
    QLineEdit *m_replacement = nullptr;
    QPushButton *m_apply = nullptr;
    QLabel *m_summary = nullptr;
    QTreeView *m_tree = nullptr;
    FoundLinesModel *m_results = nullptr;
    // The plan shown, what applying it is called ("Replace", "Rename"), and what the last
    // one wrote, in which mod.
    std::optional<find::ModChange> m_plan;
    QString m_planWhat;
    std::vector<find::WrittenFile> m_written;
    std::filesystem::path m_writtenMod;
    std::filesystem::path m_searchedMod;
    // Requests run one at a time, in order; only the newest one's result is shown.
    QThreadPool m_pool;
    std::mutex m_readyLock;
    std::function<void()> m_ready;
    int m_generation = 0;
    int m_running = 0;
};

} // namespace cw::gui
