#pragma once

#include "gui/ui/Busy.h"
#include <QObject>

#include <array>

class QAction;
class QPushButton;
class QWidget;

namespace cw::gui {

class FileListBox;
class IndicatorLabel;
class ListBox;
class UnsavedChanges;
class WindowModel;
struct ModOpening;
enum class RefreshReason;

// The mod list and what opening a mod shows: the lists of its files, the three
// indicators and which buttons may be used. The model opens the mod; this part asks
// first when the user picks another, and shows each opening as it went.
class ModWorkspace : public QObject
{
    Q_OBJECT
public:
    // The controls an opening sets.
    struct Widgets
    {
        ListBox *list1 = nullptr;
        FileListBox *rootFiles = nullptr;
        QPushButton *cmdRootOpen = nullptr;
        QPushButton *cmdScripts = nullptr;
        QPushButton *cmdLevels = nullptr;
        QPushButton *cmdStrings = nullptr;
        std::array<IndicatorLabel *, 3> work{};
        FileListBox *listMaps = nullptr;
        FileListBox *listMissions = nullptr;
        FileListBox *stealthLevels = nullptr;
        FileListBox *file1 = nullptr;
        FileListBox *list2 = nullptr;
        QAction *newScript = nullptr;
        QAction *saveScript = nullptr;
        QPushButton *scrOpen = nullptr;
        QPushButton *listToggle = nullptr;
        QAction *saveScriptAs = nullptr;
        QAction *deleteScript = nullptr;
        QWidget *stringsText = nullptr;
        QAction *saveStrings = nullptr;
        QAction *revertStrings = nullptr;
    };

    ModWorkspace(WindowModel &model, ui::Busy &busy, UnsavedChanges &guard, const Widgets &widgets,
                 QWidget *messages);

private:
    void userSelectsMod();
    void begin(RefreshReason reason);
    void showOpening(const ModOpening &opening);

    WindowModel &m_model;
    ui::Busy &m_busy;
    UnsavedChanges &m_guard;
    Widgets w;
    QWidget *m_messages;
};

} // namespace cw::gui
