#include "GuiSupport.h"

#include "core/io/Files.h"
#include "gui/app/Application.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/ui/ChooserComboBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace cw::test {
namespace {
int g_answerersAlive = 0;
}

DialogAnswerer::DialogAnswerer()
{
    ++g_answerersAlive;
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start();
}

DialogAnswerer::~DialogAnswerer()
{
    --g_answerersAlive;
}

int DialogAnswerer::aliveCount()
{
    return g_answerersAlive;
}

namespace {

// Every dialog the program shows is wide enough for its title to stand whole beside a
// frame's buttons.
void expectTitleWhole(const QWidget &dialog)
{
    QFont bold = dialog.font();
    bold.setBold(true);
    EXPECT_GE(dialog.width(), QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()) + 100)
        << dialog.windowTitle().toStdString();
}

// A question's answers have mnemonics, and Escape gives Cancel where it is offered.
void expectKeyboardAnswers(const QMessageBox &box)
{
    for (QAbstractButton *button : box.buttons()) {
        if (box.standardButton(button) != QMessageBox::Cancel) {
            EXPECT_TRUE(button->text().contains(u'&')) << button->text().toStdString();
        }
    }
    if (box.button(QMessageBox::Cancel)) {
        EXPECT_EQ(box.escapeButton(), box.button(QMessageBox::Cancel));
    }
}

} // namespace

void DialogAnswerer::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && (qobject_cast<QMessageBox *>(modal) || qobject_cast<QInputDialog *>(modal)))
        expectTitleWhole(*modal);
    if (auto *box = qobject_cast<QMessageBox *>(modal);
        box && box->objectName() == QStringLiteral("questionBox")) {
        questions.append(box->text());
        questionDetails.append(box->informativeText());
        expectKeyboardAnswers(*box);
        // The guard's question offers Save first whenever it can save.
        if (box->button(QMessageBox::Discard) && box->button(QMessageBox::Save)) {
            EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Save));
        }
        // A question that replaces or drops something defaults to the safe answer.
        if (box->button(QMessageBox::Yes)) {
            EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        }
        QMessageBox::StandardButton answer = QMessageBox::NoButton;
        if (!m_buttons.isEmpty())
            answer = m_buttons.takeFirst();
        else
            for (const QMessageBox::StandardButton fallback :
                 {QMessageBox::Discard, QMessageBox::No, QMessageBox::Cancel})
                if (answer == QMessageBox::NoButton && box->button(fallback))
                    answer = fallback;
        if (QAbstractButton *button = box->button(answer)) {
            button->click();
        } else {
            ADD_FAILURE() << "the question has no such answer: " << box->text().toStdString();
            box->reject();
        }
    } else if (box) {
        messages.append(box->text());
        informativeTexts.append(box->informativeText());
        EXPECT_EQ(box->buttons().size(), 1) << "a message box has exactly one button";
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Cuewright"));
        box->button(QMessageBox::Ok)->click();
    } else if (auto *input = qobject_cast<QInputDialog *>(modal)) {
        inputTitles.append(input->windowTitle());
        inputPrompts.append(input->labelText());
        inputProposals.append(input->textValue());
        if (m_answers.isEmpty()) {
            input->reject();
        } else {
            input->setTextValue(m_answers.takeFirst());
            input->accept();
        }
    }
}

ModalWatchdog::ModalWatchdog(std::chrono::milliseconds patience, Report report)
    : m_patience(patience), m_report(std::move(report))
{
    m_timer.setInterval(std::min(patience / 4, std::chrono::milliseconds(100)));
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start();
}

void ModalWatchdog::failTheRunningTest(const QString &dialogText)
{
    ADD_FAILURE() << "an unexpected modal dialog was left unanswered and has been closed: "
                  << dialogText.toStdString();
}

QString ModalWatchdog::describe(const QDialog &dialog)
{
    if (const auto *box = qobject_cast<const QMessageBox *>(&dialog)) {
        return box->informativeText().isEmpty()
                   ? box->text()
                   : box->text() + QStringLiteral(" / ") + box->informativeText();
    }
    if (const auto *input = qobject_cast<const QInputDialog *>(&dialog))
        return input->windowTitle() + QStringLiteral(": ") + input->labelText();
    return dialog.windowTitle();
}

void ModalWatchdog::poll()
{
    auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    if (!dialog || DialogAnswerer::aliveCount() > 0) {
        m_watched = nullptr;
        return;
    }
    if (dialog != m_watched) {
        m_watched = dialog;
        m_openFor.start();
        return;
    }
    if (m_openFor.elapsed() < m_patience.count())
        return;
    m_watched = nullptr;
    m_report(describe(*dialog));
    dialog->reject();
}

GameRootBuilder &GameRootBuilder::withBasics()
{
    dir.write("darwinia.exe", "stand-in for the game\r\n");
    dir.write("commands.txt", kTestCommands);
    dir.makeFolder("mods");
    return *this;
}

GameRootBuilder &GameRootBuilder::withMod(const std::string &name)
{
    dir.makeFolder("mods/" + name);
    return *this;
}

std::unique_ptr<gui::MainWindow> openWindow(const std::filesystem::path &root)
{
    gui::Startup startup = gui::startUp(root, gui::GridTiming::BeforeShow);
    EXPECT_TRUE(startup.window) << (startup.failure ? startup.failure->detail : "");
    if (startup.window) {
        startup.window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(startup.window.get()));
    }
    return std::move(startup.window);
}

ScopedVariable::ScopedVariable(const char *name, const std::optional<QByteArray> &value)
    : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_previous(qgetenv(name))
{
    if (value)
        qputenv(m_name, *value);
    else
        qunsetenv(m_name);
}

