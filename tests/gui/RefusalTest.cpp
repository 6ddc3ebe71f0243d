// A refused action beeps and says why: at the control that was used, for a few seconds,
// or, for a name asked for, in the name dialog, which stays open with the name.
#include "GuiSupport.h"

#include "gui/ui/Dialogs.h"
#include "gui/ui/FileListBox.h"

#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace cw::test {
namespace {

class RefusalTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        game.withBasics();
        game.write("mods/mod/scripts/a.txt", "One 1\r\n");
        game.dir.makeFolder("mods/mod/levels");
        game.write("mods/mod/strings_default.txt", "GREETING Hello\r\n");
        window = openWindow(game.root());
        ASSERT_TRUE(window);
        openMod(*window, "mod");
    }

    // Presses a button, answering any input box with `answer`; the note it showed.
    QString refusalOf(const char *button, const QString &answer = QString())
    {
        QToolTip::hideText();
        const int beeps = gui::ui::beepCount();
        DialogAnswerer answerer;
        if (!answer.isNull())
            answerer.queueAnswer(answer);
        window->selectPage(button == std::string_view("cmdmapopen") ? 1 : 2);
        clickButton(find<QPushButton>(*window, QString::fromLatin1(button)));
        EXPECT_EQ(gui::ui::beepCount(), beeps + 1) << button;
        EXPECT_TRUE(answerer.messages.isEmpty()) << "no box: " << answerer.messages.join(u'\n').toStdString();
        if (answerer.inputPrompts.size() > 1) {
            // Asked again with the name refused, and the reason under the prompt.
            EXPECT_EQ(answerer.inputProposals[1], answer);
            return answerer.inputPrompts[1].section(QStringLiteral("\n\n"), 1);
        }
        return QToolTip::isVisible() ? QToolTip::text() : QStringLiteral("<no note>");
    }

    GameRootBuilder game;
    std::unique_ptr<gui::MainWindow> window;
};

TEST_F(RefusalTest, eachRefusalSaysItsOwnReason)
{
    EXPECT_EQ(refusalOf("savesc"), "Select a script in the list first");
    EXPECT_EQ(refusalOf("scropen"), "Select a script in the list first");
    EXPECT_EQ(refusalOf("deletesc"), "Open a script first");
    EXPECT_EQ(refusalOf("NewSc", "A.TXT"), "A script named a.txt already exists");
    EXPECT_EQ(refusalOf("NewSc", "../x.txt"), "A script name cannot hold \\ / : * ? \" < > | or be . or ..");
    EXPECT_EQ(refusalOf("NewSc", "x.txt."), "A script name cannot end in a blank or a dot");
    EXPECT_EQ(refusalOf("NewSc", "con.txt"), "con.txt is a name Windows keeps for a device");
    EXPECT_EQ(refusalOf("savescas", ""), "A script needs a name");
    EXPECT_EQ(refusalOf("cmdmapopen"), "Select a map in the list first");
}

TEST_F(RefusalTest, theNoteStandsAtTheControlThatWasUsed)
{
    auto *save = find<QPushButton>(*window, "savesc");
    window->selectPage(2);
    QToolTip::hideText();
    clickButton(save);
    ASSERT_TRUE(QToolTip::isVisible());
    QWidget *note = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->inherits("QTipLabel") && top->isVisible())
            note = top;
    }
    ASSERT_TRUE(note);
    const QRect button(save->mapToGlobal(QPoint(0, 0)), save->size());
    EXPECT_LE(std::abs(note->geometry().top() - button.bottom()), 40);
    EXPECT_LE(std::abs(note->geometry().left() - button.left()), 40);
}

} // namespace
} // namespace cw::test
