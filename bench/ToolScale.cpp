// The command-line tools on 16 MB scripts of the kinds that cost them most: a glide and a
// wait past the frame clock, one-letter lines (millions of timeline lines and findings),
// short Say lines and empty lines. A process started by posix_spawn shares its parent's
// memory until it runs the program, and the kernel counts that memory's peak in the
// child's: so each tool is started from a small child of this program, which reports
// the tool's time and peak and its own peak, the floor of the figure.
#include "ToolScale.h"

#include "Measure.h"

#include <sys/resource.h>
#include <sys/wait.h>

#include <fcntl.h>
#include <spawn.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char **environ;

namespace cw::bench {
namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path &path, const std::string &bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

// 16 MB of `lines`, repeated, whole lines only.
std::string sixteenMegabytesOf(const std::vector<std::string> &lines)
{
    const std::size_t limit = (std::size_t{16} << 20) - 64;
    std::string text;
    text.reserve(limit);
    for (std::size_t i = 0;; ++i) {
        const std::string &line = lines[i % lines.size()];
        if (text.size() + line.size() > limit)
            return text;
        text += line;
    }
}

struct Case
{
    const char *file;
    std::vector<std::string> lines;
    const char *what;
};

const std::vector<Case> &cases()
{
    static const std::vector<Case> all = {
        {"glide.txt",
         {"CamMove m 1e30\r\n", "Wait 1e30\r\n", "WaitCam\r\n"},
         "CamMove m 1e30 / Wait 1e30 / WaitCam"},
        {"letters.txt", {"W\n"}, "W lines (LF)"},
        {"say.txt", {"Say a\n"}, "Say a lines (LF)"},
        {"empty.txt", {"\n"}, "empty lines (LF)"},
    };
    return all;
}

struct Figures
{
    double milliseconds = 0;
    double peakMegabytes = 0;
    double floorMegabytes = 0;
};

Figures measured(const fs::path &self, const std::vector<std::string> &tool)
{
    std::vector<std::string> command = {self.string(), "--child-peak", "/dev/null"};
    command.insert(command.end(), tool.begin(), tool.end());
    const fs::path report = fs::temp_directory_path() / "cuewright-bench-peak.txt";
    const ProcessRun run = runProbed(command, {}, report.string().c_str());
    std::ifstream in(report);
    Figures f;
    int status = -1;
    if (run.exitStatus != 0 || !(in >> f.milliseconds >> f.peakMegabytes >> f.floorMegabytes >> status) ||
        status > 1) {
        std::fprintf(stderr, "%s %s ended with %d\n", tool[0].c_str(), tool[1].c_str(), status);
        std::exit(1);
    }
    return f;
}

} // namespace

int toolScaleChild(int argc, char **argv)
{
    if (argc < 4)
        return 2;
    std::vector<char *> args(argv + 3, argv + argc);
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const double floor = peakResidentMegabytes();
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0)
        return 3;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const double milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.1f %.1f %.1f %d\n", milliseconds, static_cast<double>(usage.ru_maxrss) / 1024.0, floor,
                WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    return 0;
}

void toolScale(int runs)
{
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const fs::path root = fs::temp_directory_path() / "cuewright-bench-scale";
    fs::remove_all(root);
    writeFile(root / "darwinia.exe", "stand-in\r\n");
    fs::copy_file(fs::path(CUEWRIGHT_SOURCE_DIR) / "examples" / "gameroot" / "commands.txt",
                  root / "commands.txt");
    for (const Case &c : cases())
        writeFile(root / "mods" / "m" / "scripts" / c.file, sixteenMegabytesOf(c.lines));

    const double size = 16.0;
    runs = std::max(1, std::min(runs, 5));
    const auto report = [&](const char *tool, const char *what, const std::vector<std::string> &command) {
        std::vector<double> time, peak;
        double floor = 0;
        for (int i = 0; i < runs; ++i) {
            const Figures f = measured(self, command);
            time.push_back(f.milliseconds);
            peak.push_back(f.peakMegabytes);
            floor = f.floorMegabytes;
        }
        std::printf("toolscale: %-15s %-40s %6.0f ms median, peak %5.1f MB (%.1f times the file; "
                    "the measuring child itself: %.1f MB) (targets: 1 s, 8 times)\n",
                    tool, what, median(time), median(peak), median(peak) / size, floor);
    };
    const std::string program = CUEWRIGHT_PROGRAM;
    for (const Case &c : cases()) {
        report("timeline", c.what, {program, "timeline", "--root", root.string(), "m", c.file});
        report("timeline --json", c.what,
               {program, "timeline", "--root", root.string(), "--json", "m", c.file});
    }
    for (const Case &c : cases())
        report("check", c.what, {program, "check", "--root", root.string(), "m", c.file});
    std::printf("toolscale: median of %d runs each, 16 MB scripts\n", runs);
    fs::remove_all(root);
}

} // namespace cw::bench