ScopedVariable::~ScopedVariable()
{
    if (m_had)
        qputenv(m_name, m_previous);
    else
        qunsetenv(m_name);
}

namespace {

#ifdef _WIN32
constexpr const char *kProgramSuffix = ".exe";
#else
constexpr const char *kProgramSuffix = "";
#endif

// The lines of a file the recorder writes, waiting up to five seconds for `expected`.
QStringList recordedLines(const std::filesystem::path &file, int expected)
{
    QStringList lines;
    for (int i = 0; i < 500; ++i) {
        const std::string record = readBytes(file);
        lines = record == "<missing>" ? QStringList()
                                      : QString::fromStdString(record).split(u'\n', Qt::SkipEmptyParts);
        if (lines.size() >= expected)
            break;
        QTest::qWait(10);
    }
    return lines;
}

} // namespace

StandIn::StandIn(const std::string &name) : m_dir(std::in_place)
{
    m_program = m_dir->path() / utf8Path(name + kProgramSuffix);
    std::filesystem::copy_file(executableFolder() / (std::string("recorder") + kProgramSuffix), m_program);
}

StandIn::StandIn(const std::filesystem::path &folder, const std::string &fileName)
    : m_program(folder / utf8Path(fileName))
{
    std::filesystem::copy_file(executableFolder() / (std::string("recorder") + kProgramSuffix), m_program,
                               std::filesystem::copy_options::overwrite_existing);
}

QByteArray StandIn::program() const
{
    return QFile::encodeName(nativePath(m_program));
}

QByteArray StandIn::folder() const
{
    return QFile::encodeName(nativePath(m_program.parent_path()));
}

QStringList StandIn::starts(int expected) const
{
    return recordedLines(m_program.parent_path() / "record.txt", expected);
}

QStringList StandIn::startsSoFar() const
{
    QTest::qWait(200);
    return recordedLines(m_program.parent_path() / "record.txt", 0);
}

QStringList StandIn::workingFolders(int expected) const
{
    return recordedLines(m_program.parent_path() / "folders.txt", expected);
}

void clickButton(QWidget *button)
{
    ASSERT_TRUE(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

void pickItem(QComboBox *combo, int index)
{
    ASSERT_TRUE(combo);
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    const QModelIndex item = view->model()->index(index, combo->modelColumn());
    view->scrollTo(item);
    const QRect rect = view->visualRect(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    if (view->isVisible())
        combo->hidePopup();
}

void typeInto(QWidget *widget, const QString &text)
{
    ASSERT_TRUE(widget);
    widget->setFocus();
    QTest::keyClicks(widget, text);
}

void releaseMouse(QWidget *widget, Qt::MouseButton button)
{
    ASSERT_TRUE(widget);
    QTest::mouseClick(widget, button);
}

void clickListItem(QListView *list, int row)
{
    ASSERT_TRUE(list);
    ASSERT_LT(row, list->model()->rowCount());
    const QModelIndex item = list->model()->index(row, 0);
    list->scrollTo(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualRect(item).center());
}

void doubleClickListItem(QListView *list, int row)
{
    ASSERT_TRUE(list);
    ASSERT_LT(row, list->model()->rowCount());
    const QModelIndex item = list->model()->index(row, 0);
    list->scrollTo(item);
    const QPoint at = list->visualRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void doubleClickEmptyArea(QListView *list)
{
    ASSERT_TRUE(list);
    const QPoint corner(list->viewport()->width() - 3, list->viewport()->height() - 3);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, corner);
}

std::string describeRow(const gui::MainWindow &window, int row)
{
    gui::ScriptGrid &grid = window.grid();
    std::string out = grid.combo(row)->currentText().toStdString() + "|";
    for (int k = 0; k < gui::ScriptGrid::kFieldsPerRow; ++k) {
        const QLineEdit *field = grid.field(row, k);
        out += (k ? "," : "") + (field->isHidden() ? std::string("-") : field->text().toStdString());
    }
    const QComboBox *strings = grid.stringsChooser(row);
    out += "|" + (strings->isHidden() ? std::string("-") : strings->currentText().toStdString());
    return out;
}

QStringList comboItems(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

QStringList stringsTableNames(const gui::MainWindow &window)
{
    const QStringList names = comboItems(find<QComboBox>(window, QStringLiteral("cmbstringlist")));
    for (int row : {0, 57, 99})
        EXPECT_EQ(comboItems(window.grid().stringsChooser(row)), names) << "strings chooser of row " << row;
    return names;
}

bool systemHasTrash()
{
    static const bool has = [] {
        // As Delete Script does before it moves a file there.
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
        const QTemporaryDir folder;
        const QString probe = folder.filePath(QStringLiteral("trash-probe.txt"));
        if (!QFile(probe).open(QIODevice::WriteOnly))
            return false;
        QString inTrash;
        if (!QFile::moveToTrash(probe, &inTrash))
            return false;
        const bool intoATrash = inTrash.isEmpty() || QFileInfo(inTrash).isAbsolute();
        QFile::remove(inTrash);
        return intoATrash;
    }();
    return has;
}

QStringList itemTexts(const QListView *list)
{
    QStringList texts;
    for (int i = 0; i < list->model()->rowCount(); ++i)
        texts << list->model()->index(i, 0).data().toString();
    return texts;
}

void openMod(gui::MainWindow &window, const QString &name)
{
    auto *list1 = find<QListView>(window, QStringLiteral("List1"));
    const int row = static_cast<int>(itemTexts(list1).indexOf(name));
    ASSERT_TRUE(row >= 0 && itemTexts(list1).count(name) == 1) << name.toStdString();
    window.selectPage(0);
    clickListItem(list1, row);
}

} // namespace cw::test
