#include "gui/workspace/ModWorkspace.h"

#include "core/io/Files.h"
#include "gui/app/Busy.h"
#include "gui/app/MainWindow.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/script/ScriptBrowser.h"
#include "gui/strings/StringsTextEdit.h"
#include "gui/ui/FileListBox.h"
#include "gui/ui/Pictures.h"
#include "gui/ui/TextCodec.h"

#include <QPushButton>

namespace cw::gui {
namespace {

// The phases of an opening; a failure is charged to the phase in force.
enum Phase { kScripts = 1, kLevels = 2, kStrings = 3 };

struct Failures
{
    int code = 0; // 10 x phase + 5 of the last failure, or 0

    void fail(Phase phase, IndicatorLabel *indicator)
    {
        code = 10 * phase + 5;
        indicator->setIndicator(Indicator::Broken);
    }
    bool failedIn(Phase phase) const { return code == 10 * phase + 5; }
};

bool startsWith(const std::string &name, std::string_view prefix)
{
    return name.compare(0, prefix.size(), prefix) == 0 && name.size() >= prefix.size();
}

} // namespace

ModWorkspace::ModWorkspace(MainWindow &window) : m_window(window)
{
    connect(window.controls().list1, &ListBox::itemSelectionChanged, this, &ModWorkspace::userSelectsMod);
}

void ModWorkspace::userSelectsMod()
{
    AppState &state = m_window.state();
    if (state.busy || !selectedModFolder())
        return;
    BusyScope busy(state.busy);
    openMod();
}

std::optional<std::filesystem::path> ModWorkspace::selectedModFolder() const
{
    const int position = m_window.controls().list1->selectedPosition();
    const auto &mods = m_window.gameRoot().mods;
    if (position < 0 || position >= static_cast<int>(mods.size()))
        return std::nullopt;
    return m_window.gameRoot().modsFolder / pathFromName(mods[static_cast<std::size_t>(position)]);
}

void ModWorkspace::openMod()
{
    const Controls &c = m_window.controls();
    AppState &state = m_window.state();
    const auto modFolder = selectedModFolder();
    if (!modFolder)
        return;
    const QString mod = c.list1->selectedText();
    const RefreshReason reason = state.refreshReason;
    const std::filesystem::path &root = m_window.gameRoot().root;

    c.list1->setEnabled(false);
    state.currentModName = mod + QStringLiteral(" (loading)");
    m_window.setCaption(state.captionPrefix + state.currentModName);
    c.rootFiles->setEnabled(true);
    c.cmdRootOpen->setEnabled(true);
    c.file1->setFolder(root);
    c.deleteSc->setText(QStringLiteral("Delete Script (dbl click)"));

    if (reason == RefreshReason::UserOrFolderAction) {
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

    Failures failures;
    // Scripts.
    if (!c.file1->setFolder(findNoCase(*modFolder, "scripts")))
        failures.fail(kScripts, c.work[0]);
    if (!failures.failedIn(kScripts)) {
        c.newSc->setEnabled(true);
        c.saveSc->setEnabled(true);
        c.file1->show();
        for (QWidget *w : {c.scrOpen, c.listToggle, c.saveScAs, c.deleteSc})
            w->setEnabled(true);
        c.work[0]->setIndicator(Indicator::Worked);
        c.cmdScripts->setEnabled(false);
    }

    // Levels: the root files, then the levels folder.
    if (!c.rootFiles->setFolder(*modFolder))
        failures.fail(kLevels, c.work[1]);
    if (!c.stealthLevels->setFolder(findNoCase(*modFolder, "levels")))
        failures.fail(kLevels, c.work[1]);

    // Strings, which begins by refilling the lists that the levels phase decides.
    c.listMaps->clear();
    c.listMissions->clear();
    c.list2->clear();
    if (!failures.failedIn(kLevels)) {
        c.cmdLevels->setEnabled(false);
        c.work[1]->setIndicator(Indicator::Worked);
        // Only the first three characters count, and letter case does.
        for (const std::string &name : c.stealthLevels->fileNames()) {
            if (startsWith(name, "map"))
                c.listMaps->addItem(displayName(std::string_view(name)));
            if (startsWith(name, "mis"))
                c.listMissions->addItem(displayName(std::string_view(name)));
        }
        for (int i = 0; i < c.file1->count(); ++i)
            c.list2->addItem(c.file1->item(i)->text());
    }

    if (reason != RefreshReason::ScriptFileAction) {
        const std::filesystem::path stringsPath = findNoCase(*modFolder, "strings_default.txt");
        std::optional<std::string> stringsBytes;
        if (reason != RefreshReason::StringsSaved) {
            c.stringsText->setFileBytes({});
            auto read = readFile(stringsPath);
            if (read) {
                stringsBytes = std::move(read).value();
                c.stringsText->setFileBytes(*stringsBytes);
            } else {
                failures.fail(kStrings, c.work[2]);
            }
        }
        if (!failures.failedIn(kStrings)) {
            c.work[2]->setIndicator(Indicator::Worked);
            c.cmdStrings->setEnabled(false);
            c.stringsText->show();
            c.saveStrings->setEnabled(true);
            c.stringsRevert->setEnabled(true);
            if (!stringsBytes) {
                auto read = readFile(stringsPath);
                if (read)
                    stringsBytes = std::move(read).value();
                else
                    failures.fail(kStrings, c.work[2]);
            }
            m_window.setStringsTable(std::make_shared<StringsTable>(stringsBytes.value_or(std::string())));
            m_window.browser().openFromList();
        }
    }

    c.list1->setEnabled(true);
    state.currentModName = mod;
    m_window.setCaption(state.captionPrefix + state.currentModName);
}

} // namespace cw::gui
