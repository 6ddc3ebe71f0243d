// Cuewright's benchmark program. Prints one line per figure: the median of several
// runs, offscreen. Run it from the build tree:
//   build/bench/cuewright_bench [--runs N] [startup] [openmod] [check] [timeline] [bigscript]
#include "BigScript.h"
#include "CaptionBench.h"
#include "FindBench.h"
#include "LevelsBench.h"
#include "Measure.h"
#include "ToolScale.h"

#include "core/catalogue/Catalogue.h"
#include "core/check/Checker.h"
#include "core/io/Files.h"
#include "core/script/ScriptDocument.h"
#include "core/strings/GameStrings.h"
#include "core/timeline/Timeline.h"
#include "core/workspace/GameRoot.h"
#include "gui/app/Application.h"
#include "gui/app/MainWindow.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/StringsText.h"
#include "gui/model/WindowModel.h"
#include "gui/script/ScriptBrowser.h"
#include "gui/script/ScriptCheck.h"
#include "gui/script/ScriptFiles.h"
#include "gui/strings/StringsTextEdit.h"
#include "gui/timeline/TimelineView.h"
#include "gui/ui/FileListBox.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QUndoStack>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using cw::bench::median;

struct Options
{
    int runs = 15;
    std::vector<std::string> what;
};

