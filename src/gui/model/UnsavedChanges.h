#pragma once

#include <QString>

#include <functional>

namespace cw::gui {

class WindowModel;

// How the guard asks about unsaved edits: the window with a message box, the model's
// tests from a table of answers.
class UnsavedQuestion
{
public:
    enum class Answer { Save, Discard, Cancel };
    virtual ~UnsavedQuestion() = default;
    // `question`, with `why` beneath it when there is a reason to give; Save is offered
    // only when `canSave`, and is then the default, else Cancel is.
    virtual Answer ask(const QString &question, const QString &why, bool canSave) = 0;
};

// The guard before anything replaces what the user has not saved: the grid's edits
// (before another script, another mod, a new or deleted script, a strings save, or
// closing the window) and the strings editor's text (before another mod or closing).
// It asks Save, Discard or Cancel; Save runs the save it was given for each.
class UnsavedChanges
{
public:
    enum class Before {
        OpeningScript,
        OpeningMod,
        ReopeningMod, // a folder action opens the mod again, from its files
        NewScript,
        DeletingScript,
        SavingStrings,
        RewritingScript,  // a change of the mod's files rewrites the open script
        RewritingStrings, // it rewrites the strings table, which the grid's choosers show
        Closing,
    };
    // Saves the grid (to the open script's own file, or a new script) or the strings
    // editor's text; false when nothing was written.
    using Save = std::function<bool()>;

    UnsavedChanges(WindowModel &model, UnsavedQuestion &question) : m_model(model), m_question(question) {}

    void setSaves(Save saveScript, Save saveStrings)
    {
        m_saveScript = std::move(saveScript);
        m_saveStrings = std::move(saveStrings);
    }

    // True when the action may go on: nothing was unsaved, or it was saved or discarded.
    bool mayReplace(Before before);

private:
    bool mayReplaceGrid(const QString &before);
    bool mayReplaceStrings(const QString &before);

    WindowModel &m_model;
    UnsavedQuestion &m_question;
    Save m_saveScript;
    Save m_saveStrings;
};

} // namespace cw::gui
