#include "gui/model/WindowModel.h"

#include "core/io/Files.h"
#include "core/levels/Levels.h"
#include "core/strings/GameStrings.h"
#include "core/strings/StringsTable.h"
#include "core/workspace/ModLayout.h"
#include "gui/model/FileListModel.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/StringsModel.h"
#include "gui/model/StringsText.h"
#include "gui/model/TextCodec.h"

#include <QStringListModel>

namespace cw::gui {
namespace {

std::optional<std::vector<std::string>> listed(const std::filesystem::path &folder, std::string_view pattern)
{
    auto names = listFolder(folder, EntryKind::Files, pattern);
    if (!names)
        return std::nullopt;
    return std::move(names).value();
}

} // namespace

WindowModel::WindowModel(GameRoot gameRoot, QObject *parent)
    : QObject(parent), m_gameRoot(std::move(gameRoot)),
      m_editor(new ScriptEditor(m_gameRoot.catalogue, this)),
      m_stringsTable(std::make_shared<StringsTable>()), m_stringsText(new StringsText(this)),
      m_commandNames(new QStringListModel(this)),
      m_stringNames(new StringsColumnModel(StringsColumnModel::Column::Names, this)),
      m_stringTexts(new StringsColumnModel(StringsColumnModel::Column::Texts, this))
{
    QStringList names;
    for (int i = 0; i < m_gameRoot.catalogue.entryCount(); ++i)
        names.append(decode(m_gameRoot.catalogue.entry(i).name));
    m_commandNames->setStringList(names);
    for (FileListModel **list :
         {&m_listModels.scripts, &m_listModels.scriptsInColumns, &m_listModels.rootFiles,
          &m_listModels.levels, &m_listModels.maps, &m_listModels.missions})
        *list = new FileListModel(this);
    m_modNames = new QStringListModel(this);
    QStringList mods;
    for (const std::string &mod : m_gameRoot.mods)
        mods.append(displayName(std::string_view(mod)));
    m_modNames->setStringList(mods);
    // Before any mod is open the script list shows the game root's scripts.
    m_listing.scriptsFolder = m_gameRoot.root;
    connect(this, &WindowModel::filesChanged, this, [this] {
        m_gameStrings.reset();
        m_levels.reset();
    });
}

WindowModel::~WindowModel() = default;

std::shared_ptr<const GameStrings> WindowModel::gameStrings()
{
    if (!m_gameStrings) {
        m_gameStrings = m_modFolder.empty() ? std::make_shared<GameStrings>()
                                            : std::make_shared<GameStrings>(GameStrings::load(
                                                  m_gameRoot.root, m_gameRoot.game, m_modFolder));
    }
    return m_gameStrings;
}

std::shared_ptr<const Levels> WindowModel::levels()
{
    if (!m_levels) {
        m_levels = m_modFolder.empty() ? std::make_shared<Levels>()
                                       : std::make_shared<Levels>(Levels::load(m_modFolder, m_gameRoot.game));
    }
    return m_levels;
}

QAbstractItemModel *WindowModel::modNames() const
{
    return m_modNames;
}

void WindowModel::publishListing()
{
    m_listModels.scripts->setNames(m_listing.scriptsFolder, m_listing.scripts);
    m_listModels.scriptsInColumns->setNames(m_listing.scriptsFolder, m_listing.scriptsInColumns);
    m_listModels.rootFiles->setNames(m_listing.rootFolder, m_listing.rootFiles);
    m_listModels.levels->setNames(m_listing.levelsFolder, m_listing.levels);
    m_listModels.maps->setNames(m_listing.levelsFolder, m_listing.maps);
    m_listModels.missions->setNames(m_listing.levelsFolder, m_listing.missions);
    Q_EMIT listingChanged();
}

QAbstractItemModel *WindowModel::commandNames() const
{
    return m_commandNames;
}

QAbstractItemModel *WindowModel::stringNames() const
{
    return m_stringNames;
}

QAbstractItemModel *WindowModel::stringTexts() const
{
    return m_stringTexts;
}

std::optional<std::filesystem::path> WindowModel::modFolderAt(int position) const
{
    const auto &mods = m_gameRoot.mods;
    if (position < 0 || position >= static_cast<int>(mods.size()))
        return std::nullopt;
    return m_gameRoot.modsFolder / pathFromName(mods[static_cast<std::size_t>(position)]);
}

std::filesystem::path WindowModel::scriptsFolder() const
{
    return m_files ? m_files->scriptsFolder().value_or(std::filesystem::path()) : std::filesystem::path();
}

std::filesystem::path WindowModel::stringsFile() const
{
    return m_files ? m_files->stringsFile() : std::filesystem::path();
}

const FileStamp &WindowModel::stamp(OpenFile file) const
{
    return file == OpenFile::Script ? m_scriptOnDisk.stamp : m_stringsOnDisk.stamp;
}

std::filesystem::path WindowModel::pathOf(OpenFile file) const
{
    return file == OpenFile::Script ? scriptPath() : stringsFile();
}

void WindowModel::setStamp(OpenFile file, FileStamp stamp)
{
    onDisk(file) = OnDisk{stamp, std::nullopt};
}

DiskState WindowModel::diskState(OpenFile file, Compare compare)
{
    OnDisk &disk = onDisk(file);
    const std::filesystem::path path = pathOf(file);
    const DiskState state = cw::diskState(path, disk.stamp, compare);
    // The same bytes at another time: the next cheap look need not read them again.
    if (state == DiskState::Unchanged && disk.stamp.known)
        disk.stamp = disk.stamp.retimed(path);
    return state;
}

bool WindowModel::edited(OpenFile file) const
{
    return file == OpenFile::Script ? m_editor->isModified() : m_stringsText->isModified();
}

void WindowModel::lookAtDisk()
{
    for (const OpenFile file : {OpenFile::Script, OpenFile::Strings}) {
        if (!stamp(file).known)
            continue;
        const DiskState state = diskState(file, Compare::SizeAndTime);
        OnDisk &disk = onDisk(file);
        if (state == DiskState::Unchanged) {
            disk.announced.reset();
            continue;
        }
        const std::filesystem::path path = pathOf(file);
        std::error_code code;
        const auto now = std::make_pair(std::filesystem::file_size(path, code),
                                        std::filesystem::last_write_time(path, code));
        if (disk.announced == now)
            continue;
        disk.announced = now;
        Q_EMIT changedOnDisk(file, state);
    }
}

std::filesystem::path WindowModel::scriptPath() const
{
    return scriptOpen() ? m_scriptFolder / pathFromName(m_scriptFile) : std::filesystem::path();
}

// The scripts folder, else the game root's scripts as the list shows them then; a folder
// that cannot be listed leaves the list as it was.
PartState WindowModel::listScripts(const std::filesystem::path &modFolder)
{
    if (auto root = listed(m_gameRoot.root, "*.txt")) {
        m_listing.scriptsFolder = m_gameRoot.root;
        m_listing.scripts = std::move(*root);
    }
    const std::filesystem::path folder = findNoCase(modFolder, layout::kScriptsFolder);
    auto scripts = listed(folder, "*.txt");
    if (!scripts)
        return PartState::Broken;
    m_listing.scriptsFolder = folder;
    m_listing.scripts = std::move(*scripts);
    return PartState::Opened;
}

// The root files, then the levels folder; maps, missions and the script columns are
// filled only when both could be listed.
PartState WindowModel::listLevels(const std::filesystem::path &modFolder)
{
    PartState state = PartState::Opened;
    if (auto root = listed(modFolder, "*")) {
        m_listing.rootFolder = modFolder;
        m_listing.rootFiles = std::move(*root);
    } else {
        state = PartState::Broken;
    }
    const std::filesystem::path folder = findNoCase(modFolder, layout::kLevelsFolder);
    if (auto levels = listed(folder, "*")) {
        m_listing.levelsFolder = folder;
        m_listing.levels = std::move(*levels);
    } else {
        state = PartState::Broken;
    }
    m_listing.maps.clear();
    m_listing.missions.clear();
    m_listing.scriptsInColumns.clear();
    if (state == PartState::Broken)
        return state;
    for (const std::string &name : m_listing.levels) {
        const layout::LevelFile kind = layout::classifyLevelFile(name);
        if (kind == layout::LevelFile::Map)
            m_listing.maps.push_back(name);
        else if (kind == layout::LevelFile::Mission)
            m_listing.missions.push_back(name);
    }
    m_listing.scriptsInColumns = m_listing.scripts;
    return state;
}

PartState WindowModel::readStrings(RefreshReason reason, ModOpening &opening)
{
    if (reason == RefreshReason::ScriptFileAction)
        return PartState::Untouched;
    const std::filesystem::path path = m_files->stringsFile();
    // A file too large to be a strings table is named; a missing one breaks the part
    // without a word.
    const auto read = [&]() -> std::optional<ReadFile> {
        auto file = m_files->readStrings();
        if (file)
            return std::move(file).value();
        std::error_code code;
        if (std::filesystem::is_regular_file(path, code) &&
            std::filesystem::file_size(path, code) > kMaxFileBytes)
            opening.stringsRefused = file.error();
        return std::nullopt;
    };
    std::optional<ReadFile> file;
    PartState state = PartState::Opened;
    if (reason != RefreshReason::StringsSaved) {
        m_stringsText->setFileBytes({});
        file = read();
        if (!file) {
            setStamp(OpenFile::Strings, FileStamp());
            return PartState::Broken;
        }
        m_stringsText->setFileBytes(file->bytes);
        setStamp(OpenFile::Strings, file->stamp);
    } else {
        file = read();
        if (!file)
            state = PartState::OpenedThenBroken;
    }
    setStringsTable(std::make_shared<StringsTable>(file ? std::move(file->bytes) : std::string()));
    // No script is open after the strings are read: the rows are reset, which cannot fail.
    static_cast<void>(openScript(std::string()));
    return state;
}

void WindowModel::setStringsTable(std::shared_ptr<const StringsTable> table)
{
    Q_EMIT stringsTableAboutToChange();
    m_stringsTable = std::move(table);
    m_stringNames->setTable(m_stringsTable);
    m_stringTexts->setTable(m_stringsTable);
    m_editor->setStrings(m_stringsTable);
    Q_EMIT stringsTableChanged();
}

ModOpening WindowModel::openMod(int position, RefreshReason reason)
{
    ModOpening opening;
    opening.reason = reason;
    const auto folder = modFolderAt(position);
    if (!folder)
        return opening;
    const QString name = displayName(std::string_view(m_gameRoot.mods[static_cast<std::size_t>(position)]));
    m_modFolder = *folder;
    m_files.emplace(*folder);
    m_modPosition = position;
    m_modName = name;
    Q_EMIT modOpening(reason);

    opening.scripts = listScripts(*folder);
    opening.levels = listLevels(*folder);
    publishListing();
    opening.strings = readStrings(reason, opening);

    Q_EMIT modOpened(opening);
    Q_EMIT filesChanged();
    return opening;
}

void WindowModel::relistScripts()
{
    if (auto scripts = listed(m_listing.scriptsFolder, "*.txt")) {
        m_listing.scripts = std::move(*scripts);
        publishListing();
    }
}

Result<ScriptReadReport, ScriptOpenFailure> WindowModel::openScript(const std::string &fileName)
{
    ReadFile file;
    const std::filesystem::path folder = m_listing.scriptsFolder;
    if (!fileName.empty()) {
        const std::filesystem::path path = folder / pathFromName(fileName);
        // The list shows the game root's scripts when the mod has no scripts folder:
        // those are the game's own files, read as the game's data is.
        const bool ofTheMod = m_files && folder == m_files->scriptsFolder();
        auto read = ofTheMod ? m_files->readScript(path) : stamped(path, readFile(path));
        if (!read)
            return ScriptOpenFailure{read.error(), std::nullopt, fileName};
        file = std::move(read).value();
    }
    auto report = m_editor->load(std::move(file.bytes));
    if (!report)
        return ScriptOpenFailure{std::nullopt, report.error(), fileName};
    m_scriptFile = fileName;
    m_scriptName = displayName(std::string_view(fileName));
    m_scriptFolder = folder;
    setStamp(OpenFile::Script, file.stamp);
    Q_EMIT scriptOpened();
    Q_EMIT filesChanged();
    return std::move(report).value();
}

void WindowModel::scriptWritten(FileStamp stamp)
{
    setStamp(OpenFile::Script, stamp);
    m_editor->markSaved();
    Q_EMIT filesChanged();
}

void WindowModel::stringsWritten(FileStamp stamp)
{
    setStamp(OpenFile::Strings, stamp);
    m_stringsText->markWritten();
    Q_EMIT filesChanged();
}

void WindowModel::stringsReread(const ReadFile &read)
{
    m_stringsText->setFileBytes(read.bytes);
    m_stringsText->ensureLoaded();
    setStamp(OpenFile::Strings, read.stamp);
    Q_EMIT filesChanged();
}

} // namespace cw::gui
