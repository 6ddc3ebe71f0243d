#include "gui/script/ScriptCheck.h"

#include "core/io/Files.h"
#include "core/workspace/ModLayout.h"
#include "gui/app/MainWindow.h"
#include "gui/grid/ScriptEditor.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/ui/ChooserComboBox.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace cw::gui {
namespace {

QString severityText(check::Severity severity)
{
    return QString::fromUtf8(check::severityName(severity).data());
}

QString findingText(const check::Finding &finding)
{
    return QStringLiteral("%1: %2 [%3]")
        .arg(severityText(finding.severity), QString::fromStdString(finding.message),
             QString::fromStdString(finding.rule));
}

QString counted(int count, const char *one, const char *many)
{
    return count == 1 ? QString::fromLatin1(one)
                      : QStringLiteral("%1 %2").arg(count).arg(QString::fromLatin1(many));
}

} // namespace

ScriptCheck::ScriptCheck(MainWindow &window) : m_window(window)
{
    connect(window.controls().cmdCheck, &QPushButton::clicked, this, &ScriptCheck::check);
    m_delay.setSingleShot(true);
    m_delay.setInterval(kDelayMilliseconds);
    connect(&m_delay, &QTimer::timeout, this, &ScriptCheck::checkNow);
    // Every change of the rows (an edit, an undo, a load, a new strings table) checks
    // again once the user pauses.
    connect(&window.editor(), &ScriptEditor::rowsChanged, this, [this] { m_delay.start(); });
}

ScriptCheck::~ScriptCheck()
{
    delete m_dialog;
}

const check::GameStringKeys &ScriptCheck::keys()
{
    const StringsTable &table = m_window.stringsTable();
    if (!m_keys || m_keysOf != &table) {
        m_keys.emplace(table.bytes());
        m_keysOf = &table;
    }
    return *m_keys;
}

void ScriptCheck::checkNow()
{
    m_delay.stop();
    m_gridFindings = check::checkDocument(m_window.editor().document(), keys());
    if (m_window.isGridBuilt()) {
        std::vector<RowMark> marks(ScriptGrid::kRowCount);
        for (const check::Finding &finding : m_gridFindings) {
            RowMark &mark =
                marks[static_cast<std::size_t>(std::clamp(finding.line - 1, 0, ScriptGrid::kRowCount - 1))];
            if (finding.severity == check::Severity::Error)
                mark.severity = RowMark::Severity::Error;
            else if (mark.severity == RowMark::Severity::None)
                mark.severity = RowMark::Severity::Warning;
            mark.findings +=
                (mark.findings.isEmpty() ? QString() : QStringLiteral("\n")) + findingText(finding);
        }
        m_window.grid().setMarks(marks);
    }
    if (m_dialog && m_dialog->isVisible())
        showFindings();
}

std::vector<ScriptCheck::FileFinding> ScriptCheck::fileFindings()
{
    std::vector<FileFinding> found;
    const AppState &state = m_window.state();
    if (!state.currentScriptFile.empty()) {
        if (auto bytes = readFile(state.currentScriptFolder / pathFromName(state.currentScriptFile),
                                  ModBoundary(state.openModFolder))) {
            for (check::Finding &f : check::checkScript(*bytes, m_window.gameRoot().catalogue, keys()))
                found.push_back({false, std::move(f)});
        }
    }
    if (!state.openModFolder.empty()) {
        if (auto bytes = readFile(findNoCase(state.openModFolder, layout::kStringsFile),
                                  ModBoundary(state.openModFolder))) {
            for (check::Finding &f : check::checkStrings(*bytes))
                found.push_back({true, std::move(f)});
        }
    }
    return found;
}

