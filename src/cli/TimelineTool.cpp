#include "cli/TimelineTool.h"

#include "cli/Arguments.h"
#include "cli/Json.h"
#include "core/io/Files.h"
#include "core/levels/Levels.h"
#include "core/strings/GameStrings.h"
#include "core/text/Codepage.h"
#include "core/timeline/Timeline.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <ostream>

namespace cw::cli {
namespace {

using timeline::Entry;
using timeline::Moment;
using timeline::Pause;

std::optional<long long> earliestOf(const std::optional<Moment> &moment)
{
    return moment ? std::optional<long long>(moment->earliestMilliseconds()) : std::nullopt;
}

// Empty for a moment that never comes or has no upper bound.
std::optional<long long> latestOf(const std::optional<Moment> &moment)
{
    const auto latest = moment ? moment->latestMilliseconds() : std::nullopt;
    return latest ? std::optional<long long>(*latest) : std::nullopt;
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

bool isPrintableAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; });
}

void printPlain(const Entry &entry, std::size_t width, std::string &out)
{
    char number[16];
    const char *end = std::to_chars(number, number + sizeof number, entry.line).ptr;
    const auto digits = static_cast<std::size_t>(end - number);
    std::string &line = out;
    line.append(width > digits ? width - digits : 0, ' ');
    line.append(number, digits);
    line += "  ";
    timeline::appendMomentText(line, entry.start);
    line += "  ";
    // Most commands are plain words, already UTF-8 and free of controls.
    if (isPrintableAscii(entry.command))
        line += entry.command;
    else
        line += escapeControls(cp1252::toUtf8(entry.command));
    if (entry.start) {
        for (const std::string &what : {pauseText(entry), cameraText(entry), captionText(entry)}) {
            if (!what.empty())
                line += "  " + what;
        }
        if (!entry.note.empty())
            line += "  (" + entry.note + ")";
    }
    line += '\n';
}

// A moment as its earliest value, with its bounds beside it when it is not one value.
void momentFields(json::Object &object, std::string_view name, const std::optional<Moment> &moment)
{
    object.thousandths(name, earliestOf(moment));
    if (moment && !moment->exact()) {
        const std::string prefix(name);
        object.thousandths(prefix + "_earliest", earliestOf(moment))
            .thousandths(prefix + "_latest", latestOf(moment));
    }
}

void spanFields(json::Object &object, std::string_view name, const std::optional<timeline::Span> &span)
{
    if (!span)
        return;
    object.thousandths(name, {earliestOf(span->begin), earliestOf(span->end)});
    if (!span->exact())
        object.thousandths(std::string(name) + "_latest", {latestOf(span->begin), latestOf(span->end)});
}

void printJson(const Entry &entry, std::string &out)
{
    json::Object object(out);
    object.field("line", entry.line).field("command", cp1252::toUtf8(entry.command));
    momentFields(object, "start", entry.start);
    momentFields(object, "resume", entry.resume);
    object.field("exact", entry.exact());
    spanFields(object, "caption", entry.caption);
    spanFields(object, "camera", entry.cameraSpan);
    if (!entry.note.empty())
        object.field("note", entry.note);
    object.endLine();
}

// Lines go out as they are timed: a large script's timeline is never held whole.
void printTimeline(const timeline::ScriptLines &lines, const timeline::Setting &setting, bool json,
                   std::ostream &out)
{
    int lastLine = 1;
    if (!json)
        lines([&lastLine](const timeline::ScriptLine &line) { lastLine = line.number; });
    const std::size_t width = std::to_string(lastLine).size();
    // A timeline can run to millions of lines: they leave in blocks, not one by one.
    constexpr std::size_t kBlock = std::size_t{1} << 16;
    std::string block;
    block.reserve(kBlock + 1024);
    const timeline::Summary summary = timeline::timeLines(lines, setting, [&](Entry &&entry) {
        if (json)
            printJson(entry, block);
        else
            printPlain(entry, width, block);
        if (block.size() >= kBlock) {
            out << block;
            block.clear();
        }
    });
    out << block;
    const char *place = summary.startsOnWorldMap ? "world-map" : "location";
    if (json) {
        json::Object object;
        momentFields(object, "total", summary.total);
        out << object.field("exact", summary.exact).field("start_place", place).str() << "\n";
    } else {
        out << "total " << timeline::momentText(summary.total) << "  (starting "
            << (summary.startsOnWorldMap ? "on the world map" : "in a location") << ")\n";
    }
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
    printTimeline(timeline::linesOfFile(*bytes), {&strings, &levels, *start, nameOf(script->filename())},
                  parsed.has("--json"), out);
    return kExitOk;
}

} // namespace cw::cli
