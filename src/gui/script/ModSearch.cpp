#include "gui/script/ModSearch.h"

#include "core/catalogue/Catalogue.h"
#include "core/io/Files.h"
#include "core/io/ModBoundary.h"
#include "core/strings/GameStrings.h"
#include "core/workspace/ModFiles.h"
#include "gui/app/Commands.h"
#include "gui/model/FoundLinesModel.h"
#include "gui/model/TextCodec.h"
#include "gui/model/WindowModel.h"
#include "gui/ui/Busy.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/FlowLayout.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/Panels.h"

#include <QAction>
#include <QCheckBox>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <mutex>

namespace cw::gui {

// What a search gives: the lines as the panel lists them, and the files that could not
// be read.
struct ModFound
{
    std::vector<FoundLinesModel::File> files;
    std::vector<IoError> unread;
};

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kExpandedLines = 300;

// A file of the mod as the panel names it: "scripts/intro.txt", "language/german.txt".
QString shownIn(const fs::path &mod, const fs::path &file)
{
    QString shown;
    for (const fs::path &part : file.lexically_relative(mod))
        shown += (shown.isEmpty() ? QString() : QStringLiteral("/")) + displayName(part);
    return shown;
}

// Whether any of `files` (each with a `file` path) is `file`.
template<class Files> bool holds(const Files &files, const fs::path &file)
{
    return std::any_of(files.begin(), files.end(),
                       [&](const auto &each) { return sameFile(each.file, file); });
}

ModFound findIn(const fs::path &mod, const std::string &text, const find::Options &options)
{
    ModFound found;
    const ModBoundary boundary(mod);
    for (const fs::path &file : find::searchedFiles(mod)) {
        auto bytes = readFile(file, boundary);
        if (!bytes) {
            found.unread.push_back(bytes.error());
            continue;
        }
        const std::vector<find::Match> matches = find::findInFile(file, *bytes, text, options);
        if (matches.empty())
            continue;
        FoundLinesModel::File shown{file, shownIn(mod, file), {}, 0};
        shown.lines.reserve(matches.size());
        for (const find::Match &match : matches)
            shown.lines.push_back({match.line, QString::fromStdString(match.text), {}, false});
        found.files.push_back(std::move(shown));
    }
    return found;
}

QString counted(std::size_t count, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromLatin1(count == 1 ? one : many));
}

// A reason of the core's, as a sentence.
QString sentence(const std::string &reason)
{
    QString text = QString::fromStdString(reason);
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text + u'.';
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QString &tip)
{
    auto *made = new QPushButton(caption, parent);
    made->setObjectName(QString::fromLatin1(name));
    made->setToolTip(tip);
    made->setAutoDefault(false);
    return made;
}

} // namespace

ModSearch::ModSearch(WindowModel &model, ui::Busy &busy, ui::Panels &panels, QAction *undo, QWidget *messages,
                     Hooks hooks)
    : m_model(model), m_busy(busy), m_panels(panels), m_undo(undo), m_messages(messages),
      m_hooks(std::move(hooks)),
      m_panel(panels.add(QStringLiteral("findPanel"), QStringLiteral("Find in Mod"))),
      m_results(new FoundLinesModel(this))
{
    m_pool.setMaxThreadCount(1);
    m_undo->setEnabled(false);
    m_undo->setText(QStringLiteral("Undo Replace in Mod"));
    connect(m_undo, &QAction::triggered, this, &ModSearch::undo);
    connect(m_results, &FoundLinesModel::checksChanged, this, &ModSearch::followChecks);
    connect(m_panel, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible && !m_view)
            build();
    });
    // What was found, planned or written in one mod means nothing in another.
    connect(&m_model, &WindowModel::modOpened, this, [this] {
        if (m_model.modFolder() != m_searchedMod)
            clear();
        if (m_model.modFolder() != m_writtenMod) {
            m_written.clear();
            m_undo->setEnabled(false);
        }
    });
}

ModSearch::~ModSearch()
{
    // A search under way reads files of the mod; its result goes nowhere.
    ++m_generation;
    m_pool.waitForDone();
}

