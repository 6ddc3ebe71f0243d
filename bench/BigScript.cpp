// The window on a script of 16 MB, the largest it opens: the memory of opening it, of
// ten line inserts and an undo, and of pasting a 5 MB line, above the window's own.
// Heap figures are the bytes glibc's allocator has handed out (mallinfo2), which a
// freed block leaves at once; resident figures include what the allocator keeps.
#include "BigScript.h"

#include "Measure.h"

#include "gui/app/Application.h"
#include "gui/app/MainWindow.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/WindowModel.h"
#include "gui/script/ScriptBrowser.h"
#include "gui/ui/FileListBox.h"

#include <QApplication>
#include <QClipboard>
#include <QUndoStack>

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace cw::bench {
namespace {

namespace fs = std::filesystem;

double heapMegabytes()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

void writeFile(const fs::path &path, const std::string &bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// 80 lines of a command with four arguments of some 50 KB each, just under 16 MB: room
// below for the inserts and the paste.
std::string bigScript()
{
    std::string script;
    for (int line = 0; line < 80; ++line) {
        script += "CamBuildingApproach";
        for (int k = 0; k < 4; ++k)
            script += ' ' + std::string(52'400, static_cast<char>('a' + (line + k) % 26));
        script += "\r\n";
    }
    return script;
}

// How long the pasted line is after its "# ".
constexpr std::size_t kPastedBytes = std::size_t{5} * 1024 * 1024;

// A game root whose mod "big" holds `script` as big.txt.
fs::path makeRoot(const std::string &script)
{
    fs::path root = fs::temp_directory_path() / "cuewright-bench-bigscript";
    fs::remove_all(root);
    writeFile(root / "darwinia.exe", "stand-in\r\n");
    fs::copy_file(fs::path(CUEWRIGHT_SOURCE_DIR) / "examples" / "gameroot" / "commands.txt",
                  root / "commands.txt");
    writeFile(root / "mods" / "big" / "scripts" / "big.txt", script);
    writeFile(root / "mods" / "big" / "strings_default.txt", "KEY text\r\n");
    return root;
}

} // namespace

int bigScriptChild()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "cuewright_bench";
    char *argv[] = {name, nullptr};
    QApplication app(argc, argv);
    const std::string script = bigScript();
    const fs::path root = makeRoot(script);
    auto startup = gui::startUp(root);
    if (!startup.window)
        return 1;
    gui::MainWindow &window = *startup.window;
    window.show();
    window.selectPage(2);
    window.controls().list1->setSelectedPosition(0);
    QApplication::processEvents();
    const double size = static_cast<double>(script.size()) / (1024.0 * 1024.0);
    const double baseResident = residentMegabytes();
    const double baseHeap = heapMegabytes();

    const auto start = std::chrono::steady_clock::now();
    window.controls().file1->setSelectedPosition(0);
    window.browser().openSelected();
    QApplication::processEvents();
    const double openMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const double openPeak = peakResidentMegabytes() - baseResident;
    const double opened = heapMegabytes();
    std::printf("open %.3f %.3f %.3f %.3f\n", size, openMs, openPeak, opened - baseHeap);

    // Ten inserts at the top push every line down. What the undo history keeps of them
    // is measured by emptying it afterwards; the heap also grows by the grid's showing
    // one more row of long texts with each insert.
    double before = heapMegabytes();
    for (int i = 0; i < 10; ++i)
        window.model().editor().insertLine(0);
    QApplication::processEvents();
    const double grown = (heapMegabytes() - before) * 1024.0 / 10.0;
    before = heapMegabytes();
    window.model().editor().undoStack()->undo();
    QApplication::processEvents();
    const double undone = (heapMegabytes() - before) * 1024.0;
    before = heapMegabytes();
    window.model().editor().undoStack()->clear();
    std::printf("inserts %.3f %.3f %.3f\n", (before - heapMegabytes()) * 1024.0 / 9.0, grown, undone);

    // A 5 MB line pasted before row 0: the history keeps that line and what moved.
    before = heapMegabytes();
    QGuiApplication::clipboard()->setText(QStringLiteral("# ") +
                                          QString(static_cast<qsizetype>(kPastedBytes), u'p'));
    const double clipboard = heapMegabytes() - before;
    before = heapMegabytes();
    window.model().editor().pasteLines(0, "# " + std::string(kPastedBytes, 'p') + "\r\n");
    QApplication::processEvents();
    std::printf("paste %.3f %.3f\n", heapMegabytes() - before, clipboard);
    std::printf("peak %.3f\n", peakResidentMegabytes() - baseResident);
    fs::remove_all(root);
    return 0;
}

void bigScript(int)
{
    const fs::path self = fs::read_symlink("/proc/self/exe");
    FILE *pipe = popen((self.string() + " --child-bigscript").c_str(), "r");
    char line[256];
    while (pipe && std::fgets(line, sizeof line, pipe)) {
        double a = 0, b = 0, c = 0, d = 0;
        if (std::sscanf(line, "open %lf %lf %lf %lf", &a, &b, &c, &d) == 4) {
            std::printf(
                "bigscript: %.1f MB script opened in %.0f ms: peak resident %.1f MB above the window's "
                "(%.2fx the script; target <= 4x), heap held afterwards %.1f MB\n",
                a, b, c, c / a, d);
        } else if (std::sscanf(line, "inserts %lf %lf %lf", &a, &b, &c) == 3) {
            std::printf("bigscript: each of ten line inserts adds %.1f KB to the undo history (target: a "
                        "small constant); the heap grows %.1f KB an insert, the grid showing one more row "
                        "of long texts; an undo: %+.1f KB\n",
                        a, b, c);
        } else if (std::sscanf(line, "paste %lf %lf", &a, &b) == 2) {
            std::printf("bigscript: a 5 MB line pasted: %.1f MB more on the heap (the line, the grid's "
                        "copies and the undo step)\n",
                        a);
        } else if (std::sscanf(line, "peak %lf", &a) == 1) {
            std::printf("bigscript: peak resident over the whole run: %.1f MB above the window's\n", a);
        }
    }
    if (!pipe || pclose(pipe) != 0) {
        std::fprintf(stderr, "the bigscript run failed\n");
        std::exit(1);
    }
}

} // namespace cw::bench
