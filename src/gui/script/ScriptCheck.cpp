#include "gui/script/ScriptCheck.h"

#include "core/io/Files.h"
#include "core/io/ModBoundary.h"
#include "core/levels/Levels.h"
#include "core/strings/GameStrings.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/TextCodec.h"
#include "gui/model/WindowModel.h"
#include "gui/ui/ChooserComboBox.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/Panels.h"

#include <QAction>
#include <QDockWidget>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <utility>

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

std::size_t indexOf(check::Severity severity)
{
    return static_cast<std::size_t>(severity);
}

RowMark::Severity markOf(check::Severity severity)
{
    switch (severity) {
    case check::Severity::Error:
        return RowMark::Severity::Error;
    case check::Severity::Warning:
        return RowMark::Severity::Warning;
    case check::Severity::Note:
        break;
    }
    return RowMark::Severity::Note;
}

// Each severity has its own icon and colour in the list, the note the quietest.
QListWidgetItem *listItem(const QString &text, check::Severity severity, const QStyle &style)
{
    QStyle::StandardPixmap icon = QStyle::SP_MessageBoxInformation;
    QColor colour(0x6e, 0x6e, 0x6e);
    if (severity == check::Severity::Error) {
        icon = QStyle::SP_MessageBoxCritical;
        colour = QColor(0xb0, 0x1e, 0x14);
    } else if (severity == check::Severity::Warning) {
        icon = QStyle::SP_MessageBoxWarning;
        colour = QColor(0x8a, 0x56, 0x00);
    }
    auto item = std::make_unique<QListWidgetItem>(style.standardIcon(icon), text);
    item->setForeground(colour);
    item->setToolTip(text);
    item->setData(ScriptCheck::kSeverityRole, severityText(severity));
    return item.release();
}

// A strings file of the mod as the findings name it: "strings_default.txt",
// "language/english.txt".
QString shownStringsFile(const std::filesystem::path &file, const std::filesystem::path &modFolder)
{
    const QString name = displayName(file.filename());
    return file.parent_path() == modFolder ? name : displayName(file.parent_path().filename()) + u'/' + name;
}

} // namespace

ScriptCheck::ScriptCheck(WindowModel &model, ScriptGrid &grid, QAction *cmdCheck, ui::Panels &panels)
    : m_model(model), m_grid(grid), m_panels(panels),
      m_panel(panels.add(QStringLiteral("checkPanel"), QStringLiteral("Check"))),
      m_strings(std::make_shared<GameStrings>())
{
    connect(cmdCheck, &QAction::triggered, this, &ScriptCheck::check);
    connect(&m_model, &WindowModel::filesChanged, this, &ScriptCheck::filesChanged);
    m_delay.setSingleShot(true);
    m_delay.setInterval(kDelayMilliseconds);
    connect(&m_delay, &QTimer::timeout, this, &ScriptCheck::checkNow);
    // Every change of the rows (an edit, an undo, a load, a new strings table) checks
    // again once the user pauses.
    connect(&m_model.editor(), &ScriptEditor::rowsChanged, this, [this] { m_delay.start(); });
    // A panel the window's state brings back, or whose tab the user picks, shows the
    // findings of now.
    connect(m_panel, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (!visible)
            return;
        if (!m_dialog)
            buildDialog();
        checkNow();
    });
}

bool ScriptCheck::panelShown() const
{
    return m_dialog && m_panel->isVisible();
}

// The levels of the mod, and the script's name, by which its levels run it.
check::ScriptContext ScriptCheck::context() const
{
    return {m_levels.get(), m_model.scriptOpen() ? nameOf(m_model.scriptPath().filename()) : std::string()};
}

void ScriptCheck::filesChanged()
{
    m_filesStale = true;
    m_delay.start();
}

void ScriptCheck::checkNow()
{
    m_delay.stop();
    // The model reads the strings again only after the files changed.
    m_strings = m_model.gameStrings();
    m_levels = m_model.levels();
    m_gridFindings = check::checkDocument(m_model.editor().document(), *m_strings, context());
    if (m_grid.isBuilt()) {
        std::vector<RowMark> marks(ScriptGrid::kRowCount);
        for (const check::Finding &finding : m_gridFindings) {
            RowMark &mark =
                marks[static_cast<std::size_t>(std::clamp(finding.line - 1, 0, ScriptGrid::kRowCount - 1))];
            mark.severity = std::max(mark.severity, markOf(finding.severity));
            mark.findings +=
                (mark.findings.isEmpty() ? QString() : QStringLiteral("\n")) + findingText(finding);
        }
        m_grid.setMarks(marks);
    }
    if (panelShown()) {
        if (m_filesStale)
            checkFiles();
        showFindings();
    }
}