void ModSearch::build()
{
    m_view = new QWidget;
    m_view->setObjectName(QStringLiteral("modFind"));
    m_view->setWindowTitle(QStringLiteral("Find in Mod"));
    auto *layout = new QVBoxLayout(m_view);
    layout->addWidget(buildFields());
    m_summary = new QLabel(m_view);
    m_summary->setObjectName(QStringLiteral("modFindSummary"));
    m_summary->setWordWrap(true);
    m_tree = new QTreeView(m_view);
    m_tree->setObjectName(QStringLiteral("modFindResults"));
    m_tree->setModel(m_results);
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setToolTip(QStringLiteral("Double click a line to open it"));
    layout->addWidget(m_summary);
    layout->addWidget(m_tree, 1);
    connect(m_tree, &QTreeView::doubleClicked, this, [this](const QModelIndex &index) {
        if (const FoundLinesModel::Line *line = m_results->lineAt(index))
            Q_EMIT lineRequested(m_results->fileAt(index)->path, line->number);
    });
    ui::Panels::fill(m_panel, m_view);
}

QWidget *ModSearch::buildFields()
{
    auto *fields = new QWidget(m_view);
    auto *layout = new QVBoxLayout(fields);
    layout->setContentsMargins(0, 0, 0, 0);
    m_text = new QLineEdit(fields);
    m_text->setObjectName(QStringLiteral("modFindText"));
    m_text->setPlaceholderText(QStringLiteral("Find in the mod's scripts and strings files"));
    m_case = new QCheckBox(QStringLiteral("Match case"), fields);
    m_case->setObjectName(QStringLiteral("modFindCase"));
    m_word = new QCheckBox(QStringLiteral("Whole word"), fields);
    m_word->setObjectName(QStringLiteral("modFindWord"));
    QPushButton *go =
        button(fields, "modFindGo", QStringLiteral("Find"), QStringLiteral("Find the text in the mod"));
    m_replacement = new QLineEdit(fields);
    m_replacement->setObjectName(QStringLiteral("modReplaceText"));
    m_replacement->setPlaceholderText(QStringLiteral("Replace with"));
    QPushButton *preview = button(fields, "modReplacePreview", QStringLiteral("Preview Replace"),
                                  QStringLiteral("List every line a replace would change, before anything is "
                                                 "written"));
    m_apply = button(fields, "modReplaceGo", QStringLiteral("Replace"),
                     QStringLiteral("Write the checked lines of the list"));
    m_apply->setEnabled(false);
    QPushButton *undo = button(fields, "modUndo", m_undo->text(),
                               QStringLiteral("Put back what the last replace or rename wrote"));
    bindButton(undo, m_undo);
    auto *options = new ui::FlowLayout(scaled(6));
    for (QWidget *control : std::initializer_list<QWidget *>{m_case, m_word, go})
        options->addWidget(control);
    auto *actions = new ui::FlowLayout(scaled(6));
    for (QWidget *control : std::initializer_list<QWidget *>{preview, m_apply, undo})
        actions->addWidget(control);
    layout->addWidget(m_text);
    layout->addLayout(options);
    layout->addWidget(m_replacement);
    layout->addLayout(actions);
    connect(m_text, &QLineEdit::returnPressed, this, &ModSearch::search);
    connect(go, &QPushButton::clicked, this, &ModSearch::search);
    connect(m_replacement, &QLineEdit::returnPressed, this, &ModSearch::previewReplace);
    connect(preview, &QPushButton::clicked, this, &ModSearch::previewReplace);
    connect(m_apply, &QPushButton::clicked, this, &ModSearch::replace);
    return fields;
}

void ModSearch::open(const QString &text)
{
    if (!m_view)
        build();
    if (!text.isEmpty())
        m_text->setText(text);
    m_panels.show(m_panel);
    m_text->setFocus();
    m_text->selectAll();
}

find::Options ModSearch::options() const
{
    return {m_case->isChecked(), m_word->isChecked()};
}

// Runs `work` on the panel's thread, then `done` with its result on the window's, unless
// a newer request was made meanwhile.
template<class Work, class Done> void ModSearch::inBackground(Work work, Done done)
{
    const int generation = ++m_generation;
    ++m_running;
    m_searchedMod = m_model.modFolder();
    // The result is posted to this object, whose destructor waits for the pool: it is
    // there when the result is posted, and a result it never took goes with it.
    m_pool.start([this, generation, work, done] {
        auto result = std::make_shared<decltype(work())>(work());
        {
            const std::lock_guard<std::mutex> lock(m_readyLock);
            m_ready = [this, generation, result, done] {
                if (m_generation == generation)
                    done(std::move(*result));
            };
        }
        QMetaObject::invokeMethod(this, "deliver", Qt::QueuedConnection);
    });
}

void ModSearch::deliver()
{
    std::function<void()> ready;
    {
        const std::lock_guard<std::mutex> lock(m_readyLock);
        ready.swap(m_ready);
    }
    --m_running;
    if (ready)
        ready();
}

