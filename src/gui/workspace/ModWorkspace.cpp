#include "gui/workspace/ModWorkspace.h"

#include "core/io/Files.h"
#include "core/workspace/ModLayout.h"
#include "gui/app/MainWindow.h"
#include "gui/app/UnsavedChanges.h"
#include "gui/script/ScriptBrowser.h"
#include "gui/script/ScriptCheck.h"
#include "gui/script/ScriptFiles.h"
#include "gui/strings/StringsTextEdit.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/FileListBox.h"
#include "gui/ui/Pictures.h"
#include "gui/ui/TextCodec.h"

#include <QPushButton>
#include <QSignalBlocker>

namespace cw::gui {

// One run of openMod: the mod, why it is opened, and which phase failed last. A failure
// is charged to the phase in force; the success steps of a phase run unless that phase
// failed.
class ModWorkspace::Opening
{
public:
    Opening(MainWindow &window, std::filesystem::path folder, RefreshReason reason)
        : m_window(window), c(window.controls()), m_folder(std::move(folder)), m_reason(reason)
    {
    }

    void begin();
    void scripts();
    void levels();
    void strings();

private:
    enum Phase { kNone = 0, kScripts = 1, kLevels = 2, kStrings = 3 };
    void fail(Phase phase)
    {
        m_failed = phase;
        c.work[static_cast<std::size_t>(phase - 1)]->setIndicator(Indicator::Broken);
    }
    bool failedIn(Phase phase) const { return m_failed == phase; }
    std::optional<std::string> readStrings(const std::filesystem::path &path);

