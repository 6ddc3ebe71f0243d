#pragma once

#include "core/util/Version.h"
#include "gui/app/MainWindow.h"
#include "gui/model/StringsText.h"
#include "gui/model/WindowModel.h"
#include "support/TempDir.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

class QComboBox;
class QLineEdit;
class QListView;

// Readable QString values in test failures.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList &texts, std::ostream *out)
{
    *out << '{';
    for (qsizetype i = 0; i < texts.size(); ++i)
        *out << (i ? ", " : "") << '"' << texts[i].toStdString() << '"';
    *out << '}';
}

namespace cw::test {

// The catalogue of the window tests: entry 0 has no name, then commands with every
// argument count and the strings-entry type, then the comment entry.
inline constexpr const char *kTestCommands =
    "Cuewright test catalogue\r\n"
    "\r\n"                                                    // 0
    "None \"Takes nothing\" 0\r\n"                            // 1
    "One \"Takes one\" 1 1 Amount\r\n"                        // 2
    "Two \"Takes two\" 2 3 Mount 2 Seconds\r\n"               // 3
    "Three \"Takes three\" 3 1 Building 2 Range 2 Height\r\n" // 4
    "Four \"Takes four\" 4 1 A 2 B 3 C 1 D\r\n"               // 5
    "Seven \"Claims seven\" 7 1 A 1 B 1 C 1 D\r\n"            // 6
    "Say \"Speaks\" 1 4 \"String key\"\r\n"                   // 7
    "SayTwo \"Speaks twice\" 2 4 First 4 Second\r\n";         // 8, then "#" = 9

// Answers the modal dialogs that appear while it lives: records each message box's
// text (and informative text, empty when it has none, at the same position) and
// presses its OK button; gives each input box the queued answer (or cancels it when
// none is queued) and records its title, prompt and proposal.
class DialogAnswerer
{
public:
    DialogAnswerer();
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer &) = delete;
    DialogAnswerer &operator=(const DialogAnswerer &) = delete;

    void queueAnswer(const QString &answer) { m_answers.append(answer); }
    // The button to press on the next question (Save, Discard or Cancel about unsaved
    // changes; Yes or No; Save for Overwrite and Reset for Reload about a file another
    // program changed); a question with none queued is answered Discard, else No, else
    // Cancel.
    void queueButton(QMessageBox::StandardButton button) { m_buttons.append(button); }
    // How many answerers are alive: a dialog is expected while one is.
    static int aliveCount();

    QStringList messages;
    QStringList informativeTexts;
    QStringList inputTitles;
    QStringList inputPrompts;
    QStringList inputProposals;
    QStringList questions;
    QStringList questionDetails; // the informative text of each question

private:
    void poll();
    QTimer m_timer;
    QStringList m_answers;
    QList<QMessageBox::StandardButton> m_buttons;
};

// Closes a modal dialog that nobody expected, so that a test meeting one fails within
// seconds instead of waiting for ever: a message or input box that has been open for
// `patience` while no DialogAnswerer is alive is reported (by default as a failure of
// the running test, naming its text) and closed. The test program keeps one for the
// whole run.
class ModalWatchdog
{
public:
    using Report = std::function<void(const QString &dialogText)>;
    static constexpr std::chrono::milliseconds kPatience{3000};

    explicit ModalWatchdog(std::chrono::milliseconds patience = kPatience,
                           Report report = failTheRunningTest);
    ModalWatchdog(const ModalWatchdog &) = delete;
    ModalWatchdog &operator=(const ModalWatchdog &) = delete;

    static void failTheRunningTest(const QString &dialogText);
    // What the report names: a message box's text, an input box's title and prompt.
    static QString describe(const QDialog &dialog);

private:
    void poll();

    std::chrono::milliseconds m_patience;
    Report m_report;
    QTimer m_timer;
    QPointer<QDialog> m_watched;
    QElapsedTimer m_openFor;
};

