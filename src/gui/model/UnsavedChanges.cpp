#include "gui/model/UnsavedChanges.h"

#include "core/workspace/ModLayout.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/StringsText.h"
#include "gui/model/WindowModel.h"

namespace cw::gui {
namespace {

QString phrase(UnsavedChanges::Before before)
{
    switch (before) {
    case UnsavedChanges::Before::OpeningScript:
        return QStringLiteral("opening another script");
    case UnsavedChanges::Before::OpeningMod:
        return QStringLiteral("opening another mod");
    case UnsavedChanges::Before::ReopeningMod:
        return QStringLiteral("opening the mod again");
    case UnsavedChanges::Before::NewScript:
        return QStringLiteral("making a new script");
    case UnsavedChanges::Before::DeletingScript:
        return QStringLiteral("deleting the script");
    case UnsavedChanges::Before::SavingStrings:
        return QStringLiteral("saving the strings table");
    case UnsavedChanges::Before::RewritingScript:
    case UnsavedChanges::Before::RewritingStrings:
        return QStringLiteral("changing the mod's files");
    case UnsavedChanges::Before::Closing:
        return QStringLiteral("closing");
    }
    return {};
}

} // namespace

bool UnsavedChanges::mayReplace(Before before)
{
    const QString what = phrase(before);
    if (!mayReplaceGrid(what))
        return false;
    // Only another mod, the same mod read again and closing replace the strings editor's text.
    const bool stringsGo = before == Before::OpeningMod || before == Before::ReopeningMod ||
                           before == Before::RewritingStrings || before == Before::Closing;
    return !stringsGo || mayReplaceStrings(what);
}

bool UnsavedChanges::mayReplaceGrid(const QString &what)
{
    if (!m_model.editor().isModified())
        return true;
    // The lines of a grid that holds no script can be saved only where a script can be
    // made: in the open mod's scripts folder.
    const bool canSave = m_model.scriptOpen() || !m_model.scriptsFolder().empty();
    const QString question =
        m_model.scriptOpen() ? QStringLiteral("Save changes to %1 before %2?").arg(m_model.scriptName(), what)
                             : QStringLiteral("Save the lines in the grid as a script before %1?").arg(what);
    const QString why = canSave ? QString()
                                : QStringLiteral("They cannot be saved: the mod has no scripts folder to "
                                                 "hold them.");
    const auto answer = m_question.ask(question, why, canSave);
    if (answer == UnsavedQuestion::Answer::Discard)
        return true;
    return answer == UnsavedQuestion::Answer::Save && m_saveScript && m_saveScript();
}

bool UnsavedChanges::mayReplaceStrings(const QString &what)
{
    if (!m_model.stringsText().isModified())
        return true;
    const auto answer =
        m_question.ask(QStringLiteral("Save changes to %1 before %2?")
                           .arg(QString::fromLatin1(layout::kStringsFile.data(),
                                                    static_cast<qsizetype>(layout::kStringsFile.size())),
                                what),
                       QString(), true);
    if (answer == UnsavedQuestion::Answer::Discard)
        return true;
    return answer == UnsavedQuestion::Answer::Save && m_saveStrings && m_saveStrings();
}

} // namespace cw::gui
