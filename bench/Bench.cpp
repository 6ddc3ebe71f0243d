// Cuewright's benchmark program. Prints one line per figure: the median of several
// runs, offscreen. Run it from the build tree:
//   build/bench/cuewright_bench [--runs N] [startup]
#include "Measure.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
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
    const std::string editor = (self.parent_path() / "src" / "cuewright").string();
    const std::string bare = (self / "bare_window").string();
    const std::string root = (fs::path(CUEWRIGHT_SOURCE_DIR) / "examples" / "gameroot").string();
    const std::vector<std::string> environment = {"QT_QPA_PLATFORM=offscreen", "CUEWRIGHT_STARTUP_PROBE=1"};

    std::vector<double> bareFrame, bareMemory, firstFrame, built, memory;
    for (int i = 0; i < options.runs; ++i) {
        // Alternate the two so that both see the same machine.
        const auto b = cw::bench::runProbed({bare}, environment);
        const auto e = cw::bench::runProbed({editor, "--root", root}, environment);
        if (b.exitStatus != 0 || e.exitStatus != 0 || !e.millisecondsTo.count("grid-built")) {
            std::fprintf(stderr, "a run failed (bare %d, editor %d)\n", b.exitStatus, e.exitStatus);
            std::exit(1);
        }
        bareFrame.push_back(b.millisecondsTo.at("first-frame"));
        bareMemory.push_back(b.peakMegabytes);
        firstFrame.push_back(e.millisecondsTo.at("first-frame"));
        built.push_back(e.millisecondsTo.at("grid-built"));
        memory.push_back(e.peakMegabytes);
    }
    const double bareMedian = median(bareFrame);
    const double frameMedian = median(firstFrame);
    std::printf("startup: bare Qt window, process start to first frame: %.1f ms (peak %.1f MB)\n", bareMedian,
                median(bareMemory));
    std::printf("startup: Form1, process start to first frame:          %.1f ms (%.2fx the bare window; target <= 2x)\n",
                frameMedian, frameMedian / bareMedian);
    std::printf("startup: Form1, process start to grid fully built:     %.1f ms (target <= 120 ms)\n", median(built));
    std::printf("startup: Form1, peak memory:                           %.1f MB (target < 60 MB)\n", median(memory));
    std::printf("startup: median of %d runs each\n", options.runs);
}

} // namespace

int main(int argc, char **argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            options.runs = std::atoi(argv[++i]);
        else
            options.what.push_back(arg);
    }
    if (options.what.empty())
        options.what = {"startup"};
    for (const std::string &what : options.what) {
        if (what == "startup") {
            startup(options);
        } else {
            std::fprintf(stderr, "unknown benchmark %s (startup)\n", what.c_str());
            return 2;
        }
    }
    return 0;
}
