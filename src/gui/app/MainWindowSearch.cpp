// The main window's find and replace across the mod: the panel's part, what opens a
// line it found, and what reads the files again once it wrote them.
#include "gui/app/MainWindow.h"

#include "core/catalogue/Catalogue.h"
#include "core/io/Files.h"
#include "core/script/ScriptDocument.h"
#include "core/strings/GameStrings.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/TextCodec.h"
#include "gui/model/UnsavedChanges.h"
#include "gui/model/WindowModel.h"
#include "gui/script/ModSearch.h"
#include "gui/script/ScriptBrowser.h"
#include "gui/strings/StringsEditor.h"
#include "gui/strings/StringsTextEdit.h"
#include "gui/ui/Dialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextBlock>

#include <algorithm>

namespace cw::gui {
void MainWindow::connectModSearch()
{
    ModSearch::Hooks hooks;
    hooks.mayRewrite = [this](bool, bool strings) {
        return m_guard->mayReplace(strings ? UnsavedChanges::Before::RewritingStrings
                                           : UnsavedChanges::Before::RewritingScript);
    };
    hooks.rewritten = [this](const std::vector<fs::path> &files) {
        readAgain(files);
    };
    m_modSearch = std::make_unique<ModSearch>(*m_model, m_busy, *m_panels, m_commands.undoModChange, this,
                                              std::move(hooks));
    connect(m_commands.findInMod, &QAction::triggered, this, [this] {
        // What is selected where the user is becomes the text to find.
        const auto *edit = qobject_cast<const QLineEdit *>(QApplication::focusWidget());
        m_modSearch->open(edit ? edit->selectedText() : QString());
    });
    connect(m_commands.renameKey, &QAction::triggered, this, [this] {
        const QString key = keyAtCursor();
        if (key.isEmpty()) {
            ui::refuse(m_controls.tabs,
                       QStringLiteral("No strings key here to rename: put the cursor on a line "
                                      "of the strings table, or on a row that says a key."));
            return;
        }
        m_busy.whenIdle([this, key] { m_modSearch->renameKey(key); });
    });
    connect(m_modSearch.get(), &ModSearch::lineRequested, this, &MainWindow::openFoundLine);
    connect(m_model.get(), &WindowModel::modOpened, this, [this] {
        m_commands.findInMod->setEnabled(m_model->modOpen());
        m_commands.renameKey->setEnabled(m_model->modOpen());
    });
}

// The strings key the user points at: the line at the cursor on the strings page, or
// the key a row of the grid says.
QString MainWindow::keyAtCursor() const
{
    if (m_controls.tabs->currentIndex() == 3) {
        const QString line = m_controls.stringsText->textCursor().block().text();
        const std::optional<std::string> bytes = encode(line);
        return bytes ? decode(readGameStringsLine(*bytes).key) : QString();
    }
    const int row = m_controls.grid->focusedRow();
    if (m_controls.tabs->currentIndex() != 2 || row < 0)
        return {};
    const ScriptRow &shown = m_model->editor().document().row(row);
    if (shown.stringsVisible)
        return QString::fromStdString(shown.stringsText.str());
    if (shown.selected < 0)
        return {};
    const CommandDefinition &command = m_model->gameRoot().catalogue.entry(shown.selected);
    for (std::size_t k = 0; k < shown.fields.size(); ++k) {
        if (command.argumentTypes[k + 1] == kTypeStringsEntry && shown.fields[k].visible)
            return QString::fromStdString(shown.fields[k].text.str());
    }
    return {};
}

// A found line: a script opens at it (through the question about unsaved edits), the
// strings table shows it on its page.
void MainWindow::openFoundLine(const fs::path &file, int line)
{
    m_busy.whenIdle([&] {
        if (sameFile(file, m_model->stringsFile())) {
            selectPage(3);
            QPlainTextEdit *text = m_controls.stringsText;
            text->setTextCursor(QTextCursor(text->document()->findBlockByNumber(line - 1)));
            text->centerCursor();
            text->setFocus();
            return;
        }
        if (!sameFile(file.parent_path(), m_model->scriptsFolder())) {
            ui::note(m_modSearch->view(), QStringLiteral("Cuewright edits only strings_default.txt of the "
                                                         "strings files: open %1 in a text editor.")
                                              .arg(displayName(file.filename())));
            return;
        }
        const std::string name = nameOf(file.filename());
        if (!m_model->scriptOpen() || m_model->scriptFile() != name) {
            if (!m_guard->mayReplace(UnsavedChanges::Before::OpeningScript) || !m_browser->open(name))
                return;
        }
        goToRow(std::clamp(line - 1, 0, ScriptGrid::kRowCount - 1));
    });
}

// The files a replace or a rename wrote: the open script and the strings table are read
// again (the guard asked about their edits first), and whatever was made of the files.
void MainWindow::readAgain(const std::vector<fs::path> &files)
{
    const auto written = [&](const fs::path &file) {
        return std::any_of(files.begin(), files.end(), [&](const fs::path &f) { return sameFile(f, file); });
    };
    const std::string script = m_model->scriptOpen() ? m_model->scriptFile() : std::string();
    if (written(m_model->stringsFile())) {
        m_stringsEditor->reload();
        // The choosers list the table's keys; reading it again closes the script.
        m_model->reopenMod(RefreshReason::StringsSaved);
        if (!script.empty())
            m_browser->open(script);
    } else if (!script.empty() && written(m_model->scriptPath())) {
        m_browser->open(script);
    }
    m_model->filesRewritten();
}

} // namespace cw::gui