void ScriptCheck::buildDialog()
{
    // A tool window of the main one: never modal, kept above it, and placed where it
    // does not cover the grid.
    m_dialog = new QDialog(&m_window, Qt::Tool);
    m_dialog->setObjectName(QStringLiteral("checkDialog"));
    m_dialog->setModal(false);
    m_dialog->resize(560, 320);
    auto *layout = new QVBoxLayout(m_dialog);
    m_summary = new QLabel(m_dialog);
    m_summary->setObjectName(QStringLiteral("checkSummary"));
    m_summary->setWordWrap(true);
    m_findings = new QListWidget(m_dialog);
    m_findings->setObjectName(QStringLiteral("checkFindings"));
    m_findings->setWordWrap(true);
    m_findings->setToolTip(QStringLiteral("Double click a finding to go to its line"));
    // Escape closes it too, but a window needs a button that says how.
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, m_dialog);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("checkClose"));
    connect(buttons, &QDialogButtonBox::rejected, m_dialog, &QDialog::reject);
    layout->addWidget(m_summary);
    layout->addWidget(m_findings);
    layout->addWidget(buttons);
    connect(m_findings, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        const QVariant row = item->data(Qt::UserRole);
        if (row.isValid())
            goToRow(row.toInt());
    });
}

// Beside the main window where the screen has room, else below it, else to its left;
// where none has room, beside the grid all the same, which it must not cover.
void ScriptCheck::placeDialog()
{
    const QRect main = m_window.frameGeometry();
    const QSize size = m_dialog->frameGeometry().size();
    const QScreen *screen = m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    constexpr int kGap = 8;
    const QPoint candidates[] = {
        {main.right() + kGap, main.top()},
        {main.left(), main.bottom() + kGap},
        {main.left() - kGap - size.width(), main.top()},
    };
    for (const QPoint &at : candidates) {
        if (room.contains(QRect(at, size))) {
            m_dialog->move(at);
            return;
        }
    }
    const QRect grid(m_window.grid().mapToGlobal(QPoint(0, 0)), m_window.grid().size());
    m_dialog->move(grid.right() + kGap, main.top());
}

void ScriptCheck::check()
{
    if (!m_dialog)
        buildDialog();
    const bool wasVisible = m_dialog->isVisible();
    m_dialog->show();
    if (!wasVisible)
        placeDialog();
    checkNow();
    m_dialog->raise();
}

void ScriptCheck::showFindings()
{
    const AppState &state = m_window.state();
    const QString script =
        state.currentScriptName.isEmpty() ? QStringLiteral("the grid") : state.currentScriptName;
    const std::vector<FileFinding> onDisk = fileFindings();
    int errors = 0;
    int warnings = 0;
    m_findings->clear();
    const auto add = [&](const QString &where, const check::Finding &finding, bool goesToRow) {
        (finding.severity == check::Severity::Error ? errors : warnings) += 1;
        auto item = std::make_unique<QListWidgetItem>(where + findingText(finding));
        if (goesToRow)
            item->setData(Qt::UserRole, std::clamp(finding.line - 1, 0, ScriptGrid::kRowCount - 1));
        m_findings->addItem(item.release());
    };
    for (const check::Finding &finding : m_gridFindings)
        add(QStringLiteral("Line %1: ").arg(finding.line), finding, true);
    for (const FileFinding &f : onDisk) {
        add(f.stringsTable ? QStringLiteral("On disk, strings_default.txt line %1: ").arg(f.finding.line)
                           : QStringLiteral("On disk, line %1: ").arg(f.finding.line),
            f.finding, !f.stringsTable);
    }
    m_dialog->setWindowTitle(errors + warnings == 0 ? QStringLiteral("Check - %1").arg(script)
                                                    : QStringLiteral("Check - %1: %2, %3")
                                                          .arg(script, counted(errors, "1 error", "errors"),
                                                               counted(warnings, "1 warning", "warnings")));
    m_summary->setText(
        errors + warnings == 0
            ? QStringLiteral("No findings: the game reads %1 as the editor shows it.").arg(script)
            : QStringLiteral(
                  "What the game will do with %1: \"Line\" for the grid as it stands, \"On disk\" for "
                  "the files as cuewright check reads them (double click to go to a line):")
                  .arg(script));
}

void ScriptCheck::goToRow(int row)
{
    m_window.selectPage(2);
    ScriptGrid &grid = m_window.grid();
    QScrollBar *bar = grid.scrollBar();
    const bool inView = row >= bar->value() && row < bar->value() + ScriptGrid::kVisibleRows;
    if (!inView)
        bar->setValue(std::min(row, bar->maximum()));
    m_window.activateWindow();
    grid.combo(row)->setFocus(Qt::OtherFocusReason);
}

} // namespace cw::gui
