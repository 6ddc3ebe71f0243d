#include "core/timeline/Timeline.h"

#include "core/script/ScriptDocument.h"
#include "core/strings/GameStrings.h"
#include "core/text/Codepage.h"
#include "core/text/Folding.h"
#include "core/text/GameText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace cw::timeline {
namespace {

// Times are sums of frames and durations; two that differ by less than this are one.
constexpr Seconds kSameTime = 1e-9;

// What the game does after an ExitLocation or EnterLocation, for a WaitFade.
constexpr Seconds kFadeOut = 1;               // leaving a location
constexpr Seconds kFadeInAfterEntering = 1.6; // 0.6 s of delay, then 1 s of fade-in
constexpr Seconds kPlayerBusyAtLeast = 3;

// How the game's expansion of a caption's markup ends: a "[" with no "]" after it
// loops for ever.
enum class Markup { None, Closed, Unclosed };

Markup markupOf(std::string_view text)
{
    const std::size_t lastOpen = text.rfind('[');
    if (lastOpen == std::string_view::npos)
        return Markup::None;
    return text.find(']', lastOpen) == std::string_view::npos ? Markup::Unclosed : Markup::Closed;
}

// The duration argument of a command, as the game reads it; a missing one makes the
// game read past the line, so the time is then not known.
struct Duration
{
    Seconds seconds = 0;
    bool given = false;
};

Duration durationAt(const std::vector<std::string_view> &words, std::size_t index)
{
    if (index >= words.size())
        return {};
    return {readGameNumber(words[index], false).value, true};
}

// The script played line by line, with what carries from one line to the next.
class Player
{
public:
    explicit Player(const GameStrings &strings) : m_strings(strings) {}

    void play(const ScriptLine &line);
    Timeline finish();

private:
    struct Caption
    {
        std::size_t entry;
        std::string_view key; // as the Say line writes it
        Seconds end;
    };
    enum class Fade { Unknown, Exit, Enter };

    void run(Entry &entry, const std::vector<std::string_view> &words);
    bool runCamera(Entry &entry, const std::vector<std::string_view> &words);
    bool runLocation(Entry &entry, std::string_view command);
    void say(Entry &entry, std::string_view key);
    void shutUp(Seconds at);
    void glide(Entry &entry, Duration duration);
    void endCameraMove(Seconds at);
    void dropEndedCaptions(Seconds at);
    void lose() { m_exact = false; }

