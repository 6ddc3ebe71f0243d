#include "cli/CaptionTool.h"

#include "cli/Arguments.h"
#include "cli/Json.h"
#include "core/strings/CaptionLayout.h"
#include "core/strings/GameStrings.h"
#include "core/text/Codepage.h"

#include <optional>
#include <ostream>

namespace cw::cli {
namespace {

std::string shownLine(std::string_view bytes)
{
    return escapeControls(cp1252::toUtf8(bytes));
}

std::vector<std::string> shownLines(std::span<const std::string> lines)
{
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const std::string &line : lines)
        out.push_back(cp1252::toUtf8(line));
    return out;
}

// Why a Say of `key` shows no caption; empty when it shows one.
std::string noCaption(const GameStrings &strings, const GameStrings::Said &said, std::string_view key,
                      const std::string &mod)
{
    const std::string shown = "\"" + shownText(key) + "\"";
    const std::string &language = strings.preferences().textLanguage;
    switch (said.found) {
    case GameStrings::Found::Text:
        return "";
    case GameStrings::Found::Missing:
        return shown + " is in none of the " + language + " strings the game loads for " + mod +
               ": the game says nothing";
    case GameStrings::Found::NeverFound:
        return "the game never finds " + shown +
               ": a Say names the key without its _kbd or _xin, and the game picks that variant itself";
    case GameStrings::Found::Unknown:
        return shown + " is not in the strings files of " + mod + ", and the game's own " + language +
               " table could not be read";
    }
    return "";
}

void printJson(std::string_view key, const CaptionLayout &layout, std::ostream &out)
{
    const bool cutscene = layout.mode == CaptionMode::Cutscene;
    const std::span<const std::string> all(layout.lines);
    const std::span<const std::string> hidden =
        cutscene ? all.subspan(layout.shownCount) : all.first(layout.firstShown);
    std::vector<std::string> lost, words;
    for (const LostText &text : layout.lost) {
        lost.push_back(cp1252::toUtf8(text.lost));
        words.push_back(cp1252::toUtf8(text.word));
    }
    json::Object object;
    object.field("key", cp1252::toUtf8(key))
        .field("mode", cutscene ? "cutscene" : "normal")
        .field("lines", shownLines(layout.shown()))
        .field(cutscene ? "off_screen" : "scrolled_away", shownLines(hidden))
        .field("lost", lost)
        .field("long_words", words)
        .field("cut", layout.cut);
    out << object.str() << "\n";
}

// What the plain lines leave out, for people, on the side.
void printNotes(const CaptionLayout &layout, std::ostream &err)
{
    const std::size_t hidden = layout.hidden();
    const bool one = hidden == 1;
    if (layout.mode == CaptionMode::Cutscene && hidden > 0)
        err << "cuewright caption: " << hidden << (one ? " more line falls" : " more lines fall")
            << " off the bottom of the screen\n";
    else if (hidden > 0)
        err << "cuewright caption: " << hidden << (one ? " more line scrolls" : " more lines scroll")
            << " away above these\n";
    for (const LostText &text : layout.lost)
        err << "cuewright caption: line " << text.line + 1 << " cuts \"" << shownLine(text.word)
            << "\", too long for a line, and loses \"" << shownLine(text.lost) << "\"\n";
    if (layout.cut)
        err << "cuewright caption: the game keeps only the first " << kLongestCaption << " characters\n";
}

} // namespace

int runCaption(const std::vector<std::string> &args, const Whereabouts &where, std::ostream &out,
               std::ostream &err)
{
    const Arguments parsed = parseWithLocation(args, {"--json", "--cutscene", "--normal"});
    if (!parsed.problem.empty())
        return usageError(err, "caption", parsed.problem);
    if (parsed.has("--help"))
        return toolHelp(out, "caption");
    if (parsed.positional.size() != 2)
        return usageError(err, "caption", "expects MOD and KEY");
    if (parsed.has("--cutscene") && parsed.has("--normal"))
        return usageError(err, "caption", "takes --cutscene or --normal, not both");
    const std::optional<GameLocation> location = toolLocation(parsed, where);
    if (!location) {
        err << "cuewright caption: " << noLocationMessage(where) << "\n";
        return kExitUnusable;
    }
    const std::optional<ToolMod> mod = toolMod("caption", location->folder, parsed.positional[0], err);
    if (!mod)
        return kExitUnusable;
    // Keys are bytes of the code page in the strings files; a key it cannot hold is none.
    const std::string key = cp1252::fromUtf8(parsed.positional[1]).value_or(parsed.positional[1]);
    const GameStrings strings = GameStrings::load(location->folder, location->game, mod->folder);
    const GameStrings::Said said = strings.say(key);
    if (const std::string why = noCaption(strings, said, key, mod->shownPath); !why.empty()) {
        err << "cuewright caption: " << why << "\n";
        return kExitUnusable;
    }
    const CaptionMode mode = parsed.has("--cutscene") ? CaptionMode::Cutscene : CaptionMode::Normal;
    const CaptionLayout layout = layOutCaption(
        said.text, [&strings](std::string_view name) { return strings.say(name); }, mode);
    if (layout.unclosed) {
        err << "cuewright caption: the text of \"" << shownText(key)
            << "\" opens \"[\" and never closes it: the game hangs at start-up and shows nothing\n";
        return kExitUnusable;
    }
    if (parsed.has("--json")) {
        printJson(key, layout, out);
        return kExitOk;
    }
    std::string lines;
    for (const std::string &line : layout.shown())
        lines += shownLine(line) + "\n";
    out << lines;
    printNotes(layout, err);
    return kExitOk;
}

} // namespace cw::cli
