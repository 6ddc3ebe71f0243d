// The pages of the window, one function each. Positions are pixels (the layout's twips
// divided by 15) relative to the page.
#include "gui/app/MainWindow.h"

#include "core/io/Files.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/model/TextCodec.h"
#include "gui/model/WindowModel.h"
#include "gui/strings/StringsTextEdit.h"
#include "gui/ui/ChooserComboBox.h"
#include "gui/ui/FileListBox.h"
#include "gui/ui/FlowLayout.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/GrowingPage.h"
#include "gui/ui/Pictures.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStringListModel>

namespace cw::gui {
namespace {

QLabel *caption(QWidget *page, const QString &text, int x, int y, int width = 200)
{
    auto *label = new QLabel(text, page);
    place(label, x, y, width, 18);
    return label;
}

// The compact layouts' boxes: a little room around and between their controls, the same
// at every font (the room is what a compact page is short of).
constexpr int kCompactGap = 4;

template<class Box, class... Arguments> std::unique_ptr<Box> box(Arguments... arguments)
{
    auto layout = std::make_unique<Box>(arguments...);
    layout->setContentsMargins(kCompactGap, kCompactGap, kCompactGap, kCompactGap);
    layout->setSpacing(kCompactGap);
    return layout;
}

// A row of buttons, wrapping where the width runs out.
QLayout *buttonRow(std::initializer_list<QWidget *> buttons)
{
    auto *row = new ui::FlowLayout(kCompactGap);
    for (QWidget *button : buttons)
        row->addWidget(button);
    return row;
}

QLabel *labelAt(QWidget *page, const QString &text)
{
    for (QLabel *label : page->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (label->text() == text)
            return label;
    }
    return nullptr;
}

} // namespace

QPushButton *MainWindow::button(QWidget *page, const QString &name, const QString &text, const QString &tip)
{
    auto *b = new QPushButton(text, page);
    b->setObjectName(name);
    b->setToolTip(tip);
    return b;
}

GrowingPage *MainWindow::buildMainPage()
{
    auto *page = new GrowingPage;
    Controls &c = m_controls;

    caption(page, QStringLiteral("Mods:"), 8, 6);
    c.list1 = new ListBox(QStringLiteral("List1"), page);
    c.list1->setToolTip(QStringLiteral("Mod list - double click to open"));
    place(c.list1, 8, 26, 250, 404);

    caption(page, QStringLiteral("Loading success:"), 280, 6);
    const QString parts[] = {QStringLiteral("Scripts"), QStringLiteral("Levels"), QStringLiteral("Strings")};
    for (int i = 0; i < 3; ++i) {
        const int y = 30 + 32 * i;
        caption(page, parts[i], 280, y + 3, 60);
        auto *indicator = new IndicatorLabel(QStringLiteral("work_%1").arg(i), page);
        place(indicator, 344, y + 2, 20, 20);
        c.work[static_cast<std::size_t>(i)] = indicator;
    }
    c.cmdScripts = button(page, QStringLiteral("cmdsripts"), QStringLiteral("Make Folder"),
                          QStringLiteral("Makes a scripts folder in your mod"));
    c.cmdLevels =
        button(page, QStringLiteral("cmdlevels"), QStringLiteral("Make Folder"),
               QStringLiteral("Makes a levels folder in your mod (you probably already have this)"));
    c.cmdStrings = button(page, QStringLiteral("cmdstrings"), QStringLiteral("Make File"),
                          QStringLiteral("Makes a strings_default.txt"));
    QPushButton *makers[] = {c.cmdScripts, c.cmdLevels, c.cmdStrings};
    for (int i = 0; i < 3; ++i)
        place(makers[i], 376, 29 + 32 * i, 110, 25);

    caption(page, QStringLiteral("Files in root folder:"), 280, 134);
    c.rootFiles = new FileListBox(QStringLiteral("rootfiles"), page);
    place(c.rootFiles, 280, 154, 370, 212);
    c.cmdRootOpen = button(page, QStringLiteral("cmdrootopen"), QStringLiteral("Open"),
                           QStringLiteral("Opens selected file in notepad"));
    place(c.cmdRootOpen, 280, 372, 110, 25);

    c.command2 = button(page, QStringLiteral("Command2"), QStringLiteral("Launch Darwinia"),
                        QStringLiteral("Runs Darwinia"));
    c.command2->setIcon(launchPicture());
    c.command2->setIconSize(QSize(scaled(16), scaled(16)));
    place(c.command2, 8, 444, 170, 34);
    c.cmdPrefs = button(page, QStringLiteral("cmdprefs"), QStringLiteral("Open preferences.txt"),
                        QStringLiteral("Opens preferencex.txt for haxing"));
    place(c.cmdPrefs, 188, 444, 170, 34);

    // The mods, listed in the first frame.
    c.list1->setModel(m_model->modNames());
    c.rootFiles->setFiles(m_model->listModels().rootFiles);
    for (QWidget *w : {static_cast<QWidget *>(c.rootFiles), static_cast<QWidget *>(c.cmdRootOpen),
                       static_cast<QWidget *>(c.cmdScripts), static_cast<QWidget *>(c.cmdLevels),
                       static_cast<QWidget *>(c.cmdStrings)})
        w->setEnabled(false);
    return page;
}

GrowingPage *MainWindow::buildLevelsPage()
{
    auto *page = new GrowingPage;
    Controls &c = m_controls;
    caption(page, QStringLiteral("Files thought to be maps:"), 8, 6);
    c.listMaps = new FileListBox(QStringLiteral("listmaps"), page);
    place(c.listMaps, 8, 26, 318, 404);
    c.cmdMapOpen = button(page, QStringLiteral("cmdmapopen"), QStringLiteral("Open selected map file"),
                          QStringLiteral("Opens selected map in notepad"));
    place(c.cmdMapOpen, 8, 436, 200, 27);

    caption(page, QStringLiteral("Files thought to be missions:"), 338, 6);
    c.listMissions = new FileListBox(QStringLiteral("listmissions"), page);
    place(c.listMissions, 338, 26, 318, 404);
    c.cmdMissionOpen =
        button(page, QStringLiteral("cmdmissionopen"), QStringLiteral("Open selected mission file"),
               QStringLiteral("Opens selected mission in notepad"));
    place(c.cmdMissionOpen, 338, 436, 200, 27);
    return page;
}

void MainWindow::buildScriptButtons(QWidget *page)
{
    Controls &c = m_controls;
    struct ButtonDefinition
    {
        QPushButton **slot;
        const char *name;
        const char *text;
        const char *tip;
        int width;
    };
    // The file actions above the lists; the delete button as wide as its longer caption,
    // "CLICK AGAIN TO DELETE", with room to spare.
    const ButtonDefinition buttons[] = {
        {&c.saveSc, "savesc", "Save Script", "Saves script as the name selected with the file box below", 80},
        {&c.saveScAs, "savescas", "Save Script As",
         "Saves the script as a different file name of your choice", 98},
        {&c.newSc, "NewSc", "New Script", "Creates a new script file (doesn't clear current script)", 80},
        {&c.deleteSc, "deletesc", "Delete Script (dbl click)",
         "Deletes the selected script (requires two presses)", 162},
        {&c.scrOpen, "scropen", "Open 4 hax", "Opens the selected script in the text editor", 80},
        {&c.listToggle, "listtoggle", "Toggle List Method", "Changes from Verticle to Horizontal scrolling",
         124},
    };
    int x = 2;
    for (const ButtonDefinition &b : buttons) {
        *b.slot = button(page, QString::fromLatin1(b.name), QString::fromLatin1(b.text),
                         QString::fromLatin1(b.tip));
        place(*b.slot, x, 6, b.width, 27);
        (*b.slot)->setEnabled(false);
        x += b.width + 2;
    }
}

GrowingPage *MainWindow::buildScriptsPage()
{
    auto *page = new GrowingPage;
    Controls &c = m_controls;
    buildScriptButtons(page);
    // What the game will do with the grid, below it. Both only read the grid, so they
    // are there whether or not a mod is open.
    c.cmdCheck = button(page, QStringLiteral("cmdcheck"), QStringLiteral("Check"),
                        QStringLiteral("Shows what the game will do with this script"));
    place(c.cmdCheck, 2, 656, 70, 27);
    c.cmdTimeline = button(page, QStringLiteral("cmdtimeline"), QStringLiteral("Timeline"),
                           QStringLiteral("Shows when each line runs as the game plays the script"));
    place(c.cmdTimeline, 74, 656, 80, 27);

    c.file1 = new FileListBox(QStringLiteral("File1"), page);
    placeTwips(c.file1, 0, 600, 9375, 1500);
    c.file1->hide();
    c.list2 = new FileListBox(QStringLiteral("List2"), page);
    c.list2->setToolTip(QStringLiteral("Double click to open script"));
    // Names in columns, scrolling horizontally.
    c.list2->setFlow(QListView::TopToBottom);
    c.list2->setWrapping(true);
    c.list2->setResizeMode(QListView::Adjust);
    // Each column as wide as its longest name: items of one size would all take the
    // first name's width and cut the longer ones.
    c.list2->setUniformItemSizes(false);
    placeTwips(c.list2, 0, 600, 9375, 1500);
    c.list2->hide();

    connect(c.listToggle, &QPushButton::clicked, this, [&c] {
        const bool list2Shown = !c.list2->isHidden();
        c.file1->setVisible(list2Shown);
        c.list2->setVisible(!list2Shown);
    });

    c.grid = new ScriptGrid(*m_model, page);
    c.grid->setFrameShape(QFrame::StyledPanel);
    place(c.grid, 0, 146, 664, 508);
    return page;
}

GrowingPage *MainWindow::buildStringsPage()
{
    auto *page = new GrowingPage;
    Controls &c = m_controls;
    c.stringsText = new StringsTextEdit(m_model->stringsText(), page);
    place(c.stringsText, 8, 8, 648, 600);
    c.stringsText->hide();
    c.saveStrings = button(page, QStringLiteral("savestrings"), QStringLiteral("Save Changes"),
                           QStringLiteral("Saves changes to strings_default"));
    place(c.saveStrings, 8, 616, 130, 27);
    c.stringsRevert =
        button(page, QStringLiteral("stringsrevert"), QStringLiteral("Revert to Backup"),
               QStringLiteral(
                   "Reverts to a back up OR does something crazy, I have no idea, don't press this button!"));
    place(c.stringsRevert, 146, 616, 130, 27);
    c.saveStrings->setEnabled(false);
    c.stringsRevert->setEnabled(false);

    c.cmbStringList = new ChooserComboBox(QStringLiteral("cmbstringlist"), m_model->stringNames(), page);
    c.cmbStringList->hide();
    c.cmbStringSpam = new ChooserComboBox(QStringLiteral("cmbstringspam"), m_model->stringTexts(), page);
    c.cmbStringSpam->hide();
    return page;
}

void MainWindow::buildHiddenControls()
{
    Controls &c = m_controls;
    // The first page's pictures of a folder found or missing, never shown.
    c.imgWorked = new QLabel(m_pages[0]);
    c.imgWorked->setObjectName(QStringLiteral("imgworked"));
    c.imgWorked->setPixmap(indicatorPicture(Indicator::Worked));
    c.imgWorked->hide();
    c.imgBroke = new QLabel(m_pages[0]);
    c.imgBroke->setObjectName(QStringLiteral("imgbroke"));
    c.imgBroke->setPixmap(indicatorPicture(Indicator::Broken));
    c.imgBroke->hide();
    c.image2 = new QLabel(this);
    c.image2->setObjectName(QStringLiteral("Image2"));
    c.image2->setPixmap(launchPicture());
    c.image2->hide();

    c.dir1 = new QListWidget(this);
    c.dir1->setObjectName(QStringLiteral("Dir1"));
    const GameRoot &root = m_model->gameRoot();
    for (const std::string &mod : root.mods)
        c.dir1->addItem(displayName(root.modsFolder / pathFromName(mod)));
    c.dir1->hide();

    c.stealthLevels = new FileListBox(QStringLiteral("stealthlevels"), this);
    c.stealthLevels->hide();

    const WindowModel::ListModels &lists = m_model->listModels();
    c.stealthLevels->setFiles(lists.levels);
    c.listMaps->setFiles(lists.maps);
    c.listMissions->setFiles(lists.missions);
    c.file1->setFiles(lists.scripts);
    c.list2->setFiles(lists.scriptsInColumns);
}

void MainWindow::letPageGrow(int index)
{
    const Controls &c = m_controls;
    GrowingPage *page = m_pages[static_cast<std::size_t>(index)];
    switch (index) {
    case 0:
        // The lists take the room, and the game's buttons stay below them.
        page->follow(c.list1, GrowingPage::Lengthen);
        page->follow(c.rootFiles, GrowingPage::Widen | GrowingPage::Lengthen);
        page->follow(c.cmdRootOpen, GrowingPage::MoveDown);
        page->follow(c.command2, GrowingPage::MoveDown);
        page->follow(c.cmdPrefs, GrowingPage::MoveDown);
        break;
    case 1:
        // The two lists share the room side by side.
        page->follow(c.listMaps, GrowingPage::Widen | GrowingPage::Lengthen, 0.5);
        page->follow(c.cmdMapOpen, GrowingPage::MoveDown);
        page->follow(c.listMissions, GrowingPage::Widen | GrowingPage::MoveRight | GrowingPage::Lengthen,
                     0.5);
        page->follow(c.cmdMissionOpen, GrowingPage::MoveRight | GrowingPage::MoveDown, 0.5);
        break;
    case 2:
        // The lists and the grid widen, the grid shows more rows, and its buttons stay below it.
        page->follow(c.file1, GrowingPage::Widen);
        page->follow(c.list2, GrowingPage::Widen);
        page->follow(c.grid, GrowingPage::Widen | GrowingPage::Lengthen);
        page->follow(c.cmdCheck, GrowingPage::MoveDown);
        page->follow(c.cmdTimeline, GrowingPage::MoveDown);
        break;
    default:
        // The editor takes the room; its buttons stay below it.
        page->follow(c.stringsText, GrowingPage::Widen | GrowingPage::Lengthen);
        page->follow(c.saveStrings, GrowingPage::MoveDown);
        page->follow(c.stringsRevert, GrowingPage::MoveDown);
        break;
    }
    layOutCompactly(index);
}

// Below the layout's size each page stacks its controls at their size hints: the lists,
// the grid and the strings editor take what room is left, and the buttons stay in rows
// of their own, wrapping as they must, inside the page.
void MainWindow::layOutMainPageCompactly()
{
    const Controls &c = m_controls;
    GrowingPage *page = m_pages[0];
    auto layout = box<QGridLayout>();
    layout->addWidget(labelAt(page, QStringLiteral("Mods:")), 0, 0);
    layout->addWidget(c.list1, 1, 0, 4, 1);
    layout->addWidget(labelAt(page, QStringLiteral("Loading success:")), 0, 1, 1, 3);
    const QString parts[] = {QStringLiteral("Scripts"), QStringLiteral("Levels"), QStringLiteral("Strings")};
    QPushButton *makers[] = {c.cmdScripts, c.cmdLevels, c.cmdStrings};
    for (int i = 0; i < 3; ++i) {
        auto *row = new QHBoxLayout;
        row->addWidget(labelAt(page, parts[i]));
        row->addWidget(c.work[static_cast<std::size_t>(i)]);
        row->addWidget(makers[i]);
        row->addStretch();
        layout->addLayout(row, 1 + i, 1);
    }
    layout->addWidget(labelAt(page, QStringLiteral("Files in root folder:")), 4, 1);
    layout->addWidget(c.rootFiles, 5, 1);
    layout->addLayout(buttonRow({c.cmdRootOpen}), 6, 1);
    // The game's buttons under the mods, beside the root files: no row of their own.
    layout->addLayout(buttonRow({c.command2, c.cmdPrefs}), 5, 0, 2, 1, Qt::AlignBottom);
    layout->setRowStretch(5, 1);
    layout->setColumnStretch(0, 2);
    layout->setColumnStretch(1, 3);
    page->setCompactLayout(std::move(layout));
}

void MainWindow::layOutCompactly(int index)
{
    const Controls &c = m_controls;
    if (index == 0)
        layOutMainPageCompactly();
    if (index == 1) {
        // The two lists side by side where the width allows, else one above the other.
        GrowingPage *page = m_pages[1];
        auto layout = box<QBoxLayout>(QBoxLayout::LeftToRight);
        const auto column = [page](const char *caption, QWidget *list, QWidget *open) {
            auto *stack = new QVBoxLayout;
            stack->setSpacing(kCompactGap);
            stack->addWidget(labelAt(page, QString::fromLatin1(caption)));
            stack->addWidget(list, 1);
            stack->addLayout(buttonRow({open}));
            return stack;
        };
        QBoxLayout *columns = layout.get();
        columns->addLayout(column("Files thought to be maps:", c.listMaps, c.cmdMapOpen));
        columns->addLayout(column("Files thought to be missions:", c.listMissions, c.cmdMissionOpen));
        page->beforeCompactLayout([columns](const QSize &size) {
            int sideBySide = 2 * kCompactGap;
            for (int i = 0; i < columns->count(); ++i)
                sideBySide += columns->itemAt(i)->sizeHint().width() + kCompactGap;
            columns->setDirection(size.width() >= sideBySide ? QBoxLayout::LeftToRight
                                                             : QBoxLayout::TopToBottom);
        });
        page->setCompactLayout(std::move(layout));
    }
    if (index == 2) {
        // Check and Timeline join the file actions in the row above: a row less of
        // buttons is a row more of the grid.
        auto layout = box<QVBoxLayout>();
        layout->addLayout(buttonRow(
            {c.saveSc, c.saveScAs, c.newSc, c.deleteSc, c.scrOpen, c.listToggle, c.cmdCheck, c.cmdTimeline}));
        layout->addWidget(c.file1, 1);
        layout->addWidget(c.list2, 1);
        layout->addWidget(c.grid, 4);
        m_pages[2]->setCompactLayout(std::move(layout));
    }
    if (index == 3) {
        auto layout = box<QVBoxLayout>();
        layout->addWidget(c.stringsText, 1);
        layout->addLayout(buttonRow({c.saveStrings, c.stringsRevert}));
        m_pages[3]->setCompactLayout(std::move(layout));
    }
}

} // namespace cw::gui