void startup(const Options &options)
{
    const fs::path self = fs::read_symlink("/proc/self/exe").parent_path();
    const std::string editor = CUEWRIGHT_PROGRAM;
    const std::string bare = (self / "bare_window").string();
    const std::string root = (fs::path(CUEWRIGHT_SOURCE_DIR) / "examples" / "gameroot").string();
    const std::vector<std::string> environment = {"QT_QPA_PLATFORM=offscreen", "CUEWRIGHT_STARTUP_PROBE=1"};

    std::vector<double> bareFrame, bareMemory, textFrame, firstFrame, built, memory;
    for (int i = 0; i < options.runs; ++i) {
        // Alternate the three so that all see the same machine.
        const auto b = cw::bench::runProbed({bare}, environment);
        const auto t = cw::bench::runProbed({bare, "--text"}, environment);
        const auto e = cw::bench::runProbed({editor, "--root", root}, environment);
        if (b.exitStatus != 0 || t.exitStatus != 0 || e.exitStatus != 0 ||
            !e.millisecondsTo.count("grid-built")) {
            std::fprintf(stderr, "a run failed (bare %d, text %d, editor %d)\n", b.exitStatus, t.exitStatus,
                         e.exitStatus);
            std::exit(1);
        }
        bareFrame.push_back(b.millisecondsTo.at("first-frame"));
        textFrame.push_back(t.millisecondsTo.at("first-frame"));
        bareMemory.push_back(b.peakMegabytes);
        firstFrame.push_back(e.millisecondsTo.at("first-frame"));
        built.push_back(e.millisecondsTo.at("grid-built"));
        memory.push_back(e.peakMegabytes);
    }
    const double bareMedian = median(bareFrame);
    const double frameMedian = median(firstFrame);
    std::printf("startup: bare Qt window, process start to first frame: %.1f ms (peak %.1f MB)\n", bareMedian,
                median(bareMemory));
    const double textMedian = median(textFrame);
    std::printf("startup: bare window with a button, to first frame:    %.1f ms (%.2fx the bare window: the "
                "fonts read)\n",
                textMedian, textMedian / bareMedian);
    std::printf("startup: Form1, process start to first frame:          %.1f ms (%.2fx the bare window, "
                "%.2fx the one with a button; target <= 1.3x)\n",
                frameMedian, frameMedian / bareMedian, frameMedian / textMedian);
    std::printf("startup: Form1, process start to grid fully built:     %.1f ms (target <= 120 ms)\n",
                median(built));
    std::printf("startup: Form1, peak memory:                           %.1f MB (target < 60 MB)\n",
                median(memory));
    std::printf("startup: median of %d runs each\n", options.runs);
}

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void writeFile(const fs::path &path, const std::string &bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// A game root whose mod has a strings table of `keys` entries and a 200-line script
// that says some of them.
fs::path makeGameRoot(int keys)
{
    fs::path root = fs::temp_directory_path() / ("cuewright-bench-" + std::to_string(keys));
    fs::remove_all(root);
    writeFile(root / "darwinia.exe", "stand-in\r\n");
    fs::copy_file(fs::path(CUEWRIGHT_SOURCE_DIR) / "examples" / "gameroot" / "commands.txt",
                  root / "commands.txt");
    const fs::path mod = root / "mods" / "bench";
    std::string strings = "# generated for the benchmark\r\n";
    for (int i = 0; i < keys; ++i)
        strings += "cutscene_line_" + std::to_string(i) +
                   " Sepulveda says something about the garden, number " + std::to_string(i) + ".\r\n";
    writeFile(mod / "strings_default.txt", strings);
    std::string script;
    for (int i = 0; i < 200; ++i) {
        switch (i % 5) {
        case 0:
            script += "Say CUTSCENE_LINE_" + std::to_string(i % std::max(keys, 1)) + "\r\n";
            break;
        case 1:
            script += "WaitSay\r\n";
            break;
        case 2:
            script += "CamMove garden_overview 2.5\r\n";
            break;
        case 3:
            script += "# a comment about line " + std::to_string(i) + "\r\n";
            break;
        default:
            script += "CamBuildingFocus 12 300 150\r\n";
        }
    }
    writeFile(mod / "scripts" / "long.txt", script);
    // What Save Script writes: the first 100 lines, which read back without a notice.
    std::size_t end = 0;
    for (int line = 0; line < 100; ++line)
        end = script.find("\r\n", end) + 2;
    writeFile(mod / "scripts" / "save.txt", script.substr(0, end));
    for (const char *level : {"map_garden.txt", "mission_garden.txt"})
        writeFile(mod / "levels" / level, "x\r\n");
    return root;
}

// Processes events until the strings editor holds the document of the mod last
// opened, as it does by itself while the user looks for the page.
void waitForStringsDocument(cw::gui::StringsTextEdit &editor)
{
    while (!editor.strings().isLoaded())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Shows the Strings_Default page and lets it paint: the time a user waits for it.
double showStringsPage(cw::gui::MainWindow &window)
{
    const auto start = std::chrono::steady_clock::now();
    window.selectPage(3);
    QApplication::processEvents();
    return millisecondsSince(start);
}

// Closes the notice that a script holds more than the editor can, which would wait
// for a user, and remembers when it was shown: an opening's figure ends there.
class NoticeCloser : public QObject
{
public:
    NoticeCloser() { QApplication::instance()->installEventFilter(this); }
    ~NoticeCloser() override { QApplication::instance()->removeEventFilter(this); }
    NoticeCloser(const NoticeCloser &) = delete;
    NoticeCloser &operator=(const NoticeCloser &) = delete;

    std::optional<std::chrono::steady_clock::time_point> shownAt;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *box = qobject_cast<QMessageBox *>(watched)) {
                shownAt = std::chrono::steady_clock::now();
                QMetaObject::invokeMethod(box, "reject", Qt::QueuedConnection);
            }
        }
        return false;
    }
};

// The mod opened, then opened again: "openmod MS EXTRA_MB" per run, and "document MS MB"
// once, when the strings editor's document is ready after the first.
void measureOpenings(cw::gui::MainWindow &window, int runs)
{
    cw::gui::StringsTextEdit &strings = *window.controls().stringsText;
    const double before = cw::bench::residentMegabytes();
    auto start = std::chrono::steady_clock::now();
    window.controls().list1->setSelectedPosition(0); // opens the mod
    const double first = millisecondsSince(start);
    QApplication::processEvents();
    const double extra = cw::bench::peakResidentMegabytes() - before;
    std::printf("openmod %.3f %.3f\n", first, extra);
    // The strings editor's document is built off the GUI thread once the event loop
    // runs after the opening: when it is ready, and what the process holds then.
    waitForStringsDocument(strings);
    std::printf("document %.3f %.3f\n", millisecondsSince(start), cw::bench::residentMegabytes() - before);
    for (int i = 1; i < runs; ++i) {
        start = std::chrono::steady_clock::now();
        window.model().reopenMod(cw::gui::RefreshReason::UserOrFolderAction);
        std::printf("openmod %.3f %.3f\n", millisecondsSince(start), extra);
    }
}

