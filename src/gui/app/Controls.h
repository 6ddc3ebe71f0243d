#pragma once

#include <array>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QWidget;

namespace cw::gui {

class FileListBox;
class IndicatorLabel;
class ListBox;
class ScriptGrid;
class StringsTextEdit;
namespace ui {
class NoticeBar;
}

// The named controls of the window. Each is a real widget whose objectName is the
// name the program's behaviour is written against ("List1", "cmdsripts", ...).
struct Controls
{
    // Tab pages: TabFrame_0..3 with their captions TabName_0..3.
    QTabWidget *tabs = nullptr;
    // Above the page shown: messages the user need not answer ("noticeBar").
    ui::NoticeBar *noticeBar = nullptr;
    std::array<QWidget *, 4> tabFrame{};
    std::array<QLabel *, 4> tabName{};

    // "Main Mod Page"
    ListBox *list1 = nullptr;
    FileListBox *rootFiles = nullptr;
    QPushButton *cmdRootOpen = nullptr;
    QPushButton *cmdScripts = nullptr; // "cmdsripts"
    QPushButton *cmdLevels = nullptr;
    QPushButton *cmdStrings = nullptr;
    QPushButton *command2 = nullptr;
    QPushButton *cmdPrefs = nullptr;
    std::array<IndicatorLabel *, 3> work{};
    QLabel *imgWorked = nullptr;
    QLabel *imgBroke = nullptr;

    // "Maps and Missions"
    FileListBox *listMaps = nullptr;
    FileListBox *listMissions = nullptr;
    QPushButton *cmdMapOpen = nullptr;
    QPushButton *cmdMissionOpen = nullptr;

    // "Scripts"
    ScriptGrid *grid = nullptr; // "Frame1"
    FileListBox *file1 = nullptr;
    FileListBox *list2 = nullptr;
    QPushButton *scrOpen = nullptr;
    QPushButton *newSc = nullptr;
    QPushButton *saveSc = nullptr;
    QPushButton *saveScAs = nullptr;
    QPushButton *deleteSc = nullptr;
    QPushButton *listToggle = nullptr;
    QPushButton *cmdCheck = nullptr;    // "Check": what the game will do with the script
    QPushButton *cmdTimeline = nullptr; // "Timeline": when each line runs

    // "Strings_Default"
    StringsTextEdit *stringsText = nullptr;
    QPushButton *saveStrings = nullptr;
    QPushButton *stringsRevert = nullptr;
    QComboBox *cmbStringList = nullptr;
    QComboBox *cmbStringSpam = nullptr;

    // On the window, outside the pages, never shown.
    QLabel *image2 = nullptr;
    QListWidget *dir1 = nullptr;
    FileListBox *stealthLevels = nullptr;
};

} // namespace cw::gui