    MainWindow &m_window;
    const Controls &c;
    std::filesystem::path m_folder;
    RefreshReason m_reason;
    Phase m_failed = kNone;
};

void ModWorkspace::Opening::begin()
{
    c.rootFiles->setEnabled(true);
    c.cmdRootOpen->setEnabled(true);
    c.file1->setFolder(m_window.gameRoot().root);
    m_window.scriptFiles().disarmDelete();
    if (m_reason != RefreshReason::UserOrFolderAction)
        return;
    c.stringsText->setFileBytes({});
    c.stringsText->hide();
    for (QWidget *w : {c.cmdScripts, c.cmdLevels, c.cmdStrings})
        w->setEnabled(true);
    for (QWidget *w : {c.saveStrings, c.stringsRevert, c.listToggle, c.saveScAs, c.deleteSc})
        w->setEnabled(false);
    c.file1->hide();
    for (QWidget *w : {c.newSc, c.saveSc, c.scrOpen})
        w->setEnabled(false);
}

void ModWorkspace::Opening::scripts()
{
    if (!c.file1->setFolder(findNoCase(m_folder, layout::kScriptsFolder)))
        fail(kScripts);
    if (failedIn(kScripts))
        return;
    c.newSc->setEnabled(true);
    c.saveSc->setEnabled(true);
    c.file1->show();
    for (QWidget *w : {c.scrOpen, c.listToggle, c.saveScAs, c.deleteSc})
        w->setEnabled(true);
    c.work[0]->setIndicator(Indicator::Worked);
    c.cmdScripts->setEnabled(false);
}

// The root files, then the levels folder; the lists it decides are refilled at the
// start of the strings phase, which is charged with their failures.
void ModWorkspace::Opening::levels()
{
    if (!c.rootFiles->setFolder(m_folder))
        fail(kLevels);
    if (!c.stealthLevels->setFolder(findNoCase(m_folder, layout::kLevelsFolder)))
        fail(kLevels);
    c.listMaps->clear();
    c.listMissions->clear();
    c.list2->clear();
    if (failedIn(kLevels))
        return;
    c.cmdLevels->setEnabled(false);
    c.work[1]->setIndicator(Indicator::Worked);
    for (const std::string &name : c.stealthLevels->fileNames()) {
        const layout::LevelFile kind = layout::classifyLevelFile(name);
        if (kind == layout::LevelFile::Map)
            c.listMaps->addItem(displayName(std::string_view(name)));
        else if (kind == layout::LevelFile::Mission)
            c.listMissions->addItem(displayName(std::string_view(name)));
    }
    for (int i = 0; i < c.file1->count(); ++i)
        c.list2->addItem(c.file1->item(i)->text());
}

// The strings table, or nothing (the phase then fails without a word, as a missing
// file does), save that a file too large to be a strings table is named with the limit.
std::optional<std::string> ModWorkspace::Opening::readStrings(const std::filesystem::path &path)
{
    auto read = readFile(path, ModBoundary(m_folder));
    if (read)
        return std::move(read).value();
    std::error_code code;
    if (std::filesystem::is_regular_file(path, code) &&
        std::filesystem::file_size(path, code) > kMaxFileBytes) {
        ui::showMessage(
            &m_window,
            ui::failureMessage(QStringLiteral("%1 was not opened").arg(displayName(path)), read.error()));
    }
    return std::nullopt;
}

void ModWorkspace::Opening::strings()
{
    if (m_reason == RefreshReason::ScriptFileAction)
        return;
    const std::filesystem::path path = findNoCase(m_folder, layout::kStringsFile);
    std::optional<std::string> bytes;
    if (m_reason != RefreshReason::StringsSaved) {
        c.stringsText->setFileBytes({});
        bytes = readStrings(path);
        if (bytes) {
            c.stringsText->setFileBytes(*bytes);
            m_window.state().stringsOnDisk = FileStamp::of(path, *bytes);
        } else {
            m_window.state().stringsOnDisk = FileStamp();
            fail(kStrings);
        }
    }
    if (failedIn(kStrings))
        return;
    c.work[2]->setIndicator(Indicator::Worked);
    c.cmdStrings->setEnabled(false);
    c.stringsText->show();
    c.saveStrings->setEnabled(true);
    c.stringsRevert->setEnabled(true);
    if (!bytes) {
        bytes = readStrings(path);
        if (!bytes)
            fail(kStrings);
    }
    m_window.setStringsTable(std::make_shared<StringsTable>(bytes.value_or(std::string())));
    m_window.browser().openFromList();
}

ModWorkspace::ModWorkspace(MainWindow &window) : m_window(window)
{
    connect(window.controls().list1, &ListBox::itemSelectionChanged, this, &ModWorkspace::userSelectsMod);
}

void ModWorkspace::userSelectsMod()
{
    if (!selectedModFolder())
        return;
    m_window.whenIdle([this] {
        AppState &state = m_window.state();
        if (!m_window.unsavedChanges().mayReplace(UnsavedChanges::Before::OpeningMod)) {
            // The mod that is open stays the one selected.
            ListBox *list1 = m_window.controls().list1;
            const QSignalBlocker quiet(list1);
            list1->setSelectedPosition(state.openModPosition);
            return;
        }
        openMod(RefreshReason::UserOrFolderAction);
    });
}

std::optional<std::filesystem::path> ModWorkspace::selectedModFolder() const
{
    const int position = m_window.controls().list1->selectedPosition();
    const auto &mods = m_window.gameRoot().mods;
    if (position < 0 || position >= static_cast<int>(mods.size()))
        return std::nullopt;
    return m_window.gameRoot().modsFolder / pathFromName(mods[static_cast<std::size_t>(position)]);
}

void ModWorkspace::openMod(RefreshReason reason)
{
    const Controls &c = m_window.controls();
    AppState &state = m_window.state();
    const auto modFolder = selectedModFolder();
    if (!modFolder)
        return;
    const QString mod = c.list1->selectedText();
    state.openModFolder = *modFolder;
    state.openModPosition = c.list1->selectedPosition();

    c.list1->setEnabled(false);
    state.currentModName = mod + QStringLiteral(" (loading)");
    m_window.setCaption(state.captionPrefix + state.currentModName);
    Opening opening(m_window, *modFolder, reason);
    opening.begin();
    opening.scripts();
    opening.levels();
    opening.strings();
    m_window.scriptCheck().filesChanged();
    c.list1->setEnabled(true);
    state.currentModName = mod;
    m_window.setCaption(state.captionPrefix + state.currentModName);
}

} // namespace cw::gui