void ModSearch::search()
{
    if (!m_model.modOpen() || !m_view)
        return;
    const QString shownText = m_text->text();
    if (shownText.isEmpty()) {
        showSummary(QStringLiteral("Type the text to find."));
        return;
    }
    m_plan.reset();
    m_apply->setEnabled(false);
    showSummary(QStringLiteral("Searching %1...").arg(m_model.modName()));
    inBackground([mod = m_model.modFolder(), text = shownText.toStdString(),
                  how = options()] { return findIn(mod, text, how); },
                 [this, shownText](ModFound found) { showFound(std::move(found), shownText); });
}

void ModSearch::showFound(ModFound found, const QString &text)
{
    std::size_t lines = 0;
    for (const FoundLinesModel::File &file : found.files)
        lines += file.lines.size();
    const std::size_t files = found.files.size();
    m_results->setFiles(std::move(found.files), false);
    // A few hundred lines are read at a glance; more are opened file by file.
    if (m_tree && lines <= kExpandedLines)
        m_tree->expandAll();
    QString summary = lines == 0
                          ? QStringLiteral("Nothing in %1 holds \"%2\".").arg(m_model.modName(), text)
                          : QStringLiteral("%1 in %2 hold \"%3\" (double click a line to open it):")
                                .arg(counted(lines, "line", "lines"), counted(files, "file", "files"), text);
    if (!found.unread.empty())
        summary += QStringLiteral(" %1 could not be read: %2")
                       .arg(counted(found.unread.size(), "file", "files"),
                            QString::fromStdString(describe(found.unread.front())));
    showSummary(summary);
    Q_EMIT searched();
}

void ModSearch::previewReplace()
{
    if (!m_model.modOpen() || !m_view)
        return;
    const std::string text = m_text->text().toStdString();
    const std::string with = m_replacement->text().toStdString();
    m_plan.reset();
    m_apply->setEnabled(false);
    showSummary(QStringLiteral("Searching %1...").arg(m_model.modName()));
    const QString title =
        QStringLiteral("Replacing \"%1\" with \"%2\" changes").arg(m_text->text(), m_replacement->text());
    inBackground(
        [mod = m_model.modFolder(), text, with, how = options()] {
            return find::planReplace(ModFiles(mod), text, with, how);
        },
        [this, title](Planned planned) { showPlan(std::move(planned), QStringLiteral("Replace"), title); });
}

void ModSearch::renameKey(const QString &key)
{
    const ModFiles *files = m_model.files();
    if (!files || key.isEmpty())
        return;
    const std::shared_ptr<const GameStrings> strings = m_model.gameStrings();
    std::optional<find::ModChange> plan;
    const QString name = ui::askText(
        m_messages, QStringLiteral("Rename Key"),
        QStringLiteral("New name of the strings key \"%1\", everywhere the mod uses it:").arg(key), key,
        [&](const QString &typed) -> QString {
            if (typed == key)
                return QStringLiteral("The key has that name already.");
            auto planned = find::planRenameKey(*files, m_model.gameRoot().catalogue, key.toStdString(),
                                               typed.toStdString(), strings.get());
            if (!planned)
                return sentence(planned.error());
            plan = std::move(planned).value();
            return {};
        });
    if (name.isEmpty() || !plan)
        return;
    open(QString());
    ++m_generation; // what a search under way finds is not shown over the plan
    m_searchedMod = m_model.modFolder();
    showPlan(std::move(*plan), QStringLiteral("Rename"),
             QStringLiteral("Renaming the key \"%1\" to \"%2\" changes").arg(key, name));
}

