#include "gui/script/ScriptCheck.h"

#include "core/check/Checker.h"
#include "gui/app/MainWindow.h"
#include "gui/grid/ScriptEditor.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/ui/ChooserComboBox.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace cw::gui {

ScriptCheck::ScriptCheck(MainWindow &window) : m_window(window)
{
    connect(window.controls().cmdCheck, &QPushButton::clicked, this, &ScriptCheck::check);
}

ScriptCheck::~ScriptCheck()
{
    delete m_dialog;
}

void ScriptCheck::buildDialog()
{
    m_dialog = new QDialog(&m_window);
    m_dialog->setObjectName(QStringLiteral("checkDialog"));
    m_dialog->setModal(false);
    m_dialog->resize(620, 320);
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
    connect(m_findings, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { goToRow(item->data(Qt::UserRole).toInt()); });
}

void ScriptCheck::check()
{
    const check::GameStringKeys keys(m_window.stringsTable().bytes());
    const auto findings = check::checkDocument(m_window.editor().document(), keys);

    if (!m_dialog)
        buildDialog();
    const AppState &state = m_window.state();
    const QString script =
        state.currentScriptName.isEmpty() ? QStringLiteral("the grid") : state.currentScriptName;
    m_dialog->setWindowTitle(QStringLiteral("Check - %1").arg(script));
    m_summary->setText(
        findings.empty()
            ? QStringLiteral("No findings: the game reads %1 as the editor shows it.").arg(script)
            : QStringLiteral("What the game will do with %1 (double click to go to a line):").arg(script));
    m_findings->clear();
    for (const check::Finding &finding : findings) {
        auto *item = new QListWidgetItem(
            QStringLiteral("Line %1: %2: %3 [%4]")
                .arg(finding.line)
                .arg(QString::fromUtf8(check::severityName(finding.severity).data()),
                     QString::fromStdString(finding.message), QString::fromStdString(finding.rule)),
            m_findings);
        item->setData(Qt::UserRole, std::clamp(finding.line - 1, 0, ScriptGrid::kRowCount - 1));
    }
    m_dialog->show();
    m_dialog->raise();
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