// The first showing of the page after each opening of the mod: once the document is
// ready, as when the user goes to the page ("stringspage MS" per run); and right after
// the opening, when the showing has to wait for the build still under way
// ("stringspageatonce MS" per run).
void measureStringsPage(cw::gui::MainWindow &window, int runs)
{
    cw::gui::StringsTextEdit &strings = *window.controls().stringsText;
    for (int i = 0; i < runs; ++i) {
        window.selectPage(0);
        window.model().reopenMod(cw::gui::RefreshReason::UserOrFolderAction);
        waitForStringsDocument(strings);
        QApplication::processEvents();
        std::printf("stringspage %.3f\n", showStringsPage(window));
    }
    for (int i = 0; i < runs; ++i) {
        window.selectPage(0);
        window.model().reopenMod(cw::gui::RefreshReason::UserOrFolderAction);
        // The events a user's click on the tab would find waiting before it.
        QApplication::processEvents();
        std::printf("stringspageatonce %.3f\n", showStringsPage(window));
    }
}

// What the Scripts page does with the mod's scripts: "script MS", "save MS", "check MS"
// and "undo MS", each per run.
void measureScripts(cw::gui::MainWindow &window, int runs)
{
    window.selectPage(2);

    // Reading and showing; the notice that lines past the 100th cannot be kept
    // waits for the user and is not part of the figure.
    NoticeCloser notices;
    for (int i = 0; i < runs; ++i) {
        static_cast<void>(window.model().openScript(std::string())); // an empty grid: every row changes
        notices.shownAt.reset();
        const auto start = std::chrono::steady_clock::now();
        window.browser().open("long.txt");
        const auto end = notices.shownAt.value_or(std::chrono::steady_clock::now());
        std::printf("script %.3f\n", std::chrono::duration<double, std::milli>(end - start).count());
    }

    // Save Script: write the grid, open the mod again, read the file back.
    cw::gui::FileListBox *file1 = window.controls().file1;
    for (int i = 0; i < runs; ++i) {
        file1->setSelectedPosition(1); // save.txt
        window.browser().openSelected();
        const auto start = std::chrono::steady_clock::now();
        window.scriptFiles().saveScript();
        std::printf("save %.3f\n", millisecondsSince(start));
    }

    // Live checking: the whole grid checked and its markers set, the strings table's keys
    // made once before (as they are when the table changes).
    window.browser().open("long.txt");
    window.scriptCheck().checkNow();
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        window.scriptCheck().checkNow();
        std::printf("check %.3f\n", millisecondsSince(start));
    }

    // Undo of a line removal, the grid showing every row it changes.
    window.browser().open("long.txt");
    for (int i = 0; i < runs; ++i) {
        window.model().editor().removeLine(0);
        const auto start = std::chrono::steady_clock::now();
        window.model().editor().undoStack()->undo();
        std::printf("undo %.3f\n", millisecondsSince(start));
    }
}

// Runs in a process of its own per size, so that its peak memory is its own, and prints
// the figures of measureOpenings, measureStringsPage and measureScripts in that order.
int openModChild(int keys, int runs)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "cuewright_bench";
    char *argv[] = {name, nullptr};
    QApplication app(argc, argv);
    const fs::path root = makeGameRoot(keys);
    auto startup = cw::gui::startUp(root);
    if (!startup.window)
        return 1;
    cw::gui::MainWindow &window = *startup.window;
    window.show();
    QApplication::processEvents();
    measureOpenings(window, runs);
    measureStringsPage(window, runs);
    measureScripts(window, runs);
    fs::remove_all(root);
    return 0;
}

// What one openmod child printed, by figure, in the order printed.
struct OpenModFigures
{
    std::vector<double> open, extra, document, documentMemory, script, stringsPage, stringsPageAtOnce, save,
        undo, check;
};

