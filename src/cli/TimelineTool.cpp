#include "cli/TimelineTool.h"

#include "cli/Arguments.h"
#include "cli/Json.h"
#include "core/io/Files.h"
#include "core/levels/Levels.h"
#include "core/strings/GameStrings.h"
#include "core/text/Codepage.h"
#include "core/timeline/Timeline.h"

#include <algorithm>
#include <optional>
#include <ostream>

namespace cw::cli {
namespace {

using timeline::Entry;
using timeline::Moment;
using timeline::Pause;

std::optional<double> earliestOf(const std::optional<Moment> &moment)
{
    return moment ? std::optional<double>(timeline::roundedToMilliseconds(moment->earliest())) : std::nullopt;
}

// Empty for a moment that never comes or has no upper bound.
std::optional<double> latestOf(const std::optional<Moment> &moment)
{
    const std::optional<double> latest = moment ? moment->latest() : std::nullopt;
    return latest ? std::optional<double>(timeline::roundedToMilliseconds(*latest)) : std::nullopt;
}

std::string shownSpan(const timeline::Span &span)
{
    return timeline::momentText(span.begin) + " until " + timeline::momentText(span.end);
}

// What the line holds the script for, in words.
std::string pauseText(const Entry &entry)
{
    const std::string until =
        entry.resume ? " until " + timeline::momentText(*entry.resume) : ": never goes on";
    switch (entry.pause) {
    case Pause::None:
        return "";
    case Pause::Time:
        return "waits" + until;
    case Pause::Captions:
        return "waits for Sepulveda to finish" + until;
    case Pause::Camera:
        return "waits for the camera" + until;
    case Pause::Fade:
        return "waits for the fade" + until;
    case Pause::Location:
        return "waits for the location to load" + until;
    case Pause::Rocket:
        return "waits for the rocket" + until;
    case Pause::Player:
        return "waits for the player to be idle" + until;
    case Pause::Credits:
        return "waits for the credits to end" + until;
    case Pause::Hang:
        return "never goes on: the caption holds a \"[\" that is never closed, where the game hangs";
    case Pause::Stops:
        return "the game stops with an error here";
    }
    return "";
}

std::string cameraText(const Entry &entry)
{
    if (!entry.cameraSpan)
        return "";
    switch (entry.camera) {
    case timeline::CameraMove::None:
        return "";
    case timeline::CameraMove::Glide:
        return "camera " + shownSpan(*entry.cameraSpan);
    case timeline::CameraMove::Cut:
        return "camera cut at " + timeline::momentText(entry.cameraSpan->begin);
    case timeline::CameraMove::Animation:
        return "camera animation " + shownSpan(*entry.cameraSpan);
    }
    return "";
}

std::string captionText(const Entry &entry)
{
    if (!entry.caption)
        return "";
    std::string text = "caption " + shownSpan(*entry.caption);
    if (entry.captionModes == timeline::kEitherMode)
        text += " (the camera's mode not known)";
    return text;
}

void printPlain(const Entry &entry, std::size_t width, std::ostream &out)
{
    const std::string number = std::to_string(entry.line);
    std::string line = std::string(width > number.size() ? width - number.size() : 0, ' ') + number + "  ";
    line += timeline::momentText(entry.start);
    line += "  " + escapeControls(cp1252::toUtf8(entry.command));
    if (entry.start) {
        for (const std::string &what : {pauseText(entry), cameraText(entry), captionText(entry)}) {
            if (!what.empty())
                line += "  " + what;
        }
        if (!entry.note.empty())
            line += "  (" + entry.note + ")";
    }
    out << line << "\n";
}

// A moment as its earliest value, with its bounds beside it when it is not one value.
void momentFields(json::Object &object, const std::string &name, const std::optional<Moment> &moment)
{
    object.field(name, earliestOf(moment));
    if (moment && !moment->exact())
        object.field(name + "_earliest", earliestOf(moment)).field(name + "_latest", latestOf(moment));
}

void spanFields(json::Object &object, const std::string &name, const std::optional<timeline::Span> &span)
{
    if (!span)
        return;
    object.field(name, std::vector{earliestOf(span->begin), earliestOf(span->end)});
    if (!span->exact())
        object.field(name + "_latest", std::vector{latestOf(span->begin), latestOf(span->end)});
}

void printJson(const Entry &entry, std::ostream &out)
{
    json::Object object;
    object.field("line", entry.line).field("command", cp1252::toUtf8(entry.command));
    momentFields(object, "start", entry.start);
    momentFields(object, "resume", entry.resume);
    object.field("exact", entry.exact());
    spanFields(object, "caption", entry.caption);
    spanFields(object, "camera", entry.cameraSpan);
    if (!entry.note.empty())
        object.field("note", entry.note);
    out << object.str() << "\n";
}

std::optional<timeline::Start> startOf(const std::string *value)
{
    if (!value)
        return timeline::Start::FromScript;
    if (*value == "location")
        return timeline::Start::Location;
    if (*value == "world-map")
        return timeline::Start::WorldMap;
    return std::nullopt;
}

} // namespace

int runTimeline(const std::vector<std::string> &args, const Whereabouts &where, std::ostream &out,
                std::ostream &err)
{
    const Arguments parsed = parseWithLocation(args, {"--start"}, {"--json"});
    if (!parsed.problem.empty())
        return usageError(err, "timeline", parsed.problem);
    if (parsed.has("--help"))
        return toolHelp(out, "timeline");
    if (parsed.positional.size() != 2)
        return usageError(err, "timeline", "expects MOD and SCRIPT");
    const std::optional<timeline::Start> start = startOf(parsed.value("--start"));
    if (!start)
        return usageError(err, "timeline", "--start takes location or world-map");
    // The timeline needs no catalogue: the game matches the commands it times by name.
    const std::optional<GameLocation> location = toolLocation(parsed, where);
    if (!location) {
        err << "cuewright timeline: " << noLocationMessage(where) << "\n";
        return kExitUnusable;
    }
    auto modFolder = modFolderOf(location->folder, parsed.positional[0]);
    if (!modFolder) {
        err << "cuewright timeline: " << modFolder.error() << "\n";
        return kExitUnusable;
    }
    auto script = scriptOf(*modFolder, parsed.positional[1]);
    if (!script) {
        err << "cuewright timeline: " << script.error() << "\n";
        return kExitUnusable;
    }
    auto bytes = readFile(*script);
    if (!bytes) {
        err << "cuewright timeline: cannot read " << shownError(bytes.error()) << "\n";
        return kExitUnusable;
    }
    const GameStrings strings = GameStrings::load(location->folder, location->game, *modFolder);
    const Levels levels = Levels::load(*modFolder, location->game);
    const timeline::ScriptLines lines = timeline::linesOfFile(*bytes);
    // Lines go out as they are timed: a large script's timeline is never held whole.
    const bool json = parsed.has("--json");
    int lastLine = 1;
    if (!json)
        lines([&lastLine](const timeline::ScriptLine &line) { lastLine = line.number; });
    const std::size_t width = std::to_string(lastLine).size();
    const timeline::Summary summary =
        timeline::timeLines(lines, {&strings, &levels, *start}, [&](Entry &&entry) {
            if (json)
                printJson(entry, out);
            else
                printPlain(entry, width, out);
        });
    const char *place = summary.startsOnWorldMap ? "world-map" : "location";
    if (json) {
        json::Object object;
        momentFields(object, "total", summary.total);
        out << object.field("exact", summary.exact).field("start_place", place).str() << "\n";
    } else {
        out << "total " << timeline::momentText(summary.total) << "  (starting "
            << (summary.startsOnWorldMap ? "on the world map" : "in a location") << ")\n";
    }
    return kExitOk;
}

} // namespace cw::cli
