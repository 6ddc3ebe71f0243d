#include "gui/script/ScriptBrowser.h"

#include "core/catalogue/Tokenizer.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/TextCodec.h"
#include "gui/model/UnsavedChanges.h"
#include "gui/model/WindowModel.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/FileListBox.h"
#include "gui/ui/NoticeBar.h"
#include "gui/ui/Processes.h"

#include <QPushButton>
#include <QStringList>

namespace cw::gui {
namespace {

// "5", "5 and 9", "5, 9 and 12": the lines a message is about.
QString lineList(const std::vector<int> &lines)
{
    QString text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += i + 1 == lines.size() ? QStringLiteral(" and ") : QStringLiteral(", ");
        text += QString::number(lines[i]);
    }
    return text;
}

} // namespace

QString describeLosses(const ScriptDocument::Losses &losses)
{
    QStringList parts;
    if (losses.lines > 0) {
        parts << (losses.lines == 1 ? QStringLiteral("1 line after line 100")
                                    : QStringLiteral("%1 lines after line 100").arg(losses.lines)) +
                     QStringLiteral(" (%1 of them %2)")
                         .arg(losses.commands)
                         .arg(losses.commands == 1 ? QStringLiteral("a command")
                                                   : QStringLiteral("commands"));
    }
    if (!losses.words.empty()) {
        std::vector<int> lines;
        for (const ScriptDocument::Losses::Words &words : losses.words)
            lines.push_back(words.row + 1);
        // A word of megabytes makes no message of megabytes.
        constexpr qsizetype kShownCharacters = 40;
        QString first = QString::fromStdString(losses.words.front().words);
        if (first.size() > kShownCharacters)
            first = first.left(kShownCharacters) + QStringLiteral("...");
        parts << QStringLiteral("the words after the fourth argument on line%1 %2 (\"%3\"%4)")
                     .arg(lines.size() == 1 ? QString() : QStringLiteral("s"), lineList(lines), first,
                          lines.size() == 1 ? QString() : QStringLiteral(", ..."));
    }
    return parts.join(QStringLiteral("; and "));
}

ScriptBrowser::ScriptBrowser(WindowModel &model, ui::Busy &busy, UnsavedChanges &guard, FileListBox *file1,
                             FileListBox *list2, QPushButton *scrOpen, QWidget *messages,
                             ui::NoticeBar *notices)
    : m_model(model), m_busy(busy), m_guard(guard), m_file1(file1), m_list2(list2), m_scrOpen(scrOpen),
      m_messages(messages), m_notices(notices)
{
    connect(m_file1, &ListBox::doubleClickedAnywhere, this, &ScriptBrowser::userOpensFromFile1);
    connect(m_file1, &ListBox::enterPressed, this, &ScriptBrowser::userOpensFromFile1);
    connect(m_list2, &ListBox::doubleClickedAnywhere, this, &ScriptBrowser::userOpensFromList2);
    connect(m_scrOpen, &QPushButton::clicked, this, &ScriptBrowser::openInTextEditor);
    connect(&m_model, &WindowModel::changedOnDisk, this, [this](OpenFile file, DiskState state) {
        if (file == OpenFile::Script)
            takeUpChangeOnDisk(state);
    });
}

// An unedited script is read again; edits stay, and the bar says the file changed.
void ScriptBrowser::takeUpChangeOnDisk(DiskState state)
{
    const QString name = m_model.scriptName();
    if (state == DiskState::Gone) {
        m_notices->notify(ui::changeOnDiskNotice(name, ui::ChangeTaken::Gone));
        return;
    }
    if (m_model.edited(OpenFile::Script)) {
        m_notices->notify(
            ui::changeOnDiskNotice(name, ui::ChangeTaken::EditsKept, QStringLiteral("The grid")));
        return;
    }
    m_model.relistScripts();
    if (open(m_model.scriptFile()))
        m_notices->notify(ui::changeOnDiskNotice(name, ui::ChangeTaken::ReadAgain));
}

