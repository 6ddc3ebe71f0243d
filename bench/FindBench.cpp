// A mod far larger than any shipped one: 5,000 scripts of 40 lines and a strings table
// of 50,000 keys, searched for a camera mount, a word that is everywhere, and a text
// that is nowhere. The files are read once before timing, so they are in the disk cache.
#include "FindBench.h"

#include "Measure.h"

#include "core/find/ModFind.h"
#include "core/io/Files.h"
#include "core/io/ModBoundary.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace cw::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kScripts = 5000;
constexpr int kKeys = 50000;

void writeFile(const fs::path &path, const std::string &bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

fs::path makeMod()
{
    fs::path mod = fs::temp_directory_path() / "cuewright-bench-find" / "mods" / "m";
    if (fs::exists(mod / "strings_default.txt"))
        return mod;
    for (int s = 0; s < kScripts; ++s) {
        std::string script = "# scene " + std::to_string(s) + "\r\nSetCutsceneMode 1\r\n";
        for (int line = 0; line < 19; ++line)
            script += "CamMove mount_" + std::to_string((s + line) % 40) + " 3.0\r\nSay scene_" +
                      std::to_string(s) + "_" + std::to_string(line) + "\r\n";
        writeFile(mod / "scripts" / ("scene_" + std::to_string(s) + ".txt"), script);
    }
    std::string table;
    for (int k = 0; k < kKeys; ++k)
        table += "scene_" + std::to_string(k) + " Sepulveda says line " + std::to_string(k) +
                 " of the garden, slowly.\r\n";
    writeFile(mod / "strings_default.txt", table);
    return mod;
}

// Lines matched; every file read and searched.
std::size_t findAll(const fs::path &mod, const char *text)
{
    const ModBoundary boundary(mod);
    std::size_t lines = 0;
    for (const fs::path &file : find::searchedFiles(mod)) {
        if (auto bytes = readFile(file, boundary))
            lines += find::findInFile(file, *bytes, text, {}).size();
    }
    return lines;
}

} // namespace

void findFigures(int runs)
{
    const fs::path mod = makeMod();
    static_cast<void>(findAll(mod, "warm the disk cache"));
    for (const char *text : {"mount_7", "garden", "nowhere at all"}) {
        std::vector<double> times;
        std::size_t lines = 0;
        for (int run = 0; run < std::max(runs, 3); ++run) {
            const auto start = std::chrono::steady_clock::now();
            lines = findAll(mod, text);
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::printf("find: \"%s\" in %d scripts and %d keys: %zu lines, %.1f ms median (target <= 200 ms)\n",
                    text, kScripts, kKeys, lines, median(times));
    }
}

} // namespace cw::bench