void ModSearch::showPlan(Planned planned, const QString &what, const QString &title)
{
    if (!planned) {
        m_results->setFiles({}, false);
        showSummary(sentence(planned.error()));
        Q_EMIT searched();
        return;
    }
    find::ModChange change = std::move(planned).value();
    std::vector<FoundLinesModel::File> files;
    for (const find::FileChange &file : change.files) {
        FoundLinesModel::File shownFile{file.file, shown(file.file), {}, 0};
        for (const find::LineChange &line : file.lines) {
            const QString before = QString::fromStdString(line.before);
            const QString after = QString::fromStdString(line.after);
            shownFile.lines.push_back({line.line, before + QStringLiteral("  \u2192  ") + after,
                                       QStringLiteral("Before: %1\nAfter: %2").arg(before, after), true});
        }
        files.push_back(std::move(shownFile));
    }
    const int lines = change.lineCount();
    QString summary = lines == 0 ? QStringLiteral("%1 nothing in %2.").arg(title, m_model.modName())
                                 : QStringLiteral("%1 %2 in %3. Nothing is written until you press %4; "
                                                  "uncheck what should stay:")
                                       .arg(title, counted(static_cast<std::size_t>(lines), "line", "lines"),
                                            counted(files.size(), "file", "files"), what);
    if (!change.unread.empty())
        summary += QStringLiteral(" %1 could not be read, and will not change: %2")
                       .arg(counted(change.unread.size(), "file", "files"),
                            QString::fromStdString(describe(change.unread.front())));
    m_results->setFiles(std::move(files), true);
    if (m_tree)
        m_tree->expandAll();
    m_plan = std::move(change);
    m_planWhat = what;
    m_apply->setText(what);
    followChecks();
    showSummary(summary);
    Q_EMIT searched();
}

void ModSearch::clear()
{
    ++m_generation;
    m_plan.reset();
    m_results->setFiles({}, false);
    if (m_view) {
        m_apply->setEnabled(false);
        showSummary(QString());
    }
}

void ModSearch::showSummary(const QString &text)
{
    if (m_summary)
        m_summary->setText(text);
}

void ModSearch::followChecks()
{
    if (m_apply)
        m_apply->setEnabled(m_plan && m_results->checkedCount() > 0);
}

QString ModSearch::shown(const std::filesystem::path &file) const
{
    return shownIn(m_model.modFolder(), file);
}

// The plan's files with only their checked lines, as the list shows them.
std::vector<find::FileChange> ModSearch::checkedChanges() const
{
    std::vector<find::FileChange> changes;
    const std::vector<FoundLinesModel::File> &listed = m_results->files();
    for (std::size_t f = 0; f < listed.size() && f < m_plan->files.size(); ++f) {
        if (listed[f].checked == 0)
            continue;
        find::FileChange change = m_plan->files[f];
        change.lines.clear();
        for (std::size_t l = 0; l < listed[f].lines.size(); ++l) {
            if (listed[f].lines[l].checked)
                change.lines.push_back(m_plan->files[f].lines[l]);
        }
        changes.push_back(std::move(change));
    }
    return changes;
}

// The window's question about the unsaved edits of the open script and the strings
// table, when `files` holds either; true when there is none to ask.
template<class Files> bool ModSearch::askAboutOpenFiles(const Files &files)
{
    const bool script = m_model.scriptOpen() && holds(files, m_model.scriptPath());
    const bool strings = holds(files, m_model.stringsFile());
    return (!script && !strings) || m_hooks.mayRewrite(script, strings);
}

// Asks about the unsaved edits of the open files the change rewrites; a file that the
// answer saved is planned again as it now is, without another question.
bool ModSearch::mayRewrite(std::vector<find::FileChange> &changes)
{
    std::vector<std::pair<std::size_t, bool>> before;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const find::FileChange &change = changes[i];
        if (sameFile(change.file, m_model.scriptPath()) || sameFile(change.file, m_model.stringsFile()))
            before.emplace_back(i,
                                diskState(change.file, change.stamp, Compare::Bytes) == DiskState::Unchanged);
    }
    if (!askAboutOpenFiles(changes))
        return false;
    std::vector<std::size_t> saved;
    for (const auto &[i, unchanged] : before) {
        if (unchanged && diskState(changes[i].file, changes[i].stamp, Compare::Bytes) != DiskState::Unchanged)
            saved.push_back(i);
    }
    return takeUpChangesOnDisk(changes, saved);
}