    const GameStrings &m_strings;
    Timeline m_timeline;
    Seconds m_next = 0; // when the next line starts
    bool m_stopped = false;
    bool m_exact = true;
    std::vector<Caption> m_captions; // showing or queued, in the order they show
    std::optional<std::size_t> m_cameraEntry;
    std::optional<Seconds> m_cameraEnd = 0; // empty: the camera's move never ends
    bool m_onWorldMap = false;              // a script is taken to start inside a location
    Fade m_fade = Fade::Unknown;
    Seconds m_fadeEnd = 0;
};

void Player::play(const ScriptLine &line)
{
    const std::vector<std::string_view> words = gameWords(line.text);
    if (words.empty()) {
        m_next += kFrame;
        return;
    }
    Entry entry;
    entry.line = line.number;
    entry.command = std::string(words.front());
    if (m_stopped) {
        entry.exact = m_exact;
        m_timeline.entries.push_back(std::move(entry));
        return;
    }
    entry.start = m_next;
    entry.resume = m_next;
    m_timeline.entries.push_back(std::move(entry));
    Entry &added = m_timeline.entries.back();
    run(added, words);
    added.exact = m_exact;
    if (added.resume)
        m_next = *added.resume + kFrame;
    else
        m_stopped = true;
}

void Player::run(Entry &entry, const std::vector<std::string_view> &words)
{
    const std::string_view command = words.front();
    const Seconds start = *entry.start;
    if (equalNoCase(command, "Wait")) {
        entry.pause = Pause::Time;
        entry.resume = start + std::max(0.0, durationAt(words, 1).seconds);
    } else if (equalNoCase(command, "Say")) {
        say(entry, words.size() > 1 ? words[1] : std::string_view());
    } else if (equalNoCase(command, "ShutUp")) {
        shutUp(start);
    } else if (equalNoCase(command, "WaitSay")) {
        entry.pause = Pause::Captions;
        dropEndedCaptions(start);
        if (!m_captions.empty())
            entry.resume = m_captions.back().end;
    } else if (equalNoCase(command, "WaitRocket") || equalNoCase(command, "RunCredits")) {
        entry.pause = equalNoCase(command, "WaitRocket") ? Pause::Rocket : Pause::Credits;
        lose();
    } else if (equalNoCase(command, "WaitPlayerNotBusy")) {
        entry.pause = Pause::Player;
        entry.resume = start + kPlayerBusyAtLeast;
        lose();
    } else if (!runCamera(entry, words)) {
        runLocation(entry, command);
    }
}

bool Player::runCamera(Entry &entry, const std::vector<std::string_view> &words)
{
    const std::string_view command = words.front();
    const Seconds start = *entry.start;
    if (equalNoCase(command, "CamMove")) {
        glide(entry, durationAt(words, 2));
    } else if (equalNoCase(command, "CamBuildingApproach")) {
        glide(entry, durationAt(words, 4));
    } else if (equalNoCase(command, "CamAnim")) {
        // Its length is in the mission file: the animation lasts at least no time.
        endCameraMove(start);
        lose();
        entry.camera = CameraMove::Animation;
        entry.cameraSpan = Span{start, start, false};
        m_cameraEntry = m_timeline.entries.size() - 1;
    } else if (equalNoCase(command, "CamCut")) {
        endCameraMove(start);
        entry.camera = CameraMove::Cut;
        entry.cameraSpan = Span{start, start, m_exact};
    } else if (equalNoCase(command, "CamReset")) {
        endCameraMove(start);
    } else if (equalNoCase(command, "WaitCam")) {
        entry.pause = Pause::Camera;
        entry.resume = m_cameraEnd ? std::optional<Seconds>(std::max(start, *m_cameraEnd)) : std::nullopt;
    } else {
        return false;
    }
    return true;
}

bool Player::runLocation(Entry &entry, std::string_view command)
{
    const Seconds start = *entry.start;
    if (equalNoCase(command, "EnterLocation")) {
        // The fade-out is known; the loading is not.
        entry.pause = Pause::Location;
        entry.resume = start + (m_onWorldMap ? 0 : kFadeOut);
        lose();
        m_onWorldMap = false;
        m_fade = Fade::Enter;
        m_fadeEnd = *entry.resume + kFadeInAfterEntering;
    } else if (equalNoCase(command, "ExitLocation")) {
        m_onWorldMap = true;
        m_fade = Fade::Exit;
        m_fadeEnd = start + kFadeOut;
    } else if (equalNoCase(command, "WaitFade")) {
        entry.pause = Pause::Fade;
        if (m_fade == Fade::Unknown)
            lose();
        else
            entry.resume = std::max(start, m_fadeEnd);
    } else {
        return false;
    }
    return true;
}

void Player::say(Entry &entry, std::string_view key)
{
    const Seconds start = *entry.start;
    dropEndedCaptions(start);
    for (const Caption &caption : m_captions) {
        if (equalNoCase(caption.key, key))
            return;
    }
    const GameStrings::Said said = m_strings.say(key);
    if (said.found == GameStrings::Found::Unknown)
        lose();
    if (said.found != GameStrings::Found::Text)
        return;
    const Markup markup = markupOf(said.text);
    if (markup == Markup::Unclosed) {
        entry.pause = Pause::Hang;
        entry.resume.reset();
        return;
    }
    if (markup == Markup::Closed)
        lose();
    const std::size_t length = std::min(said.text.size(), kLongestCaption);
    const Seconds begin = m_captions.empty() ? start : std::max(start, m_captions.back().end);
    const Seconds end =
        begin + static_cast<double>(length) * kCutsceneSecondsPerSpeed / m_strings.preferences().textSpeed;
    entry.caption = Span{begin, end, m_exact};
    entry.captionText = cp1252::toUtf8(said.text);
    m_captions.push_back({m_timeline.entries.size() - 1, key, end});
}

// The caption showing ends now; the queued ones never show.
void Player::shutUp(Seconds at)
{
    dropEndedCaptions(at);
    for (const Caption &caption : m_captions) {
        Entry &said = m_timeline.entries[caption.entry];
        if (said.caption->begin < at - kSameTime) {
            said.caption->end = at;
            said.caption->exact = said.caption->exact && m_exact;
        } else {
            said.caption.reset();
        }
    }
    m_captions.clear();
}

void Player::glide(Entry &entry, Duration duration)
{
    const Seconds start = *entry.start;
    endCameraMove(start);
    if (!duration.given)
        lose();
    // A negative duration never counts down to its end.
    m_cameraEnd = duration.seconds < 0 ? std::nullopt : std::optional<Seconds>(start + duration.seconds);
    m_cameraEntry = m_timeline.entries.size() - 1;
    entry.camera = CameraMove::Glide;
    entry.cameraSpan = Span{start, m_cameraEnd, m_exact};
}

// The camera has one move at a time: a new one, a cut or a reset ends the one under way.
void Player::endCameraMove(Seconds at)
{
    if (m_cameraEntry) {
        Span &span = *m_timeline.entries[*m_cameraEntry].cameraSpan;
        if (!span.end || *span.end > at) {
            span.end = at;
            span.exact = span.exact && m_exact;
        }
    }
    m_cameraEntry.reset();
    m_cameraEnd = at;
}

void Player::dropEndedCaptions(Seconds at)
{
    const auto ended = std::find_if(m_captions.begin(), m_captions.end(),
                                    [at](const Caption &c) { return c.end > at + kSameTime; });
    m_captions.erase(m_captions.begin(), ended);
}

Timeline Player::finish()
{
    m_timeline.exact = m_exact;
    if (m_stopped)
        return std::move(m_timeline);
    Seconds total = m_next;
    for (const Entry &entry : m_timeline.entries) {
        for (const std::optional<Span> &span : {entry.caption, entry.cameraSpan}) {
            if (span && !span->end)
                return std::move(m_timeline);
            if (span)
                total = std::max(total, *span->end);
        }
    }
    m_timeline.total = total;
    return std::move(m_timeline);
}

} // namespace

