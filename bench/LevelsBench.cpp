// Reading the levels of a mod the size of the game's (29 locations, their maps of a few
// hundred buildings and landscape lines, their missions of mounts, animations,
// buildings and objectives, sounds.txt of 300 events), and checking the 100 rows of the
// grid against them, the live check's work after each pause in the typing.
#include "LevelsBench.h"

#include "Measure.h"

#include "core/catalogue/Catalogue.h"
#include "core/check/Checker.h"
#include "core/io/Files.h"
#include "core/levels/Levels.h"
#include "core/script/ScriptDocument.h"
#include "core/strings/GameStrings.h"
#include "core/workspace/GameRoot.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace cw::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kLocations = 29;

void writeFile(const fs::path &path, const std::string &bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string mapOf(int location)
{
    std::string map = "Landscape_StartDefinition\r\n    worldSizeX 2000\r\n    worldSizeZ 2000\r\n"
                      "Landscape_EndDefinition\r\nLandscapeTiles_StartDefinition\r\n";
    for (int i = 0; i < 400; ++i)
        map += "    " + std::to_string(i * 7) + " 0 " + std::to_string(i * 5) +
               " 900 42 150.0 150.0 1 0.6 1\r\n";
    map += "LandscapeTiles_EndDefinition\r\nBuildings_StartDefinition\r\n";
    const char *types[] = {"Incubator", "SoulReceiver", "ControlTower", "TrunkPort", "Tree", "Laser"};
    for (int id = 0; id < 300; ++id)
        map += "    " + std::string(types[id % 6]) + " " + std::to_string(location * 1000 + id) +
               " 610.0 540.0 0 1.0 0.0 0\r\n";
    return map + "Buildings_EndDefinition\r\n";
}

std::string missionOf(int location)
{
    std::string mission = "CameraMounts_StartDefinition\r\n";
    for (int i = 0; i < 40; ++i)
        mission += "    mount_" + std::to_string(i) + " 400.0 420.0 300.0 0.6 -0.5 0.6 0 1 0\r\n";
    mission += "CameraMounts_EndDefinition\r\nCameraAnimations_StartDefinition\r\n";
    for (int a = 0; a < 5; ++a) {
        mission += "    anim_" + std::to_string(a) + "\r\n";
        for (int n = 0; n < 6; ++n)
            mission += "        Move mount_" + std::to_string(n * 3) + " 2.5\r\n";
        mission += "    End\r\n";
    }
    mission += "CameraAnimations_EndDefinition\r\nBuildings_StartDefinition\r\n";
    for (int id = 0; id < 100; ++id)
        mission += "    ScriptTrigger " + std::to_string(location * 1000 + 500 + id) +
                   " 820.0 600.0 0 80.0 0 0 trigger_" + std::to_string(id) + ".txt 40 0\r\n";
    mission += "Buildings_EndDefinition\r\nPrimaryObjectives_StartDefinition\r\n";
    for (int i = 0; i < 10; ++i)
        mission += "    BuildingOnline " + std::to_string(i) + " objective_" + std::to_string(i) + ".txt\r\n";
    return mission + "PrimaryObjectives_EndDefinition\r\n";
}

fs::path makeMod()
{
    fs::path mod = fs::temp_directory_path() / "cuewright-bench-levels" / "mods" / "m";
    fs::remove_all(mod.parent_path().parent_path());
    std::string game = "Locations_StartDefinition\r\n";
    for (int l = 0; l < kLocations; ++l) {
        const std::string name = "place" + std::to_string(l);
        game.append("    ").append(std::to_string(l)).append(" 1 map_").append(name);
        game.append(".txt mission_").append(name).append(".txt\r\n");
        writeFile(mod / "levels" / ("map_" + name + ".txt"), mapOf(l));
        writeFile(mod / "levels" / ("mission_" + name + ".txt"), missionOf(l));
    }
    writeFile(mod / "levels" / "game.txt", game + "Locations_EndDefinition\r\n");
    std::string sounds = "OTHER Music\r\n";
    for (int e = 0; e < 300; ++e)
        sounds += "    EVENT music_" + std::to_string(e) + "\r\n        SOUND s\r\n    END\r\n";
    writeFile(mod / "sounds.txt", sounds);
    return mod;
}

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

void levelsFigures(int runs)
{
    const fs::path mod = makeMod();
    runs = std::max(runs, 1);
    std::vector<double> reading;
    Levels levels;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        levels = Levels::load(mod, std::nullopt);
        reading.push_back(millisecondsSince(start));
    }
    std::size_t buildings = 0;
    for (std::size_t l = 0; l < levels.locations().size(); ++l) {
        for (const LevelFile *file : {levels.mapOf(l), levels.missionOf(l)})
            buildings += file ? file->buildings.size() : 0;
    }
    std::printf(
        "levels: %zu locations, %zu buildings, %zu music events read: %.1f ms median, the first %.1f ms "
        "(target: 50 ms)\n",
        levels.locations().size(), buildings, levels.musicEvents()->size(), median(reading), reading.front());

    // The grid's rows, most of them naming something of the levels, half of it wrong;
    // the script run by no level, so that every name is looked for in all 29 locations.
    const auto catalogue =
        loadCatalogueFile(fs::path(CUEWRIGHT_SOURCE_DIR) / "examples" / "gameroot" / "commands.txt");
    const char *lines[] = {"CamMove mount_3 2",   "CamCut mount_99",
                           "CamAnim anim_2",      "Highlight 1005",
                           "Highlight 777777",    "TriggerSound music_7",
                           "TriggerSound x",      "CamBuildingFocus 5 1 1",
                           "GiveResearch Lasers", "Wait 1"};
    std::string script;
    for (int i = 0; i < 100; ++i)
        script += std::string(lines[i % 10]) + "\r\n";
    if (!catalogue) {
        std::fprintf(stderr, "the example catalogue cannot be read\n");
        std::exit(1);
    }
    ScriptDocument document(*catalogue);
    if (!document.load(script)) {
        std::fprintf(stderr, "the benchmark's script cannot be read\n");
        std::exit(1);
    }
    const GameStrings strings;
    std::vector<double> plain, named;
    std::size_t found = 0;
    for (int i = 0; i < runs * 10; ++i) {
        auto start = std::chrono::steady_clock::now();
        check::checkDocument(document, strings);
        plain.push_back(millisecondsSince(start));
        start = std::chrono::steady_clock::now();
        found = check::checkDocument(document, strings, {&levels, "nothing_runs_this.txt"}).size();
        named.push_back(millisecondsSince(start));
    }
    std::printf("levels: live check of the grid (100 rows, %zu findings) with the levels: %.3f ms median, "
                "without them %.3f ms (target: 5 ms)\n",
                found, median(named), median(plain));
    std::printf("levels: median of %d runs (the check of %d)\n", runs, runs * 10);
    fs::remove_all(mod.parent_path().parent_path());
}

} // namespace cw::bench