void ScriptBrowser::userOpensFromFile1()
{
    m_busy.whenIdle([this] {
        if (!m_guard.mayReplace(UnsavedChanges::Before::OpeningScript)) {
            selectOpenScript();
            return;
        }
        openSelected();
    });
}

void ScriptBrowser::userOpensFromList2()
{
    m_busy.whenIdle([this] {
        if (!m_guard.mayReplace(UnsavedChanges::Before::OpeningScript)) {
            selectOpenScript();
            return;
        }
        m_file1->setSelectedPosition(m_list2->selectedPosition());
        openSelected();
    });
}

bool ScriptBrowser::openSelected()
{
    const auto opened = m_model.openScript(m_file1->selectedFileName());
    if (!opened) {
        const ScriptOpenFailure &failure = opened.error();
        if (failure.unreadable) {
            ui::showMessage(m_messages, ui::failureMessage(QStringLiteral("The script %1 could not be read")
                                                               .arg(displayName(failure.unreadable->path)),
                                                           *failure.unreadable));
        } else if (failure.refused) {
            // The load is abandoned; the grid keeps the script it shows.
            const std::string where = refusedLineNote(
                displayName(std::string_view(failure.fileName)).toStdString(), failure.refused->line);
            ui::showMessage(m_messages, decode(withoutExiting(failure.refused->message)),
                            QString::fromStdString(where));
        }
        selectOpenScript();
        return false;
    }
    m_list2->setSelectedPosition(m_file1->selectedPosition());
    if (!opened->gluedHash.empty()) {
        std::vector<int> lines;
        for (const ScriptReadReport::GluedHash &glued : opened->gluedHash)
            lines.push_back(glued.line);
        m_notices->notify(
            QStringLiteral("%1: line%2 %3 %4 a \"#\" glued to a word, which the game reads on past "
                           "(\"CamMove m#5\" has the duration 5). Saving writes %5 exactly as %6 until "
                           "you edit %5.")
                .arg(m_model.scriptName(), lines.size() == 1 ? QString() : QStringLiteral("s"),
                     lineList(lines), lines.size() == 1 ? QStringLiteral("has") : QStringLiteral("have"),
                     lines.size() == 1 ? QStringLiteral("it") : QStringLiteral("them"),
                     lines.size() == 1 ? QStringLiteral("it stands") : QStringLiteral("they stand")));
    }
    const QString losses = describeLosses(m_model.editor().document().lossesOnSave());
    if (!losses.isEmpty()) {
        ui::showMessage(m_messages,
                        QStringLiteral("%1 holds more than the editor can: saving it will not keep %2.")
                            .arg(m_model.scriptName(), losses),
                        opened->losesLinesPast100()
                            ? QStringLiteral("It has %1 lines; only the first 100 can be edited.")
                                  .arg(opened->linesInFile)
                            : QStringLiteral("A line holds at most a command and four arguments."));
    }
    return true;
}

bool ScriptBrowser::open(const std::string &fileName)
{
    m_file1->selectName(fileName);
    return openSelected();
}

void ScriptBrowser::selectOpenScript()
{
    // Save Script writes to the file selected in File1: a file that was refused must not
    // stay selected while the grid still shows another script.
    const bool listed = m_model.scriptOpen() && m_file1->folder() == m_model.scriptPath().parent_path();
    m_file1->selectName(listed ? m_model.scriptFile() : std::string());
    if (!m_list2->setSelectedPosition(m_file1->selectedPosition()))
        m_list2->setSelectedPosition(-1);
}

void ScriptBrowser::openInTextEditor()
{
    const std::filesystem::path path = m_file1->selectedPath();
    if (path.empty()) {
        ui::refuse(m_scrOpen, QStringLiteral("Select a script in the list first"));
        return;
    }
    if (!ui::start(ui::textEditorLaunch(path))) {
        ui::showMessage(
            m_messages,
            QStringLiteral("The text editor could not be started for %1.").arg(displayName(path)));
    }
}

} // namespace cw::gui
