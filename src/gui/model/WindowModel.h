#pragma once

#include "core/io/FileStamp.h"
#include "core/io/IoError.h"
#include "core/script/ScriptLines.h"
#include "core/util/Result.h"
#include "core/workspace/GameRoot.h"
#include "core/workspace/ModFiles.h"

#include <QObject>
#include <QString>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAbstractItemModel;
class QStringListModel;

namespace cw {
class GameStrings;
class Levels;
class StringsTable;
} // namespace cw

namespace cw::gui {

class FileListModel;
class ScriptEditor;
class StringsColumnModel;
class StringsText;

// Why the open mod is opened: says which parts of the window to leave as they are.
enum class RefreshReason {
    UserOrFolderAction, // everything is (re)loaded: the user picked the mod, or a folder was made
    ScriptFileAction,   // save, save as, new, delete: the strings side and the grid stay
    StringsSaved,       // the strings editor keeps its text; lists and grid are refilled
};

// The files of the open mod the window lists, their names as the file system spells
// them (bytes, shown decoded, opened with these very bytes).
struct ModListing
{
    // The folder the script lists show: the mod's scripts folder, or the game root when
    // the mod has none, as the window's script list has always listed then.
    std::filesystem::path scriptsFolder;
    std::vector<std::string> scripts; // its "*.txt" files
    // The same names for the list laid out in columns, which opening a mod fills only
    // when the levels folder could be listed.
    std::vector<std::string> scriptsInColumns;
    std::filesystem::path levelsFolder;
    std::vector<std::string> levels; // every file of the levels folder
    std::vector<std::string> maps;   // those whose names begin with "map"
    std::vector<std::string> missions;
    std::filesystem::path rootFolder; // the mod folder
    std::vector<std::string> rootFiles;
};

// How each part of a mod opened.
enum class PartState {
    Untouched,        // this opening left it as it was
    Opened,           // its folder or file could be read
    Broken,           // it could not
    OpenedThenBroken, // the strings of a save: taken as opened, then the file could not be read
};

struct ModOpening
{
    RefreshReason reason = RefreshReason::UserOrFolderAction;
    PartState scripts = PartState::Untouched;
    PartState levels = PartState::Untouched;
    PartState strings = PartState::Untouched;
    // A strings table too large to be one, which the user is told about (a missing or
    // unreadable one breaks the part without a word).
    std::optional<IoError> stringsRefused;
};

// Why a script could not be opened: its file could not be read, or the editor refuses
// one of its lines (the tokenizer's message, with the line).
struct ScriptOpenFailure
{
    std::optional<IoError> unreadable;
    std::optional<ScriptReadError> refused;
    std::string fileName;
};

// The two files of the open mod that the window holds in editors, whose state on disk
// it keeps.
enum class OpenFile { Script, Strings };

// What the window is about: the game location and its mods, the open mod and the listing
// of its files, the open script and its document with its undo history, the strings
// table and the strings editor's text, and what each file held when last read or
// written. The window's parts act on it and follow its signals; it shows
// nothing itself.
class WindowModel : public QObject
{
    Q_OBJECT
public:
    explicit WindowModel(GameRoot gameRoot, QObject *parent = nullptr);
    ~WindowModel() override;

    const GameRoot &gameRoot() const { return m_gameRoot; }

    // The mod: its folder and its position among the mods, empty and -1 before any mod
    // is opened.
    const std::filesystem::path &modFolder() const { return m_modFolder; }
    int modPosition() const { return m_modPosition; }
    const QString &modName() const { return m_modName; }
    bool modOpen() const { return !m_modFolder.empty(); }
    // The folder of the mod at `position` in the mod list.
    std::optional<std::filesystem::path> modFolderAt(int position) const;
    // The open mod's scripts folder when it has one, else empty.
    std::filesystem::path scriptsFolder() const;
    // Every file action on the open mod goes through these; null before a mod is open.
    const ModFiles *files() const { return m_files ? &*m_files : nullptr; }

    // Opens the mod at `position`: lists its scripts, root files, maps and missions,
    // reads its strings table (unless `reason` keeps it), and closes the open script
    // (when the strings were read). A failure of one part does not stop the next.
    ModOpening openMod(int position, RefreshReason reason);
    // Opens the open mod again.
    ModOpening reopenMod(RefreshReason reason) { return openMod(m_modPosition, reason); }
    const ModListing &listing() const { return m_listing; }
    // The listing as the models the window's lists show, and the mods by name.
    struct ListModels
    {
        FileListModel *scripts = nullptr;
        FileListModel *scriptsInColumns = nullptr;
        FileListModel *rootFiles = nullptr;
        FileListModel *levels = nullptr;
        FileListModel *maps = nullptr;
        FileListModel *missions = nullptr;
    };
    const ListModels &listModels() const { return m_listModels; }
    QAbstractItemModel *modNames() const;

