// What differs from one system to the next: names outside ASCII in every path the
// window touches, and the programs it starts.
#include "GuiSupport.h"

#include "gui/grid/ScriptGrid.h"
#include "gui/ui/FileListBox.h"
#include "gui/ui/Processes.h"
#include "gui/ui/Processors.h"

#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include <gtest/gtest.h>

#include <latch>
#include <thread>

#if defined(__linux__)
#include <pthread.h>
#include <sched.h>
#endif

namespace cw::test {
namespace {

// A game root named with a blank and accents, a mod and a script named with accents:
// the window lists, opens, saves and hands to the text editor every file there as it
// does for plain names.
TEST(NamesOutsideAscii, rootModAndScriptWithAccents_areListedOpenedSavedAndEdited)
{
    TempDir dir;
    const std::string root = "Jeux \xC3\x89t\xC3\xA9";
    const std::string script = root + "/mods/Caf\xC3\xA9/scripts/d\xC3\xA9"
                                      "but.txt";
    dir.write(root + "/darwinia.exe", "stand-in for the game\r\n");
    dir.write(root + "/commands.txt", kTestCommands);
    dir.write(script, "One 1\r\n");
    const auto window = openWindow(dir / root);
    ASSERT_TRUE(window);
    const QString mod = QString::fromUtf8("Caf\xC3\xA9");
    EXPECT_EQ(itemTexts(find<QListView>(*window, QStringLiteral("List1"))), QStringList{mod});

    openMod(*window, mod);
    window->selectPage(2);
    auto *file1 = find<gui::FileListBox>(*window, QStringLiteral("File1"));
    ASSERT_EQ(itemTexts(file1), QStringList{QString::fromUtf8("d\xC3\xA9"
                                                              "but.txt")});
    doubleClickListItem(file1, 0);
    EXPECT_EQ(window->windowTitle(), caption("Caf\xC3\xA9 - d\xC3\xA9"
                                             "but.txt"));
    EXPECT_EQ(window->grid().field(0, 0)->text(), QStringLiteral("1"));

    window->grid().field(0, 0)->setText(QStringLiteral("7"));
    clickButton(find<QPushButton>(*window, QStringLiteral("savesc")));
    EXPECT_EQ(readBytes(dir / script), "One 7\r\n\r\n");
    EXPECT_EQ(listing((dir / script).parent_path()), "d\xC3\xA9"
                                                     "but.txt");

    RecordingProgram editor("CUEWRIGHT_EDITOR");
    clickButton(find<QPushButton>(*window, QStringLiteral("scropen")));
    EXPECT_EQ(editor.starts(), QStringList{"1|" + nativePath(dir / script)});
}

// Without CUEWRIGHT_EDITOR, files open in the system's own way: Notepad on Windows
// (which it finds in its own folder first, so no stand-in can take its place in a
// test), the desktop's choice through xdg-open elsewhere.
#if defined(__linux__)
// The thread moved may run on every processor of the process but the caller's, and on
// all of them when the caller has only the one; a mask of none would fail or stop it.
TEST(Processors, aThreadMovedElsewhere_mayRunOnEveryProcessorButTheCallers)
{
    cpu_set_t allowed;
    ASSERT_EQ(sched_getaffinity(0, sizeof allowed, &allowed), 0);
    std::latch moved(1);
    int ranOn = -1;
    std::thread thread([&] {
        moved.wait();
        ranOn = sched_getcpu();
    });
    // The system may move the caller meanwhile: the processor it was on when it moved the
    // thread is the one left out.
    int here = -1;
    cpu_set_t after;
    for (int attempt = 0; attempt < 100 && here < 0; ++attempt) {
        const int first = sched_getcpu();
        gui::ui::moveToAnotherProcessor(thread.native_handle());
        if (sched_getcpu() == first)
            here = first;
    }
    ASSERT_EQ(pthread_getaffinity_np(thread.native_handle(), sizeof after, &after), 0);
    moved.count_down();
    thread.join();
    ASSERT_GE(here, 0);

    cpu_set_t expected = allowed;
    if (CPU_COUNT(&allowed) > 1)
        CPU_CLR(here, &expected);
    EXPECT_TRUE(CPU_EQUAL(&after, &expected));
    EXPECT_TRUE(CPU_ISSET(ranOn, &expected));
}
#endif

TEST(TextEditor, isTheSystemsUnlessOneIsChosen)
{
    const std::filesystem::path file = utf8Path("Jeux \xC3\x89t\xC3\xA9") / "preferences.txt";
    {
        ScopedVariable none("CUEWRIGHT_EDITOR", std::nullopt);
        const gui::ui::Launch launch = gui::ui::textEditorLaunch(file);
#ifdef _WIN32
        EXPECT_EQ(launch.program, std::filesystem::path("notepad"));
#else
        EXPECT_EQ(launch.program, std::filesystem::path("xdg-open"));
#endif
        EXPECT_EQ(launch.arguments, std::vector<std::filesystem::path>{file});
    }
    ScopedVariable chosen("CUEWRIGHT_EDITOR", QByteArray("kate"));
    EXPECT_EQ(gui::ui::textEditorLaunch(file).program, std::filesystem::path("kate"));
}

} // namespace
} // namespace cw::test
