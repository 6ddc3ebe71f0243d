#include "cli/TimelineTool.h"

#include "cli/Arguments.h"
#include "cli/Json.h"
#include "core/io/Files.h"
#include "core/strings/GameStrings.h"
#include "core/text/Codepage.h"
#include "core/timeline/Timeline.h"

#include <algorithm>
#include <optional>
#include <ostream>

namespace cw::cli {
namespace {

using timeline::Entry;
using timeline::Pause;
using timeline::Seconds;

constexpr const char *kAtLeast = "\xE2\x89\xA5 "; // "≥ "

std::optional<double> reported(const std::optional<Seconds> &seconds)
{
    return seconds ? std::optional<double>(timeline::roundedToMilliseconds(*seconds)) : std::nullopt;
}

// "0:03.200", "≥ 0:03.200" for a time not known for certain, "never".
std::string shownTime(const std::optional<Seconds> &seconds, bool exact)
{
    if (!seconds)
        return "never";
    return (exact ? "" : kAtLeast) + timeline::clockText(*seconds);
}

std::string shownSpan(const timeline::Span &span)
{
    return shownTime(span.begin, span.exact) + "-" + (span.end ? timeline::clockText(*span.end) : "never");
}

// What the line holds the script for, in words.
std::string pauseText(const Entry &entry)
{
    const std::string until =
        entry.resume ? " until " + shownTime(entry.resume, entry.exact) : ": never goes on";
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
        return "waits for the location to load: its fade-out" + until + ", its loading not known";
    case Pause::Rocket:
        return "waits for the rocket, how long not known";
    case Pause::Player:
        return "waits for the player to be idle" + until;
    case Pause::Credits:
        return "waits for the credits to end, how long not known";
    case Pause::Hang:
        return "never goes on: the caption holds a \"[\" that is never closed, where the game hangs";
    }
    return "";
}

std::string cameraText(const Entry &entry)
{
    switch (entry.camera) {
    case timeline::CameraMove::None:
        return "";
    case timeline::CameraMove::Glide:
        return "camera " + shownSpan(*entry.cameraSpan);
    case timeline::CameraMove::Cut:
        return "camera cut at " + shownTime(entry.cameraSpan->begin, entry.cameraSpan->exact);
    case timeline::CameraMove::Animation:
        return "camera animation from " + timeline::clockText(entry.cameraSpan->begin) +
               ", its length not known";
    }
    return "";
}

void printPlain(const timeline::Timeline &timeline, std::ostream &out)
{
    int lastLine = 1;
    for (const Entry &entry : timeline.entries)
        lastLine = std::max(lastLine, entry.line);
    const std::size_t width = std::to_string(lastLine).size();
    for (const Entry &entry : timeline.entries) {
        const std::string number = std::to_string(entry.line);
        std::string line = std::string(width - number.size(), ' ') + number + "  ";
        line += !entry.start ? std::string("never     ")
                             : (entry.exact ? "  " : kAtLeast) + timeline::clockText(*entry.start);
        line += "  " + escapeControls(cp1252::toUtf8(entry.command));
        if (entry.start) {
            for (const std::string &what : {pauseText(entry), cameraText(entry),
                                            entry.caption ? "caption " + shownSpan(*entry.caption) : ""}) {
                if (!what.empty())
                    line += "  " + what;
            }
        }
        out << line << "\n";
    }
    out << "total " << shownTime(timeline.total, timeline.exact) << "\n";
}

void printJson(const timeline::Timeline &timeline, std::ostream &out)
{
    for (const Entry &entry : timeline.entries) {
        json::Object object;
        object.field("line", entry.line)
            .field("command", cp1252::toUtf8(entry.command))
            .field("start", reported(entry.start))
            .field("resume", reported(entry.resume))
            .field("exact", entry.exact);
        if (entry.caption)
            object.field("caption",
                         std::vector{reported(entry.caption->begin), reported(entry.caption->end)});
        if (entry.cameraSpan)
            object.field("camera",
                         std::vector{reported(entry.cameraSpan->begin), reported(entry.cameraSpan->end)});
        out << object.str() << "\n";
    }
    out << json::Object().field("total", reported(timeline.total)).field("exact", timeline.exact).str()
        << "\n";
}

} // namespace

int runTimeline(const std::vector<std::string> &args, const Whereabouts &where, std::ostream &out,
                std::ostream &err)
{
    const Arguments parsed = parseWithLocation(args, {"--json"});
    if (!parsed.problem.empty())
        return usageError(err, "timeline", parsed.problem);
    if (parsed.has("--help"))
        return toolHelp(out, "timeline");
    if (parsed.positional.size() != 2)
        return usageError(err, "timeline", "expects MOD and SCRIPT");
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
    const timeline::Timeline timeline = timeline::computeTimeline(timeline::linesOfFile(*bytes), strings);
    if (parsed.has("--json"))
        printJson(timeline, out);
    else
        printPlain(timeline, out);
    return kExitOk;
}

} // namespace cw::cli