    // The open script: its name as the file system spells it, shown decoded, and where
    // it was read from; no name when no script is open.
    bool scriptOpen() const { return !m_scriptFile.empty(); }
    const std::string &scriptFile() const { return m_scriptFile; }
    const QString &scriptName() const { return m_scriptName; }
    std::filesystem::path scriptPath() const;
    // The mod folder the open script belongs to, which bounds what may be written.
    std::filesystem::path scriptModFolder() const { return m_scriptFolder.parent_path(); }
    // Opens the script `fileName` of the listed scripts folder into the document; an
    // empty name resets every row and closes the script. A script that cannot be opened
    // changes nothing.
    Result<ScriptReadReport, ScriptOpenFailure> openScript(const std::string &fileName);
    // The open script's file now holds the document (its bytes stamped): the document
    // is the saved state.
    void scriptWritten(FileStamp stamp);
    // Files of the mod were written other than through the two editors: what was made of
    // them is stale (filesChanged).
    void filesRewritten() { Q_EMIT filesChanged(); }
    // Lists the scripts folder again, keeping the rest as it is.
    void relistScripts();

    ScriptEditor &editor() const { return *m_editor; }

    // The strings editor's text.
    StringsText &stringsText() const { return *m_stringsText; }
    // The strings file of the open mod, in whatever letter case it has.
    std::filesystem::path stringsFile() const;
    // The strings editor's text is now the file's (its bytes stamped).
    void stringsWritten(FileStamp stamp);
    // The strings file was read again into the editor.
    void stringsReread(const ReadFile &read);

    // What the open script's file or the strings file held when it was last read or
    // written (a stamp of nothing when none is open or it could not be read), and
    // whether it holds that still.
    const FileStamp &stamp(OpenFile file) const;
    std::filesystem::path pathOf(OpenFile file) const;
    DiskState diskState(OpenFile file, Compare compare);
    // Whether the file holds edits its disk does not.
    bool edited(OpenFile file) const;
    // Looks at both files, as the window does when it becomes active again: each change
    // another program made is announced once (changedOnDisk), not again at every look,
    // until the file is read or written again or holds what it held.
    void lookAtDisk();

    // The open mod's strings as the game itself loads them (its language table, the
    // mod's strings file merged on top, the preferences that pick them), which the
    // checker and the timeline go by; read again after the files changed.
    std::shared_ptr<const GameStrings> gameStrings();
    // The levels the open mod's scripts run in (its own levels folder, else the
    // game's), which the timeline takes camera animations from; read again likewise.
    std::shared_ptr<const Levels> levels();

    // The names the choosers list: the catalogue's commands, and the strings table's
    // names and texts, shared by all 100 rows.
    QAbstractItemModel *commandNames() const;
    QAbstractItemModel *stringNames() const;
    QAbstractItemModel *stringTexts() const;

Q_SIGNALS:
    // An opening of the mod begins, before any part is read; and it has ended.
    void modOpening(RefreshReason reason);
    void modOpened(const ModOpening &opening);
    void listingChanged();
    // A script (or none) was opened into the document.
    void scriptOpened();
    // The strings table behind the choosers is replaced: about to be (the choosers'
    // resets are no edits), and done.
    void stringsTableAboutToChange();
    void stringsTableChanged();
    // A file the window read from the mod was read or written again: the open script's,
    // or a strings file. Whatever was made of their contents is stale.
    void filesChanged();
    // Another program changed or removed an open file (state Changed or Gone) since it
    // was last read or written.
    void changedOnDisk(OpenFile file, DiskState state);

private:
    PartState listScripts(const std::filesystem::path &modFolder);
    PartState listLevels(const std::filesystem::path &modFolder);
    PartState readStrings(RefreshReason reason, ModOpening &opening);
    void setStringsTable(std::shared_ptr<const StringsTable> table);
    // Puts the listing into the list models and says it changed.
    void publishListing();

    GameRoot m_gameRoot;
    std::filesystem::path m_modFolder;
    int m_modPosition = -1;
    QString m_modName;
    ModListing m_listing;
    ListModels m_listModels;
    QStringListModel *m_modNames = nullptr;

    std::string m_scriptFile;
    QString m_scriptName;
    std::filesystem::path m_scriptFolder;
    // An open file's state on disk: its stamp, and the size and time of a change already
    // announced.
    struct OnDisk
    {
        FileStamp stamp;
        std::optional<std::pair<std::uintmax_t, std::filesystem::file_time_type>> announced;
    };
    OnDisk &onDisk(OpenFile file) { return file == OpenFile::Script ? m_scriptOnDisk : m_stringsOnDisk; }
    void setStamp(OpenFile file, FileStamp stamp);
    OnDisk m_scriptOnDisk;
    std::optional<ModFiles> m_files;
    ScriptEditor *m_editor;

    std::shared_ptr<const StringsTable> m_stringsTable;
    std::shared_ptr<const GameStrings> m_gameStrings; // null while stale
    std::shared_ptr<const Levels> m_levels;           // null while stale
    StringsText *m_stringsText;
    OnDisk m_stringsOnDisk;

    QStringListModel *m_commandNames;
    StringsColumnModel *m_stringNames;
    StringsColumnModel *m_stringTexts;
};

} // namespace cw::gui
