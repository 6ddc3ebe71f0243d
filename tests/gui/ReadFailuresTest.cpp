#include "GuiSupport.h"

#include "core/catalogue/Tokenizer.h"
#include "core/io/Files.h"
#include "core/io/IoFaults.h"
#include "gui/app/Application.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/strings/StringsTextEdit.h"
#include "gui/ui/ChooserComboBox.h"
#include "gui/ui/FileListBox.h"

#include <QComboBox>
#include <QListView>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>

namespace cw::test {
namespace {

namespace fs = std::filesystem;

const QString kRefusedLine =
    QString::fromLatin1(withoutExiting(kTokenizerMessage).data(),
                        static_cast<qsizetype>(withoutExiting(kTokenizerMessage).size()));

// Every read fails, as for a file the user may not read (chmod does not stop root).
class ReadFault
{
public:
    ReadFault() { setIoFaultForTesting(IoFaultForTesting{IoFaultForTesting::Kind::Read, EACCES, 0}); }
    ~ReadFault() { setIoFaultForTesting(std::nullopt); }
    ReadFault(const ReadFault &) = delete;
    ReadFault &operator=(const ReadFault &) = delete;
};

std::string numberedLines(int count)
{
    std::string bytes;
    for (int i = 1; i <= count; ++i)
        bytes += "One " + std::to_string(i) + "\r\n";
    return bytes;
}

std::ptrdiff_t countOf(const std::string &text, std::string_view part)
{
    std::ptrdiff_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

class ReadFailures : public ::testing::Test
{
protected:
    void SetUp() override
    {
        game.withBasics();
        game.write("mods/alpha/scripts/a.txt", "One 1\r\nTwo x y\r\n");
        game.write("mods/alpha/scripts/b.txt", "None\r\n");
        game.dir.makeFolder("mods/alpha/levels");
        game.write("mods/alpha/strings_default.txt", "LOC_A Hello\r\n");
    }

    void start(const QString &mod)
    {
        window.reset(); // the last window never looks at the files this test changes
        window = openWindow(game.root());
        ASSERT_TRUE(window);
        openMod(*window, mod);
        window->selectPage(2);
        file1 = find<gui::FileListBox>(*window, "File1");
    }
    void open(const QString &name)
    {
        doubleClickListItem(file1, static_cast<int>(itemTexts(file1).indexOf(name)));
    }
    fs::path scripts() const { return game.root() / "mods/alpha/scripts"; }
    QStringList gridContent() const
    {
        QStringList content;
        for (int r = 0; r < gui::ScriptGrid::kRowCount; ++r)
            content << QString::fromStdString(describeRow(*window, r));
        return content << window->windowTitle() << window->model().scriptName();
    }
    QStringList comboItems(const char *name) const
    {
        return test::comboItems(find<QComboBox>(*window, QString::fromLatin1(name)));
    }
    QString indicator(int i) const
    {
        return find<QWidget>(*window, QStringLiteral("work_%1").arg(i))->property("state").toString();
    }

    GameRootBuilder game;
    std::unique_ptr<gui::MainWindow> window;
    gui::FileListBox *file1 = nullptr;
};

TEST_F(ReadFailures, scriptThatCannotBeReadSinceItWasListed_isReported_andGridCaptionAndNameStay)
{
    const struct
    {
        const char *what;
        std::shared_ptr<void> (*breakFile)(const fs::path &);
    } cases[] = {
        {"deleted",
         [](const fs::path &file) {
             fs::remove(file);
             return std::shared_ptr<void>();
         }},
        {"unreadable",
         [](const fs::path &) {
             return std::shared_ptr<void>(std::make_shared<ReadFault>());
         }},
        {"replaced by a folder",
         [](const fs::path &file) {
             fs::remove(file);
             fs::create_directory(file);
             return std::shared_ptr<void>();
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        game.write("mods/alpha/scripts/b.txt", "None\r\n");
        start("alpha");
        open("a.txt");
        const QStringList before = gridContent();
        ASSERT_EQ(before.at(1).toStdString(), "Two|x,y,-,-|-");
        ASSERT_EQ(before.last(), "a.txt");

        DialogAnswerer answerer;
        {
            const auto broken = c.breakFile(scripts() / "b.txt");
            open("b.txt");
        }
        ASSERT_EQ(answerer.messages.size(), 1);
        EXPECT_TRUE(answerer.messages.front().contains(nativePath(scripts() / "b.txt")))
            << answerer.messages.front().toStdString();
        EXPECT_EQ(gridContent(), before);
        fs::remove_all(scripts() / "b.txt");
    }
}

TEST_F(ReadFailures, folderNamedLikeAScript_isNotListed_andTheRealScriptsOpen)
{
    game.dir.makeFolder("mods/alpha/scripts/x.txt");
    start("alpha");
    EXPECT_EQ(itemTexts(file1), QStringList({"a.txt", "b.txt"}));
    EXPECT_EQ(itemTexts(find<QListView>(*window, "List2")), QStringList({"a.txt", "b.txt"}));
    EXPECT_EQ(indicator(0), "worked");
    open("b.txt");
    EXPECT_EQ(window->model().scriptName(), "b.txt");
}

TEST_F(ReadFailures, stringsFileThatCannotBeRead_breaksOnlyItsPart_andThePreviousTableStays)
{
    game.write("mods/beta/scripts/c.txt", "Say LOC_A\r\n");
    game.dir.makeFolder("mods/beta/levels");
    const struct
    {
        const char *what;
        std::shared_ptr<void> (*breakFile)(const fs::path &);
    } cases[] = {
        {"unreadable",
         [](const fs::path &file) {
             std::ofstream(file, std::ios::binary) << "B b\r\n";
             return std::shared_ptr<void>(std::make_shared<ReadFault>());
         }},
        {"a folder",
         [](const fs::path &file) {
             fs::create_directory(file);
             return std::shared_ptr<void>();
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path file = game.root() / "mods/beta/strings_default.txt";
        fs::remove_all(file);
        start("alpha");
        ASSERT_EQ(comboItems("cmbstringlist"), QStringList{"LOC_A"});
        DialogAnswerer answerer;
        {
            const auto broken = c.breakFile(file);
            openMod(*window, "beta");
        }
        EXPECT_EQ(indicator(0), "worked");
        EXPECT_EQ(indicator(1), "worked");
        EXPECT_EQ(indicator(2), "broken");
        EXPECT_EQ(comboItems("cmbstringlist"), QStringList{"LOC_A"});
        EXPECT_EQ(comboItems("cmbstringspam"), QStringList{"Hello"});
        EXPECT_TRUE(find<QWidget>(*window, "stringstext")->isHidden());
        EXPECT_FALSE(find<QWidget>(*window, "savestrings")->isEnabled());
        EXPECT_TRUE(find<QWidget>(*window, "cmdstrings")->isEnabled());
        EXPECT_EQ(window->windowTitle(), caption("beta"));
        // The table that stayed still serves the scripts.
        open("c.txt");
        EXPECT_EQ(window->grid().stringsChooser(0)->currentIndex(), 0);
        EXPECT_EQ(window->grid().stringsChooser(0)->toolTip(), "Hello");
    }
}

TEST_F(ReadFailures, tenMegabyteStringsTable_opensWhole)
{
    constexpr int kEntries = 100000;
    std::string bytes = "# a table of ten megabytes\r\n\r\n";
    QString text = QStringLiteral("# a table of ten megabytes\n\n");
    for (int i = 0; i < kEntries; ++i) {
        char line[128];
        std::snprintf(line, sizeof line,
                      "KEY_%06d Entry %06d, a text long enough that a hundred thousand of them make more "
                      "than ten megabytes.",
                      i, i);
        bytes += line;
        bytes += "\r\n";
        text += QString::fromLatin1(line) + u'\n';
    }
    ASSERT_GT(bytes.size(), 10'000'000u);
    game.write("mods/big/strings_default.txt", bytes);
    game.write("mods/big/scripts/last.txt", "Say key_099999\r\n");
    start("big");
    EXPECT_EQ(indicator(2), "worked");
    const QStringList names = comboItems("cmbstringlist");
    ASSERT_EQ(names.size(), kEntries);
    EXPECT_EQ(names.front(), "KEY_000000");
    EXPECT_EQ(names.back(), "KEY_099999");
    EXPECT_EQ(comboItems("cmbstringspam").size(), kEntries);

    const QString shown = find<gui::StringsTextEdit>(*window, "stringstext")->strings().text();
    EXPECT_EQ(shown.size(), text.size());
    EXPECT_TRUE(shown == text) << "the editor's text differs from the file";

    open("last.txt");
    EXPECT_EQ(window->grid().stringsChooser(0)->currentIndex(), kEntries - 1);
    EXPECT_EQ(
        window->grid().stringsChooser(0)->toolTip(),
        "Entry 099999, a text long enough that a hundred thousand of them make more than ten megabytes.");
}

TEST_F(ReadFailures, longScripts_showTheirFirst100Lines_andOnlyLongerOnesAreReported)
{
    const struct
    {
        const char *what;
        std::string bytes;
        QString message; // empty: no message
    } cases[] = {
        // Save Script writes a full grid this way: 100 lines and the closing empty one.
        {"100 lines as Save Script writes them", numberedLines(100) + "\r\n", QString()},
        {"10,000 lines", numberedLines(10000),
         QStringLiteral("long.txt holds more than the editor can: saving it will not keep 9900 lines after "
                        "line 100 (9900 of them commands).")},
    };
    start("alpha");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        game.write("mods/alpha/scripts/long.txt", c.bytes);
        DialogAnswerer answerer;
        window->model().relistScripts();
        open("long.txt");
        EXPECT_EQ(answerer.messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(describeRow(*window, 0), "One|1,-,-,-|-");
        EXPECT_EQ(describeRow(*window, 99), "One|100,-,-,-|-");
        EXPECT_EQ(window->model().scriptName(), "long.txt");
    }
}

TEST_F(ReadFailures, scriptOfBinaryNoise_opensOrIsRefused_andWhatOpensIsSavedToAFileThatOpensAgain)
{
    enum class Outcome { Opens, Refused, Either };
    const struct
    {
        const char *what;
        std::string alphabet; // empty: every byte value
        unsigned seed;
        Outcome expected;
    } cases[] = {
        // A CR, which ends a line, is one byte in 256 and a blank two: lines of some 256
        // bytes hold a few tokens, never 22.
        {"every byte value", "", 1u, Outcome::Opens},
        {"every byte value", "", 2u, Outcome::Opens},
        // Blanks between NUL and high bytes, without a line end: one line of many tokens.
        {"blanks, NUL and high bytes", std::string("  \t\0\x80\x9d\xff", 7), 3u, Outcome::Refused},
        // Short lines of many blanks, some of them quoted or commented out.
        {"line ends, quotes and comments", std::string("\r\n \t\"#\0\x81\xa0x", 10), 4u, Outcome::Either},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.what) + ", seed " + std::to_string(c.seed));
        std::mt19937 random(c.seed);
        std::string noise;
        for (int i = 0; i < 4096; ++i) {
            const auto value = random();
            noise +=
                c.alphabet.empty() ? static_cast<char>(value & 0xFF) : c.alphabet[value % c.alphabet.size()];
        }
        game.write("mods/alpha/scripts/noise.txt", noise);
        start("alpha");
        open("a.txt");
        const QStringList before = gridContent();

        DialogAnswerer answerer;
        open("noise.txt");
        const bool opened = window->model().scriptName() == "noise.txt";
        if (!opened) {
            EXPECT_NE(c.expected, Outcome::Opens);
            EXPECT_EQ(answerer.messages, QStringList{kRefusedLine});
            EXPECT_EQ(gridContent(), before);
            EXPECT_EQ(readBytes(scripts() / "noise.txt"), noise);
            continue;
        }
        EXPECT_NE(c.expected, Outcome::Refused);
        // Only a file that holds more than the grid has something to say when it opens.
        for (const QString &message : answerer.messages)
            EXPECT_TRUE(message.startsWith("noise.txt holds more than the editor can"))
                << message.toStdString();
        answerer.messages.clear();

        answerer.queueButton(QMessageBox::Yes); // drop what the grid cannot hold, if asked
        clickButton(find<QPushButton>(*window, "savesc"));
        EXPECT_TRUE(answerer.messages.isEmpty()) << answerer.messages.join(u'\n').toStdString();
        const std::string saved = readBytes(scripts() / "noise.txt");
        // Every CR of the written file ends a line, as the reader takes it.
        EXPECT_EQ(std::count(saved.begin(), saved.end(), '\r'), countOf(saved, "\r\n"));
        EXPECT_TRUE(saved.ends_with("\r\n"));
        const QStringList afterSave = gridContent();
        open("a.txt");
        open("noise.txt");
        EXPECT_TRUE(answerer.messages.isEmpty()) << answerer.messages.join(u'\n').toStdString();
        EXPECT_EQ(window->model().scriptName(), "noise.txt");
        EXPECT_EQ(gridContent(), afterSave);
    }
}

TEST(ReadFailuresAtStartUp, catalogueLineOf21TokensStarts_andTheSameLineWithOneMoreDoesNot)
{
    GameRootBuilder game;
    game.withBasics().withMod("alpha");
    // Eleven tokens make a command line; the tokenizer counts the ones after them too.
    std::string line = "Wide \"Twenty-one tokens\" 4 1 A 1 B 1 C 1 D";
    for (int i = 0; i < 10; ++i)
        line += " extra";
    game.write("commands.txt", "header\r\n" + line + "\r\n");
    {
        DialogAnswerer answerer;
        gui::Startup startup = gui::startUp(game.root());
        ASSERT_TRUE(startup.window);
        EXPECT_TRUE(answerer.messages.isEmpty());
        auto *combo = find<QComboBox>(*startup.window, "Combo_0");
        ASSERT_EQ(combo->count(), 2);
        EXPECT_EQ(combo->itemText(0), "Wide");
    }
    game.write("commands.txt", "header\r\n" + line + " extra\r\n");
    DialogAnswerer answerer;
    gui::Startup startup = gui::startUp(game.root());
    EXPECT_FALSE(startup.window);
    EXPECT_EQ(answerer.messages,
              QStringList{QString::fromLatin1(kTokenizerMessage.data(),
                                              static_cast<qsizetype>(kTokenizerMessage.size()))});
}

} // namespace
} // namespace cw::test