// Files another program changed since the plan was made: replaced in as they are now,
// or left alone, as the user answers; `silently` are planned again without asking.
bool ModSearch::takeUpChangesOnDisk(std::vector<find::FileChange> &changes,
                                    const std::vector<std::size_t> &silently)
{
    std::vector<std::size_t> changed;
    QStringList names;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const bool quiet = std::find(silently.begin(), silently.end(), i) != silently.end();
        if (!quiet && diskState(changes[i].file, changes[i].stamp, Compare::Bytes) != DiskState::Unchanged) {
            changed.push_back(i);
            names << shown(changes[i].file);
        }
    }
    bool replanChanged = true;
    if (!changed.empty()) {
        const auto answer =
            ui::ask(m_messages,
                    QStringLiteral("Another program changed %1 since the mod was searched.")
                        .arg(names.join(QStringLiteral(", "))),
                    QStringLiteral("Replace in them as they are now, or leave them as they are?"),
                    {{QMessageBox::Yes, QStringLiteral("Replace in Them")},
                     {QMessageBox::No, QStringLiteral("Leave Them")},
                     {QMessageBox::Cancel}},
                    QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel)
            return false;
        replanChanged = answer == QMessageBox::Yes;
    }
    std::vector<std::size_t> again = silently;
    std::vector<bool> dropped(changes.size(), false);
    if (replanChanged)
        again.insert(again.end(), changed.begin(), changed.end());
    else
        for (const std::size_t i : changed)
            dropped[i] = true;
    for (const std::size_t i : again) {
        // A file that cannot be read now keeps its plan: the write then says why it failed.
        auto read = stamped(changes[i].file, readFile(changes[i].file, m_model.files()->boundary()));
        if (!read)
            continue;
        std::optional<find::FileChange> planned = m_plan->replan(changes[i].file, std::move(read).value());
        if (planned)
            changes[i] = std::move(*planned);
        else
            dropped[i] = true; // it holds nothing to change any more
    }
    std::vector<find::FileChange> kept;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (!dropped[i])
            kept.push_back(std::move(changes[i]));
    }
    changes = std::move(kept);
    return true;
}

void ModSearch::replace()
{
    m_busy.whenIdle([this] {
        if (!m_plan || !m_model.files())
            return;
        std::vector<find::FileChange> changes = checkedChanges();
        if (changes.empty() || !mayRewrite(changes))
            return;
        const find::ChangeWritten written = find::writeChange(*m_model.files(), changes);
        int lines = 0;
        for (const find::FileChange &change : changes) {
            if (std::any_of(written.written.begin(), written.written.end(),
                            [&](const find::WrittenFile &file) { return file.file == change.file; }))
                lines += static_cast<int>(change.lines.size());
        }
        const QString what = m_planWhat == QStringLiteral("Rename") ? QStringLiteral("Renamed in")
                                                                    : QStringLiteral("Replaced in");
        m_plan.reset();
        m_results->setFiles({}, false);
        m_written = written.written;
        m_writtenMod = m_model.modFolder();
        m_undo->setEnabled(!m_written.empty());
        report(written, lines, what);
        rewritten(written.written);
    });
}

void ModSearch::undo()
{
    m_busy.whenIdle([this] {
        if (m_written.empty() || !m_model.files())
            return;
        if (!askAboutOpenFiles(m_written))
            return;
        auto undone = find::undoChange(*m_model.files(), m_written);
        m_written.clear();
        m_undo->setEnabled(false);
        if (!undone) {
            QStringList names;
            for (const fs::path &file : undone.error())
                names << shown(file);
            ui::showMessage(m_messages,
                            QStringLiteral("The replace cannot be undone: %1 changed since it was written.")
                                .arg(names.join(QStringLiteral(", "))),
                            QStringLiteral("Nothing was put back."));
            return;
        }
        report(*undone, -1, QStringLiteral("Put back"));
        rewritten(undone->written);
    });
}

// Says what was written and what could not be; `lines` counted, or -1 for whole files.
void ModSearch::report(const find::ChangeWritten &written, int lines, const QString &done)
{
    const QString files = counted(written.written.size(), "file", "files");
    showSummary(lines < 0 ? QStringLiteral("%1 %2.").arg(done, files)
                          : QStringLiteral("%1 %2 of %3.")
                                .arg(done, counted(static_cast<std::size_t>(lines), "line", "lines"), files));
    if (written.failed.empty() && written.backupFailed.empty())
        return;
    QStringList failures;
    for (const IoError &failed : written.failed)
        failures << ui::failureMessage(QStringLiteral("%1 could not be written").arg(shown(failed.path)),
                                       failed);
    for (const IoError &backup : written.backupFailed)
        failures << ui::failureMessage(QStringLiteral("%1 could not be written").arg(shown(backup.path)),
                                       backup);
    ui::showMessage(
        m_messages,
        QStringLiteral("%1 %2; %3 could not be.")
            .arg(done, files, counted(written.failed.size() + written.backupFailed.size(), "file", "files")),
        failures.join(u'\n'));
}

void ModSearch::rewritten(const std::vector<find::WrittenFile> &files)
{
    std::vector<fs::path> paths;
    paths.reserve(files.size());
    for (const find::WrittenFile &file : files)
        paths.push_back(file.file);
    if (!paths.empty())
        m_hooks.rewritten(paths);
}

} // namespace cw::gui
