#include "gui/workspace/ModWorkspace.h"

#include "gui/model/TextCodec.h"
#include "gui/model/UnsavedChanges.h"
#include "gui/model/WindowModel.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/FileListBox.h"
#include "gui/ui/Pictures.h"

#include <QAction>
#include <QPushButton>
#include <QSignalBlocker>

namespace cw::gui {

ModWorkspace::ModWorkspace(WindowModel &model, ui::Busy &busy, UnsavedChanges &guard, const Widgets &widgets,
                           QWidget *messages)
    : m_model(model), m_busy(busy), m_guard(guard), w(widgets), m_messages(messages)
{
    connect(w.list1, &ListBox::itemSelectionChanged, this, &ModWorkspace::userSelectsMod);
    connect(&m_model, &WindowModel::modOpening, this, &ModWorkspace::begin);
    connect(&m_model, &WindowModel::modOpened, this, &ModWorkspace::showOpening);
}

void ModWorkspace::userSelectsMod()
{
    const int position = w.list1->selectedPosition();
    if (!m_model.modFolderAt(position))
        return;
    m_busy.whenIdle([this, position] {
        if (!m_guard.mayReplace(UnsavedChanges::Before::OpeningMod)) {
            // The mod that is open stays the one selected.
            const QSignalBlocker quiet(w.list1);
            w.list1->setSelectedPosition(m_model.modPosition());
            return;
        }
        m_model.openMod(position, RefreshReason::UserOrFolderAction);
    });
}

// What every opening sets before it reads anything; an opening the user asked for also
// resets what depends on the mod.
void ModWorkspace::begin(RefreshReason reason)
{
    w.list1->setEnabled(false);
    w.rootFiles->setEnabled(true);
    w.cmdRootOpen->setEnabled(true);
    if (reason != RefreshReason::UserOrFolderAction)
        return;
    w.stringsText->hide();
    for (QWidget *widget : {w.cmdScripts, w.cmdLevels, w.cmdStrings})
        widget->setEnabled(true);
    w.listToggle->setEnabled(false);
    w.scrOpen->setEnabled(false);
    for (QAction *command :
         {w.saveStrings, w.revertStrings, w.saveScriptAs, w.deleteScript, w.newScript, w.saveScript})
        command->setEnabled(false);
    w.file1->hide();
}

void ModWorkspace::showOpening(const ModOpening &opening)
{
    const auto indicate = [this](std::size_t part, PartState state) {
        if (state == PartState::Untouched)
            return;
        w.work[part]->setIndicator(state == PartState::Broken || state == PartState::OpenedThenBroken
                                       ? Indicator::Broken
                                       : Indicator::Worked);
    };
    indicate(0, opening.scripts);
    if (opening.scripts == PartState::Opened) {
        w.scrOpen->setEnabled(true);
        w.listToggle->setEnabled(true);
        for (QAction *command : {w.newScript, w.saveScript, w.saveScriptAs, w.deleteScript})
            command->setEnabled(true);
        w.file1->show();
        w.cmdScripts->setEnabled(false);
    }
    indicate(1, opening.levels);
    if (opening.levels == PartState::Opened)
        w.cmdLevels->setEnabled(false);
    indicate(2, opening.strings);
    if (opening.strings == PartState::Opened || opening.strings == PartState::OpenedThenBroken) {
        w.cmdStrings->setEnabled(false);
        w.stringsText->show();
        w.saveStrings->setEnabled(true);
        w.revertStrings->setEnabled(true);
    }
    w.list1->setEnabled(true);
    if (opening.stringsRefused) {
        ui::showMessage(
            m_messages,
            ui::failureMessage(
                QStringLiteral("%1 was not opened").arg(displayName(opening.stringsRefused->path)),
                *opening.stringsRefused));
    }
}

} // namespace cw::gui