std::vector<ScriptLine> linesOfFile(std::string_view bytes)
{
    std::vector<ScriptLine> lines;
    int number = 1;
    std::size_t start = 0;
    for (std::size_t end = bytes.find('\n'); end != std::string_view::npos; end = bytes.find('\n', start)) {
        std::string_view text = bytes.substr(start, end - start);
        lines.push_back({number, std::string(text)});
        // Text editors also end a line at a CR that no LF follows.
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        number += 1 + static_cast<int>(std::count(text.begin(), text.end(), '\r'));
        start = end + 1;
    }
    return lines;
}

std::vector<ScriptLine> linesOfDocument(const ScriptDocument &document)
{
    std::vector<ScriptLine> lines;
    for (int r = 0; r < ScriptDocument::kRows; ++r) {
        if (document.row(r).command.empty())
            continue;
        auto bytes = lineBytes(document, r);
        std::string text;
        if (bytes) {
            text = std::move(bytes).value();
            text.resize(text.size() - 2); // its CR LF
        } else {
            text = lineText(document.row(r));
        }
        lines.push_back({r + 1, std::move(text)});
    }
    return lines;
}

Timeline computeTimeline(const std::vector<ScriptLine> &lines, const GameStrings &strings)
{
    Player player(strings);
    for (const ScriptLine &line : lines)
        player.play(line);
    return player.finish();
}

double roundedToMilliseconds(Seconds seconds)
{
    return std::round(seconds * 1000) / 1000;
}

std::string clockText(Seconds seconds)
{
    const double milliseconds = std::round(seconds * 1000);
    const double minutes = std::floor(milliseconds / 60000);
    const double rest = (milliseconds - minutes * 60000) / 1000;
    char text[64];
    std::snprintf(text, sizeof text, "%.0f:%06.3f", minutes, rest);
    return text;
}

} // namespace cw::timeline