// Runs the openmod child of `self` for `keys` and gathers its figures; a child that
// fails, or prints none of the figures every run must have, ends the benchmark.
OpenModFigures openModFigures(const fs::path &self, int keys, int runs)
{
    const std::string command =
        self.string() + " --child-openmod " + std::to_string(keys) + " " + std::to_string(runs);
    FILE *pipe = popen(command.c_str(), "r");
    OpenModFigures f;
    char line[256];
    while (pipe && std::fgets(line, sizeof line, pipe)) {
        std::istringstream in(line);
        std::string what;
        double ms = 0, mb = 0;
        in >> what >> ms >> mb;
        if (what == "openmod") {
            f.open.push_back(ms);
            f.extra.push_back(mb);
        } else if (what == "script") {
            f.script.push_back(ms);
        } else if (what == "document") {
            f.document.push_back(ms);
            f.documentMemory.push_back(mb);
        } else if (what == "stringspage") {
            f.stringsPage.push_back(ms);
        } else if (what == "stringspageatonce") {
            f.stringsPageAtOnce.push_back(ms);
        } else if (what == "save") {
            f.save.push_back(ms);
        } else if (what == "undo") {
            f.undo.push_back(ms);
        } else if (what == "check") {
            f.check.push_back(ms);
        }
    }
    if (!pipe || pclose(pipe) != 0 || f.open.empty() || f.document.empty() || f.stringsPage.empty() ||
        f.stringsPageAtOnce.empty()) {
        std::fprintf(stderr, "the openmod run for %d keys failed\n", keys);
        std::exit(1);
    }
    return f;
}

void openMod(const Options &options)
{
    const fs::path self = fs::read_symlink("/proc/self/exe");
    for (int keys : {100, 1000, 5000, 10000, 50000}) {
        const OpenModFigures f = openModFigures(self, keys, options.runs);
        std::printf("openmod: %5d keys: %.1f ms median, first open %.1f ms, %.1f MB extra peak memory%s\n",
                    keys, median(f.open), f.open.front(), f.extra.front(),
                    keys == 50000 ? " (target: 60 ms, 20 MB)" : "");
        std::printf(
            "openmod: %5d keys: strings document built off the GUI thread: ready %.1f ms after the open "
            "began, %.1f MB more resident memory than before the open\n",
            keys, f.document.front(), f.documentMemory.front());
        const char *pageTarget = keys == 50000 ? " (target: 50 ms)" : keys == 5000 ? " (target: 16 ms)" : "";
        std::printf(
            "openmod: %5d keys: first showing of the Strings_Default page afterwards, its document ready: "
            "%.1f ms median, the very first %.1f ms%s\n",
            keys, median(f.stringsPage), f.stringsPage.front(), pageTarget);
        std::printf("openmod: %5d keys: the same page shown right after the open, waiting for the build: "
                    "%.1f ms median\n",
                    keys, median(f.stringsPageAtOnce));
        if (keys == 50000) {
            std::printf("script: 200-line script loaded and shown: %.2f ms median (target: 10 ms)\n",
                        median(f.script));
            std::printf(
                "script: Save Script of 100 lines (write, open the mod again, read back): %.2f ms median\n",
                median(f.save));
            std::printf(
                "script: live check of the 100-row grid and its markers: %.2f ms median (target: 5 ms)\n",
                median(f.check));
            if (!f.undo.empty())
                std::printf("script: undo of a line removal: %.2f ms median (target: 16 ms)\n",
                            median(f.undo));
        }
    }
    std::printf("openmod: median of %d runs each\n", options.runs);
}

std::string exampleCatalogueBytes()
{
    return cw::readFile(fs::path(CUEWRIGHT_SOURCE_DIR) / "examples" / "gameroot" / "commands.txt").value();
}

// A game root for `cuewright check` at its limits: a 1 MB command name in commands.txt,
// and in the mod's scripts 16 MB of distinct unknown commands (typos of real names,
// each numbered), 16 MB of one unknown command, and a 1 MB word.
fs::path makeCheckRoot()
{
    fs::path root = fs::temp_directory_path() / "cuewright-bench-check";
    fs::remove_all(root);
    writeFile(root / "darwinia.exe", "stand-in\r\n");
    const std::string commands = exampleCatalogueBytes();
    const std::size_t megabyte = std::size_t{1} << 20;
    writeFile(root / "commands.txt", commands + std::string(megabyte, 'C') + " \"a long name\" 0\r\n");
    const fs::path scripts = root / "mods" / "m" / "scripts";
    const std::size_t limit = 16 * megabyte - 64;
    const char *typos[] = {"CamMov", "WaitSy",      "Hilight", "CamBuildingFocuss",
                           "Sey",    "TriggerSoun", "CamCutt"};
    std::string distinct;
    for (std::size_t i = 0;; ++i) {
        std::string line = typos[i % 7] + std::to_string(i) + " garden_gate 2.5\r\n";
        if (distinct.size() + line.size() > limit)
            break;
        distinct += line;
    }
    writeFile(scripts / "distinct.txt", distinct);
    std::string repeated;
    while (repeated.size() + 24 <= limit)
        repeated += "CamMov garden_gate 2.5\r\n";
    writeFile(scripts / "repeated.txt", repeated);
    writeFile(scripts / "word.txt", std::string(megabyte - 1, 'C') + "x\r\n");
    return root;
}