// What `cuewright check MOD SCRIPT` says of the open script's file and the mod's
// strings files, holding on to no more findings than the window lists.
void ScriptCheck::checkFiles()
{
    m_fileFindings.clear();
    m_fileCounts = {};
    const auto sinkFor = [this](const QString &file) {
        return [this, file](check::Finding &&f) {
            ++m_fileCounts[indexOf(f.severity)];
            const bool onGridLine = file.isEmpty() && f.line <= ScriptGrid::kRowCount;
            if (onGridLine || m_fileFindings.size() < static_cast<std::size_t>(kListedFindings))
                m_fileFindings.push_back({file, std::move(f)});
        };
    };
    if (m_model.scriptOpen()) {
        if (auto bytes = readFile(m_model.scriptPath(), ModBoundary(m_model.scriptModFolder())))
            check::checkScript(*bytes, m_model.gameRoot().catalogue, *m_strings, context(),
                               sinkFor(QString()));
    }
    if (m_model.modOpen()) {
        const std::filesystem::path &mod = m_model.modFolder();
        for (const std::filesystem::path &file : check::modStringsFiles(mod)) {
            if (auto bytes = readFile(file, ModBoundary(mod)))
                check::checkModStringsFile(file, *bytes, *m_strings, sinkFor(shownStringsFile(file, mod)));
        }
    }
    m_filesStale = false;
}

void ScriptCheck::buildDialog()
{
    m_dialog = new QWidget;
    m_dialog->setObjectName(QStringLiteral("checkDialog"));
    auto *layout = new QVBoxLayout(m_dialog);
    m_summary = new QLabel(m_dialog);
    m_summary->setObjectName(QStringLiteral("checkSummary"));
    m_summary->setWordWrap(true);
    m_findings = new QListWidget(m_dialog);
    m_findings->setObjectName(QStringLiteral("checkFindings"));
    // A finding wraps at the panel's edge, however narrow it is docked: no sideways
    // scrolling, and every word of it in sight.
    m_findings->setWordWrap(true);
    m_findings->setResizeMode(QListView::Adjust);
    m_findings->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_findings->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_findings->setIconSize(QSize(scaled(16), scaled(16)));
    m_findings->setToolTip(QStringLiteral("Double click a finding to go to its line"));
    layout->addWidget(m_summary);
    layout->addWidget(m_findings);
    connect(m_findings, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        const QVariant row = item->data(Qt::UserRole);
        if (row.isValid())
            goToRow(row.toInt());
    });
    ui::Panels::fill(m_panel, m_dialog);
}

void ScriptCheck::check()
{
    if (!m_dialog)
        buildDialog();
    // A panel that opens checks as it becomes visible; one already open checks now.
    const bool wasShown = m_panel->isVisible();
    m_panels.show(m_panel);
    if (wasShown || !m_panel->isVisible())
        checkNow();
}

void ScriptCheck::showFindings()
{
    const QString script = m_model.scriptOpen() ? m_model.scriptName() : QStringLiteral("the grid");
    // A finding of the grid and the same one on disk (same line, same rule) are one.
    Counts counts = m_fileCounts;
    std::set<std::pair<int, std::string>> onGrid;
    for (const check::Finding &finding : m_gridFindings) {
        ++counts[indexOf(finding.severity)];
        onGrid.emplace(finding.line, finding.rule);
    }
    std::vector<bool> shownByGrid(m_fileFindings.size());
    for (std::size_t i = 0; i < m_fileFindings.size(); ++i) {
        const FileFinding &f = m_fileFindings[i];
        shownByGrid[i] = f.file.isEmpty() && onGrid.count({f.finding.line, f.finding.rule}) > 0;
        if (shownByGrid[i])
            --counts[indexOf(f.finding.severity)];
    }
    const int total = counts[0] + counts[1] + counts[2];

    m_findings->clear();
    int listed = 0;
    const auto add = [&](const QString &where, const check::Finding &finding, bool goesToRow) {
        if (listed == kListedFindings)
            return;
        QListWidgetItem *item = listItem(where + findingText(finding), finding.severity, *m_dialog->style());
        if (goesToRow)
            item->setData(Qt::UserRole, std::clamp(finding.line - 1, 0, ScriptGrid::kRowCount - 1));
        m_findings->addItem(item);
        ++listed;
    };
    for (const check::Finding &finding : m_gridFindings)
        add(QStringLiteral("Line %1: ").arg(finding.line), finding, true);
    for (std::size_t i = 0; i < m_fileFindings.size(); ++i) {
        const FileFinding &f = m_fileFindings[i];
        if (shownByGrid[i])
            continue;
        add(f.file.isEmpty() ? QStringLiteral("On disk, line %1: ").arg(f.finding.line)
                             : QStringLiteral("On disk, %1 line %2: ").arg(f.file).arg(f.finding.line),
            f.finding, f.file.isEmpty());
    }
    const std::size_t error = indexOf(check::Severity::Error);
    const std::size_t warning = indexOf(check::Severity::Warning);
    const std::size_t note = indexOf(check::Severity::Note);
    m_dialog->setWindowTitle(total == 0 ? QStringLiteral("Check - %1").arg(script)
                                        : QStringLiteral("Check - %1: %2, %3, %4")
                                              .arg(script, counted(counts[error], "1 error", "errors"),
                                                   counted(counts[warning], "1 warning", "warnings"),
                                                   counted(counts[note], "1 note", "notes")));
    QString summary =
        total == 0 ? QStringLiteral("No findings: the game reads %1 as the editor shows it.").arg(script)
                   : QStringLiteral(
                         "What the game will do with %1: \"Line\" for the grid as it stands, \"On disk\" for "
                         "the files as cuewright check reads them (double click to go to a line):")
                         .arg(script);
    if (listed < total)
        summary += QStringLiteral(" the first %1 of %2 findings are listed.").arg(listed).arg(total);
    m_summary->setText(summary);
}

void ScriptCheck::goToRow(int row)
{
    Q_EMIT rowRequested(row);
}

} // namespace cw::gui