// A game root in a temporary folder with the test catalogue and the given mods.
struct GameRootBuilder
{
    TempDir dir;
    std::filesystem::path root() const { return dir.path(); }
    GameRootBuilder &withBasics(); // darwinia.exe, commands.txt, mods/
    GameRootBuilder &withMod(const std::string &name);
    std::filesystem::path write(const std::string &relative, std::string_view content)
    {
        return dir.write(relative, content);
    }
};

// A path as the program shows it: the system's separators, the name in UTF-8.
inline QString nativePath(const std::filesystem::path &path)
{
    return QString::fromStdString(native(path));
}

// The window caption for what follows the prefix ("mod - intro.txt").
inline QString caption(const char *rest)
{
    return QStringLiteral("Cuewright v") +
           QString::fromLatin1(kVersion.data(), static_cast<qsizetype>(kVersion.size())) +
           QStringLiteral(" - ") + QString::fromUtf8(rest);
}

// Opens the window on a game root, its grid built, shown offscreen.
std::unique_ptr<gui::MainWindow> openWindow(const std::filesystem::path &root);

template<class T = QWidget> T *find(const QWidget &window, const QString &name)
{
    return window.findChild<T *>(name);
}

// Qt widget helpers that drive real input where a user would act.
void clickButton(QWidget *button);
void pickItem(QComboBox *combo, int index); // as a user picking from the open list
void typeInto(QWidget *widget, const QString &text);
void releaseMouse(QWidget *widget, Qt::MouseButton button);
void clickListItem(QListView *list, int row);
void doubleClickListItem(QListView *list, int row);
void doubleClickEmptyArea(QListView *list);

// Sets (or, given nothing, unsets) an environment variable for the length of a scope.
class ScopedVariable
{
public:
    ScopedVariable(const char *name, const std::optional<QByteArray> &value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable &) = delete;
    ScopedVariable &operator=(const ScopedVariable &) = delete;

private:
    const char *m_name;
    bool m_had;
    QByteArray m_previous;
};

// A stand-in for the text editor or the game: a copy of the recorder program (built
// beside the tests) that appends one line per start to record.txt beside itself, its
// argument count followed by the arguments with "|" before each, so that a start
// without arguments still leaves a line, and the folder it was started in to
// folders.txt.
class StandIn
{
public:
    // In a folder of its own; on Windows ".exe" is added to the name.
    explicit StandIn(const std::string &name);
    // In the given folder, under the given name, as darwinia.exe in a game root.
    StandIn(const std::filesystem::path &folder, const std::string &fileName);

    const std::filesystem::path &path() const { return m_program; }
    // The program's path and folder as the environment holds them.
    QByteArray program() const;
    QByteArray folder() const;

    // The recorded starts, waiting up to five seconds for `expected` of them.
    QStringList starts(int expected = 1) const;
    // The recorded starts after a short wait, for checking that nothing started.
    QStringList startsSoFar() const;
    // The working folders of the recorded starts, waiting for `expected` of them.
    QStringList workingFolders(int expected = 1) const;

private:
    std::optional<TempDir> m_dir;
    std::filesystem::path m_program;
};

// A stand-in named by an environment variable (CUEWRIGHT_EDITOR, CUEWRIGHT_GAME)
// while it lives.
class RecordingProgram : public StandIn
{
public:
    explicit RecordingProgram(const char *environmentVariable)
        : StandIn("record"), m_variable(environmentVariable, program())
    {
    }

private:
    ScopedVariable m_variable;
};

// A grid row as "Command|field texts, '-' for hidden|strings chooser text or '-'".
std::string describeRow(const gui::MainWindow &window, int row);

// The items of a drop-down list, in order.
QStringList comboItems(const QComboBox *combo);
// The names of the strings table, as cmbstringlist holds them; every strings chooser
// must list the same (checked on a few rows).
QStringList stringsTableNames(const gui::MainWindow &window);

// Whether QFile::moveToTrash puts a file of the temporary folder into a trash here
// (Wine has none): Delete Script asks before deleting for good where it does not.
bool systemHasTrash();

// The visible texts of a list, in order.
QStringList itemTexts(const QListView *list);
// Opens a mod as a user does, by clicking it in List1.
void openMod(gui::MainWindow &window, const QString &name);

} // namespace cw::test