// 100 rows as a cutscene holds them, for the grid's live check.
std::string hundredRows()
{
    const char *lines[] = {
        "Say cutscene_line_1",         "WaitSay", "CamMove garden_overview 2.5", "# a comment",
        "CamBuildingFocus 12 300 150", "Wait",    "Sey cutscene_line_2",         "Say missing_key"};
    std::string script;
    for (int i = 0; i < 100; ++i)
        script += std::string(lines[i % 8]) + "\r\n";
    return script;
}

void check(const Options &options)
{
    const fs::path root = makeCheckRoot();
    const int runs = std::min(options.runs, 5);
    const std::pair<const char *, const char *> cases[] = {
        {"distinct.txt", "16 MB of distinct unknown commands"},
        {"repeated.txt", "16 MB of one unknown command"},
        {"word.txt", "a 1 MB word, a 1 MB command name in commands.txt"},
    };
    for (const auto &[script, what] : cases) {
        // The whole run, output included (to /dev/null). The child's peak memory is left
        // out: spawned from this process, it counts this process's own.
        std::vector<double> time;
        for (int i = 0; i < runs; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const auto run = cw::bench::runProbed(
                {CUEWRIGHT_PROGRAM, "check", "--root", root.string(), "m", script}, {}, "/dev/null");
            time.push_back(millisecondsSince(start));
            if (run.exitStatus != 0) {
                std::fprintf(stderr, "check of %s ended with %d\n", script, run.exitStatus);
                std::exit(1);
            }
        }
        std::printf("check: %s: %.0f ms median (target: under 2 s)\n", what, median(time));
    }
    fs::remove_all(root);

    // The grid's live check: the strings as the game loads them made once (as when a mod
    // opens), then the 100 rows checked at each pause in the typing.
    const cw::Catalogue catalogue = std::move(cw::loadCatalogue(exampleCatalogueBytes())).value();
    std::string base, mod;
    for (int i = 0; i < 2400; ++i)
        base += "game_line_" + std::to_string(i) + " Sepulveda says something about the garden.\r\n";
    for (int i = 0; i < 50000; ++i)
        mod += "cutscene_line_" + std::to_string(i) + " Sepulveda says something, number " +
               std::to_string(i) + ".\r\n";
    std::vector<double> build, live;
    std::shared_ptr<const cw::GameStrings> strings;
    for (int i = 0; i < options.runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        strings = std::make_shared<const cw::GameStrings>(cw::GamePreferences{}, base, mod);
        build.push_back(millisecondsSince(start));
    }
    cw::ScriptDocument document(catalogue);
    if (!document.load(hundredRows())) {
        std::fprintf(stderr, "the 100 rows did not load\n");
        std::exit(1);
    }
    std::size_t found = 0;
    for (int i = 0; i < options.runs * 10; ++i) {
        const auto start = std::chrono::steady_clock::now();
        found = cw::check::checkDocument(document, *strings).size();
        live.push_back(millisecondsSince(start));
    }
    std::printf(
        "check: strings as the game loads them, 2,400 keys and 50,000 on top: made in %.2f ms median\n",
        median(build));
    std::printf("check: live check of the grid (checkDocument, 100 rows, %zu findings): %.3f ms median "
                "(target: 5 ms)\n",
                found, median(live));
}

// The timeline of a full grid, as the window makes it after each edit: the 100 rows as
// Save would write them, timed with the strings the game would show (1,000 keys), and
// the view shown again for it.
void timelineFigures(const Options &options)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "cuewright_bench";
    char *argv[] = {name, nullptr};
    QApplication app(argc, argv);
    const auto catalogue =
        cw::loadCatalogueFile(fs::path(CUEWRIGHT_SOURCE_DIR) / "examples" / "gameroot" / "commands.txt");
    if (!catalogue) {
        std::fprintf(stderr, "the example catalogue cannot be read\n");
        std::exit(1);
    }
    std::string table;
    for (int i = 0; i < 1000; ++i)
        table += "line_" + std::to_string(i) + " Sepulveda says something about the garden, number " +
                 std::to_string(i) + ".\r\n";
    const cw::GameStrings strings(cw::GamePreferences{}, std::nullopt, table);
    const char *pattern[] = {"Say line_%d",
                             "CamMove garden_overview 2.5",
                             "WaitSay",
                             "Wait 1.5",
                             "CamBuildingFocus 12 300 150",
                             "WaitCam",
                             "Highlight 4",
                             "# a comment"};
    std::string script;
    for (int i = 0; i < 100; ++i) {
        char line[64];
        std::snprintf(line, sizeof line, pattern[i % 8], i * 7);
        script += std::string(line) + "\r\n";
    }
    cw::ScriptDocument document(*catalogue);
    if (!document.load(script)) {
        std::fprintf(stderr, "the benchmark's script cannot be read\n");
        std::exit(1);
    }
    cw::gui::TimelineView view;
    view.resize(900, 300);
    view.show();
    QApplication::processEvents();
    const cw::timeline::Setting setting{&strings, nullptr, cw::timeline::Start::FromScript, {}};
    const cw::timeline::Timeline once =
        cw::timeline::computeTimeline(cw::timeline::linesOfDocument(document), setting);
    std::vector<double> model, shown;
    const int runs = std::max(options.runs, 1) * 20;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        cw::timeline::Timeline timeline =
            cw::timeline::computeTimeline(cw::timeline::linesOfDocument(document), setting);
        model.push_back(millisecondsSince(start));
        const auto showing = std::chrono::steady_clock::now();
        view.setTimeline(std::move(timeline), QStringLiteral("bench.txt"));
        view.repaint();
        shown.push_back(millisecondsSince(showing));
    }
    std::printf("timeline: 100-row grid timed (its lines as Save writes them, then the model; %zu lines, "
                "%.1f s): %.3f ms median (target: 2 ms)\n",
                once.entries.size(), once.total ? once.total->earliest() : -1, median(model));
    std::printf("timeline: the view laid out and painted again for it: %.2f ms median\n", median(shown));
    std::printf("timeline: median of %d runs each\n", runs);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::string(argv[1]) == "--child-openmod")
        return openModChild(std::atoi(argv[2]), std::atoi(argv[3]));
    if (argc == 2 && std::string(argv[1]) == "--child-bigscript")
        return cw::bench::bigScriptChild();
    if (argc >= 4 && std::string(argv[1]) == "--child-peak")
        return cw::bench::toolScaleChild(argc, argv);
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            options.runs = std::atoi(argv[++i]);
        else
            options.what.push_back(arg);
    }
    if (options.what.empty())
        options.what = {"startup", "openmod", "check", "timeline"};
    for (const std::string &what : options.what) {
        if (what == "startup") {
            startup(options);
        } else if (what == "openmod") {
            openMod(options);
        } else if (what == "check") {
            check(options);
        } else if (what == "timeline") {
            timelineFigures(options);
        } else if (what == "bigscript") {
            cw::bench::bigScript(options.runs);
        } else if (what == "levels") {
            cw::bench::levelsFigures(options.runs);
        } else if (what == "find") {
            cw::bench::findFigures(options.runs);
        } else if (what == "caption") {
            cw::bench::captionFigures(options.runs);
            cw::bench::captionPreviewFigures(options.runs);
        } else if (what == "toolscale") {
            cw::bench::toolScale(options.runs);
        } else {
            std::fprintf(stderr,
                         "unknown benchmark %s (startup, openmod, check, timeline, bigscript, toolscale, "
                         "levels, find, caption)\n",
                         what.c_str());
            return 2;
        }
    }
    return 0;
}
