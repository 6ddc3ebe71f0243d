#include "core/timeline/Timeline.h"

#include "core/levels/Levels.h"
#include "core/script/ScriptDocument.h"
#include "core/strings/CaptionMarkup.h"
#include "core/strings/GameStrings.h"
#include "core/text/Codepage.h"
#include "core/text/Folding.h"
#include "core/text/GameText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace cw::timeline {
namespace {

using Maybe = std::optional<Moment>;

// What the game's fades take, in frames.
constexpr Frame kFadeOut = 60;             // leaving a location, or entering one from another
constexpr Frame kFadeInAfterEntering = 96; // 0.6 s of delay, then 1 s of fade-in
constexpr Frame kWorldMapFadeIn = 75;      // 0.25 s of delay, then 1 s
constexpr Frame kPlayerBusyAtLeast = 180;
// Durations are decimal numbers: 0.1 s is 6 frames, not 5.999...
constexpr double kFrameFuzz = 1e-6;

// -- Moments ---------------------------------------------------------------------------

Maybe momentOf(std::int32_t unknowns, Frame low, Frame high, Frame least)
{
    if (least > kLastFrame || low > kLastFrame)
        return std::nullopt;
    const auto frame = [](Frame f) {
        return static_cast<std::int32_t>(std::min(f, kLastFrame));
    };
    return Moment{unknowns, frame(low), frame(high), frame(std::max<Frame>(least, 0))};
}

Maybe later(const Moment &m, Frame low, Frame high)
{
    return momentOf(m.unknowns, Frame{m.low} + low, Frame{m.high} + high, Frame{m.least} + low);
}

Maybe later(const Moment &m, Frame frames)
{
    return later(m, frames, frames);
}

// After a pause only the game knows.
Moment afterUnknown(const Moment &m)
{
    return {m.unknowns + 1, m.low, m.high, m.least};
}

// A moment with fewer unknown pauses comes no later than one with more and the same
// frames: the pauses last at least no time.
bool surelyNotAfter(const Moment &a, const Moment &b)
{
    return (a.unknowns <= b.unknowns && a.high <= b.low) || (a.unknowns == 0 && a.high <= b.least);
}

bool surelyBefore(const Moment &a, const Moment &b)
{
    return (a.unknowns <= b.unknowns && a.high < b.low) || (a.unknowns == 0 && a.high < b.least);
}

Moment latestOf(const Moment &a, const Moment &b)
{
    if (surelyNotAfter(a, b))
        return b;
    if (surelyNotAfter(b, a))
        return a;
    const std::int32_t least = std::max(a.least, b.least);
    if (a.unknowns == b.unknowns)
        return {a.unknowns, std::max(a.low, b.low), std::max(a.high, b.high), least};
    // The one after more unknown pauses is at least its own frames; the other adds no
    // more than its frames to them.
    const Moment &more = a.unknowns > b.unknowns ? a : b;
    return {more.unknowns, more.low, std::max(a.high, b.high), least};
}

Moment earliestOf(const Moment &a, const Moment &b)
{
    if (surelyNotAfter(a, b))
        return a;
    if (surelyNotAfter(b, a))
        return b;
    const std::int32_t least = std::min(a.least, b.least);
    if (a.unknowns == b.unknowns)
        return {a.unknowns, std::min(a.low, b.low), std::min(a.high, b.high), least};
    const Moment &fewer = a.unknowns < b.unknowns ? a : b;
    return {fewer.unknowns, std::min(a.low, b.low), fewer.high, least};
}

// The whole frames in `seconds`, empty past the frame clock (or for no number at all).
std::optional<Frame> framesIn(double seconds, bool roundUp)
{
    const double frames = std::max(0.0, seconds) * kFramesPerSecond;
    if (!(frames <= static_cast<double>(kLastFrame)))
        return std::nullopt;
    return static_cast<Frame>(roundUp ? std::ceil(frames - kFrameFuzz) : std::floor(frames + kFrameFuzz));
}

// -- The script ------------------------------------------------------------------------

struct Duration
{
    double seconds = 0;
    bool given = false;
};

Duration durationAt(const std::vector<std::string_view> &words, std::size_t index)
{
    if (index >= words.size())
        return {};
    return {readGameNumber(words[index], false).value, true};
}

// The commands the timeline knows, named once per line: a long script has millions.
enum class Verb {
    Other,
    Say,
    ShutUp,
    WaitSay,
    CamMove,
    CamBuildingApproach,
    CamAnim,
    CamCut,
    CamBuildingFocus,
    CamReset,
    CamLocationFocus,
    CamGlobalWorldFocus,
    WaitCam,
    EnterLocation,
    ExitLocation,
    WaitFade,
    Wait,
    WaitRocket,
    WaitPlayerNotBusy,
    RunCredits,
    Highlight,
    DestroyBuilding,
    ActivateTrunkPort,
    ActivateTrunkPortFull,
};

Verb verbOf(std::string_view word)
{
    struct Name
    {
        std::string_view name;
        Verb verb;
    };
    static constexpr Name kNames[] = {
        {"Say", Verb::Say},
        {"ShutUp", Verb::ShutUp},
        {"WaitSay", Verb::WaitSay},
        {"CamMove", Verb::CamMove},
        {"CamBuildingApproach", Verb::CamBuildingApproach},
        {"CamAnim", Verb::CamAnim},
        {"CamCut", Verb::CamCut},
        {"CamBuildingFocus", Verb::CamBuildingFocus},
        {"CamReset", Verb::CamReset},
        {"CamLocationFocus", Verb::CamLocationFocus},
        {"CamGlobalWorldFocus", Verb::CamGlobalWorldFocus},
        {"WaitCam", Verb::WaitCam},
        {"EnterLocation", Verb::EnterLocation},
        {"ExitLocation", Verb::ExitLocation},
        {"WaitFade", Verb::WaitFade},
        {"Wait", Verb::Wait},
        {"WaitRocket", Verb::WaitRocket},
        {"WaitPlayerNotBusy", Verb::WaitPlayerNotBusy},
        {"RunCredits", Verb::RunCredits},
        {"Highlight", Verb::Highlight},
        {"DestroyBuilding", Verb::DestroyBuilding},
        {"ActivateTrunkPort", Verb::ActivateTrunkPort},
        {"ActivateTrunkPortFull", Verb::ActivateTrunkPortFull},
    };
    // By length, so that most words meet no name at all.
    constexpr std::size_t kLongest = 24;
    static const auto byLength = [] {
        std::array<std::vector<Name>, kLongest + 1> table;
        for (const Name &n : kNames)
            table[n.name.size()].push_back(n);
        return table;
    }();
    if (word.size() > kLongest)
        return Verb::Other;
    for (const Name &n : byLength[word.size()]) {
        if (equalNoCase(n.name, word))
            return n.verb;
    }
    return Verb::Other;
}

bool isAny(Verb verb, std::initializer_list<Verb> verbs)
{
    return std::find(verbs.begin(), verbs.end(), verb) != verbs.end();
}

// The commands that act on the location's world, whichever comes first says where the
// script was written to start.
bool isPlaceBound(Verb verb)
{
    return isAny(verb, {Verb::EnterLocation, Verb::ExitLocation, Verb::CamLocationFocus, Verb::CamMove,
                        Verb::CamCut, Verb::CamAnim, Verb::CamBuildingFocus, Verb::CamBuildingApproach,
                        Verb::Highlight, Verb::DestroyBuilding, Verb::ActivateTrunkPort,
                        Verb::ActivateTrunkPortFull, Verb::WaitRocket});
}

// What a time known only after the script ran to its end says about its line.
struct Outcome
{
    Moment begin;
    Maybe end;
    unsigned modes = 0;
    bool shown = true;
};

// The script played line by line. It plays twice: the first time to learn what only
// later lines decide (a caption's rate, a glide cut short), the second to hand each
// line on with those times, so that no more than the live state is held at once.
class Player
{
public:
    Player(const Setting &setting, bool onWorldMap, std::vector<Outcome> &outcomes, const EntrySink *sink)
        : m_setting(setting), m_outcomes(outcomes), m_sink(sink)
    {
        m_changes.push_back({Moment{}, kEitherMode});
        if (onWorldMap) {
            m_worldMapFrom = Moment{};
        } else if (setting.levels && !setting.script.empty()) {
            const std::vector<std::size_t> running = setting.levels->locationsRunning(setting.script);
            if (running.size() == 1)
                m_location = setting.levels->locations()[running.front()].name;
        }
    }

    void play(const ScriptLine &line);
    Summary finish();

private:
    struct Caption
    {
        std::uint32_t outcome;
        std::string key; // as the Say line writes it
        Moment said;
        std::size_t shortest;
        std::size_t longest;
        bool lengthKnown;
        unsigned modes;
        Maybe begin; // once its rate is known
        Maybe end;
    };
    struct ModeChange
    {
        Moment at;
        unsigned modes;
    };

    void run(Entry &entry, const Moment &now);
    bool runCaptions(Entry &entry, const Moment &now);
    bool runCamera(Entry &entry, const Moment &now);
    void glideTo(Entry &entry, const Moment &now);
    void animate(Entry &entry, const Moment &now);
    bool runPlace(Entry &entry, const Moment &now);
    bool runWaits(Entry &entry, const Moment &now);
    void say(Entry &entry, const Moment &now, std::string_view key);
    void shutUp(const Moment &now);
    void glide(Entry &entry, const Moment &now, Maybe end, CameraMove move);
    void endCameraMove(const Moment &at);
    void resolveCaptions(const Moment *before);
    void resolve(Caption &caption, const Moment &begin);
    void dropEndedCaptions(const Moment &now);
    void changeMode(const Moment &at, unsigned modes);
    unsigned modesAt(const Moment &at) const;
    bool replaced(std::size_t change, const Moment &at) const;
    void pruneModes(const Moment &now);
    bool onWorldMap(const Moment &now) const
    {
        return m_worldMapFrom && surelyNotAfter(*m_worldMapFrom, now);
    }
    std::uint32_t newOutcome(const Moment &begin);
    void setOutcome(std::uint32_t id, const Outcome &outcome);

    const Setting &m_setting;
    std::vector<Outcome> &m_outcomes;
    const EntrySink *m_sink; // none: the first playing
    // What the line being played left for the second playing to fill in.
    std::optional<std::uint32_t> m_lineCaption;
    std::optional<std::uint32_t> m_lineCamera;
    std::uint32_t m_outcomeCount = 0;
    std::vector<std::string_view> m_words;
    Verb m_verb = Verb::Other; // of the line being played
    Maybe m_next = Moment{};   // when the next line runs; empty once it never will
    bool m_exact = true;

    std::vector<Caption> m_captions; // showing or queued, in the order they show
    std::size_t m_unresolved = 0;    // the first caption whose rate is not yet known
    Maybe m_lastCaptionEnd;
    std::vector<ModeChange> m_changes; // the camera's modes, as the script sets them

    std::optional<std::uint32_t> m_glide; // the camera's move under way
    Moment m_glideStart;
    Maybe m_glideEnd;

    Maybe m_worldMapFrom;                    // empty: inside a location
    std::optional<std::size_t> m_exitChange; // the mode the world map brings, in m_changes
    Maybe m_fadeEnd;                         // the fade a WaitFade waits for, once one is known
    std::string m_location;                  // where the last EnterLocation went
};

std::uint32_t Player::newOutcome(const Moment &begin)
{
    if (!m_sink)
        m_outcomes.push_back({begin, begin, 0, true});
    return m_outcomeCount++;
}

void Player::setOutcome(std::uint32_t id, const Outcome &outcome)
{
    if (!m_sink)
        m_outcomes[id] = outcome;
}

void Player::play(const ScriptLine &line)
{
    gameWords(line.text, m_words);
    if (m_words.empty()) {
        if (m_next)
            m_next = later(*m_next, 1);
        return;
    }
    m_verb = verbOf(m_words.front());
    // A command the timeline does not know takes its frame and changes nothing: what
    // waits for a later moment is settled at the next command it knows, the same way.
    if (m_verb == Verb::Other && !m_sink) {
        if (m_next)
            m_next = later(*m_next, 1);
        return;
    }
    m_lineCaption.reset();
    m_lineCamera.reset();
    Entry entry;
    entry.line = line.number;
    entry.command = std::string(m_words.front());
    if (m_next && m_verb == Verb::Other) {
        entry.start = entry.resume = m_next;
        entry.onWorldMap = onWorldMap(*m_next);
        m_next = later(*m_next, 1);
    } else if (m_next) {
        const Moment now = *m_next;
        resolveCaptions(&now);
        dropEndedCaptions(now);
        pruneModes(now);
        entry.start = now;
        entry.resume = now;
        entry.onWorldMap = onWorldMap(now);
        run(entry, now);
        m_next = entry.resume ? later(*entry.resume, 1) : std::nullopt;
        if (!entry.resume || !entry.resume->exact() || !now.exact())
            m_exact = false;
    }
    if (!m_sink)
        return;
    // The second playing: the times later lines decided are known.
    if (m_lineCaption) {
        const Outcome &o = m_outcomes[*m_lineCaption];
        if (o.shown)
            entry.caption = Span{o.begin, o.end};
        entry.captionModes = o.modes;
    }
    if (m_lineCamera)
        entry.cameraSpan = Span{m_outcomes[*m_lineCamera].begin, m_outcomes[*m_lineCamera].end};
    (*m_sink)(std::move(entry));
}

void Player::run(Entry &entry, const Moment &now)
{
    if (m_verb == Verb::Other)
        return;
    if (!runCaptions(entry, now) && !runCamera(entry, now) && !runPlace(entry, now))
        runWaits(entry, now);
}

bool Player::runCaptions(Entry &entry, const Moment &now)
{
    const Verb verb = m_verb;
    if (verb == Verb::Say) {
        say(entry, now, m_words.size() > 1 ? m_words[1] : std::string_view());
    } else if (verb == Verb::ShutUp) {
        shutUp(now);
    } else if (verb == Verb::WaitSay) {
        // The script waits: no line can change the camera's mode before the queue ends.
        entry.pause = Pause::Captions;
        resolveCaptions(nullptr);
        if (!m_captions.empty() && m_captions.back().end)
            entry.resume = latestOf(now, *m_captions.back().end);
        m_captions.clear();
        m_unresolved = 0;
    } else {
        return false;
    }
    return true;
}

void Player::glideTo(Entry &entry, const Moment &now)
{
    const Verb verb = m_verb;
    const Duration duration = durationAt(m_words, verb == Verb::CamMove ? 2 : 4);
    Maybe end;
    if (!duration.given) {
        end = afterUnknown(now);
        entry.note = "The duration is missing: the game reads past the line.";
    } else if (duration.seconds >= 0) {
        const auto frames = framesIn(duration.seconds, true);
        end = frames ? later(now, *frames) : std::nullopt;
    }
    changeMode(now, kCutsceneMode);
    glide(entry, now, end, CameraMove::Glide);
}

void Player::animate(Entry &entry, const Moment &now)
{
    changeMode(now, kCutsceneMode);
    const std::string_view name = m_words.size() > 1 ? m_words[1] : std::string_view();
    const AnimationFound found = m_setting.levels && !m_location.empty()
                                     ? m_setting.levels->animation(m_location, name)
                                     : AnimationFound{};
    if (found.lookup == Lookup::Found && !found.animation->badDuration && !found.animation->undefinedMount) {
        glide(entry, now, later(now, framesIn(found.animation->seconds, true).value_or(0)),
              CameraMove::Animation);
    } else if (found.lookup == Lookup::Unknown) {
        glide(entry, now, afterUnknown(now), CameraMove::Animation);
        entry.note = m_location.empty()
                         ? "Its length is in the mission the script runs in, which is not known."
                         : "Its length is in a mission file that could not be read.";
    } else {
        endCameraMove(now);
        entry.pause = Pause::Stops;
        entry.resume.reset();
        entry.note = found.lookup == Lookup::Missing ? "The mission defines no such camera animation."
                                                     : "The animation's nodes stop the game.";
    }
}

bool Player::runCamera(Entry &entry, const Moment &now)
{
    const Verb verb = m_verb;
    const bool worldMap = entry.onWorldMap;
    if (isAny(verb, {Verb::CamMove, Verb::CamBuildingApproach, Verb::CamAnim, Verb::CamCut,
                     Verb::CamBuildingFocus}) &&
        worldMap) {
        entry.note = "On the world map this command does nothing.";
        return true;
    }
    if (verb == Verb::CamMove || verb == Verb::CamBuildingApproach) {
        glideTo(entry, now);
    } else if (verb == Verb::CamAnim) {
        animate(entry, now);
    } else if (verb == Verb::CamCut) {
        // A cut leaves the camera's mode, and a glide under way goes on.
        entry.camera = CameraMove::Cut;
        entry.cameraSpan = Span{now, now};
    } else if (verb == Verb::CamBuildingFocus) {
        endCameraMove(now);
        changeMode(now, kCutsceneMode);
    } else if (verb == Verb::CamReset) {
        endCameraMove(now);
        changeMode(now, kNormalMode);
    } else if (verb == Verb::CamLocationFocus || verb == Verb::CamGlobalWorldFocus) {
        if (worldMap)
            changeMode(now, kCutsceneMode);
        else if (m_worldMapFrom && !surelyBefore(now, *m_worldMapFrom))
            changeMode(now, kEitherMode);
        else
            entry.note = m_worldMapFrom ? "The world map is not shown yet: the game loses this command."
                                        : "Inside a location this command does nothing.";
    } else if (verb == Verb::WaitCam) {
        entry.pause = Pause::Camera;
        if (m_glide && !m_glideEnd) {
            entry.resume.reset();
        } else if (m_glide && !surelyNotAfter(*m_glideEnd, now)) {
            // In a location the camera moves before the script in each frame: the next
            // line runs in the frame the glide ends.
            entry.resume = latestOf(now, worldMap ? *m_glideEnd : *later(*m_glideEnd, -1));
        }
    } else {
        return false;
    }
    return true;
}

bool Player::runPlace(Entry &entry, const Moment &now)
{
    const Verb verb = m_verb;
    if (verb == Verb::EnterLocation) {
        entry.pause = Pause::Location;
        Frame fadeLow = kFadeOut;
        Frame fadeHigh = kFadeOut;
        if (m_worldMapFrom && surelyNotAfter(*m_worldMapFrom, now)) {
            fadeLow = fadeHigh = 0;
        } else if (m_worldMapFrom && !surelyBefore(now, *m_worldMapFrom)) {
            fadeLow = 0;
        } else if (m_exitChange) {
            // The world map is never shown, nor its camera.
            m_changes.erase(m_changes.begin() + static_cast<std::ptrdiff_t>(*m_exitChange));
        }
        m_exitChange.reset();
        endCameraMove(now);
        const Maybe faded = later(now, fadeLow, fadeHigh);
        entry.resume = faded ? Maybe(afterUnknown(*faded)) : std::nullopt;
        entry.note = "Loading the location takes as long as the game needs.";
        m_worldMapFrom.reset();
        m_location = m_words.size() > 1 ? std::string(m_words[1]) : std::string();
        if (entry.resume) {
            changeMode(*entry.resume, kEitherMode);
            m_fadeEnd = later(*entry.resume, kFadeInAfterEntering);
        }
    } else if (verb == Verb::ExitLocation) {
        if (entry.onWorldMap)
            return true;
        const Maybe shown = later(now, kFadeOut);
        if (!shown)
            return true;
        endCameraMove(*shown);
        m_worldMapFrom = shown;
        m_exitChange = m_changes.size();
        m_changes.push_back({*shown, kNormalMode});
        m_fadeEnd = later(*shown, kWorldMapFadeIn);
        m_location.clear();
    } else if (verb == Verb::WaitFade) {
        entry.pause = Pause::Fade;
        if (m_fadeEnd) {
            entry.resume = latestOf(now, *m_fadeEnd);
        } else {
            entry.resume = afterUnknown(now);
            entry.note = "The fade the script starts in is not known.";
        }
    } else {
        return false;
    }
    return true;
}

bool Player::runWaits(Entry &entry, const Moment &now)
{
    const Verb verb = m_verb;
    if (verb == Verb::Wait) {
        entry.pause = Pause::Time;
        const auto frames = framesIn(durationAt(m_words, 1).seconds, false);
        entry.resume = frames ? later(now, *frames) : std::nullopt;
        if (!entry.resume)
            entry.note = "The wait is longer than anyone plays.";
    } else if (isAny(verb, {Verb::WaitRocket, Verb::WaitPlayerNotBusy, Verb::RunCredits})) {
        const bool credits = verb == Verb::RunCredits;
        entry.pause = credits ? Pause::Credits : verb == Verb::WaitRocket ? Pause::Rocket : Pause::Player;
        if (entry.onWorldMap && !credits) {
            entry.note = "On the world map this command does not wait.";
            return true;
        }
        const Maybe least = entry.pause == Pause::Player ? later(now, kPlayerBusyAtLeast) : Maybe(now);
        entry.resume = least ? Maybe(afterUnknown(*least)) : std::nullopt;
        entry.note = entry.pause == Pause::Player ? "At least 3 s: longer while the squad fights."
                                                  : "Only the game knows how long this takes.";
    } else {
        return false;
    }
    return true;
}

void Player::say(Entry &entry, const Moment &now, std::string_view key)
{
    for (const Caption &caption : m_captions) {
        if (equalNoCase(caption.key, key))
            return; // Sepulveda does not queue what he is saying or about to say
    }
    const GameStrings::Said said = m_setting.strings ? m_setting.strings->say(key) : GameStrings::Said{};
    Caption caption{0, std::string(key), now, 0, 0, true, 0, std::nullopt, std::nullopt};
    if (said.found == GameStrings::Found::Unknown) {
        caption.lengthKnown = false;
        entry.note = "The key is not in the mod's tables, and the game's own could not be read.";
    } else if (said.found != GameStrings::Found::Text) {
        return;
    } else {
        const ExpandedCaption expanded =
            expandCaption(said.text, [this](std::string_view name) { return m_setting.strings->say(name); });
        if (expanded.unclosed) {
            entry.pause = Pause::Hang;
            entry.resume.reset();
            return;
        }
        if (expanded.longest == 0)
            return; // an empty caption takes no time
        caption.shortest = expanded.shortest;
        caption.longest = expanded.longest;
        if (m_sink)
            entry.captionText = cp1252::toUtf8(expanded.text);
    }
    caption.outcome = newOutcome(now);
    m_lineCaption = caption.outcome;
    m_captions.push_back(std::move(caption));
}

// The caption showing ends now; the queued ones never show.
void Player::shutUp(const Moment &now)
{
    for (std::size_t i = 0; i < m_captions.size(); ++i) {
        Caption &caption = m_captions[i];
        if (i < m_unresolved && surelyBefore(*caption.begin, now)) {
            caption.end = earliestOf(*caption.end, now);
            setOutcome(caption.outcome, {*caption.begin, caption.end, caption.modes, true});
        } else {
            setOutcome(caption.outcome, {now, now, 0, false});
        }
    }
    m_captions.clear();
    m_unresolved = 0;
    m_lastCaptionEnd.reset();
}

void Player::glide(Entry &entry, const Moment &now, Maybe end, CameraMove move)
{
    endCameraMove(now);
    m_glide = newOutcome(now);
    m_glideStart = now;
    m_glideEnd = end;
    setOutcome(*m_glide, {now, end, 0, true});
    entry.camera = move;
    m_lineCamera = m_glide;
}

// The camera has one move at a time: a new one, a focus or a reset ends the one under way.
void Player::endCameraMove(const Moment &at)
{
    if (!m_glide)
        return;
    const Moment end = m_glideEnd ? earliestOf(*m_glideEnd, at) : at;
    setOutcome(*m_glide, {m_glideStart, end, 0, true});
    m_glide.reset();
}

// A caption's rate is fixed when it begins, by the camera's mode then: once it has
// surely begun before `before` (every caption when empty), no later line can change it.
void Player::resolveCaptions(const Moment *before)
{
    while (m_unresolved < m_captions.size()) {
        Caption &caption = m_captions[m_unresolved];
        const Moment begin = m_lastCaptionEnd ? latestOf(caption.said, *m_lastCaptionEnd) : caption.said;
        if (before && !surelyBefore(begin, *before))
            return;
        resolve(caption, begin);
        ++m_unresolved;
    }
}

void Player::resolve(Caption &caption, const Moment &begin)
{
    const unsigned modes = modesAt(begin);
    Maybe end;
    if (!caption.lengthKnown) {
        end = afterUnknown(later(begin, 1).value_or(begin));
    } else {
        const double speed = m_setting.strings->preferences().textSpeed;
        const double slow = (modes & kCutsceneMode) ? kCutsceneRate : kNormalRate;
        const double fast = (modes & kNormalMode) ? kNormalRate : kCutsceneRate;
        const auto frames = [speed](std::size_t length, double rate) {
            return *framesIn(static_cast<double>(length) * rate / speed, false) + 1;
        };
        end = later(begin, frames(caption.shortest, fast), frames(caption.longest, slow));
    }
    caption.begin = begin;
    caption.end = end ? end : Maybe(begin);
    caption.modes = modes;
    m_lastCaptionEnd = caption.end;
    setOutcome(caption.outcome, {begin, caption.end, modes, true});
}

void Player::dropEndedCaptions(const Moment &now)
{
    std::size_t ended = 0;
    while (ended < m_unresolved && surelyNotAfter(*m_captions[ended].end, now))
        ++ended;
    m_captions.erase(m_captions.begin(), m_captions.begin() + static_cast<std::ptrdiff_t>(ended));
    m_unresolved -= ended;
}

void Player::changeMode(const Moment &at, unsigned modes)
{
    m_changes.push_back({at, modes});
}

// Whether a later change surely replaces change `i` by `at`: one surely after it, or
// made later in the same frame, and surely made by then.
bool Player::replaced(std::size_t i, const Moment &at) const
{
    const ModeChange &c = m_changes[i];
    for (std::size_t j = 0; j < m_changes.size(); ++j) {
        const ModeChange &d = m_changes[j];
        if (j != i && surelyNotAfter(d.at, at) &&
            (surelyBefore(c.at, d.at) || (j > i && surelyNotAfter(c.at, d.at))))
            return true;
    }
    return false;
}

// The modes the camera may be in at `at`: those of every change that may be the last
// one made by then.
unsigned Player::modesAt(const Moment &at) const
{
    unsigned modes = 0;
    for (std::size_t i = 0; i < m_changes.size(); ++i) {
        const ModeChange &c = m_changes[i];
        if (surelyBefore(at, c.at))
            continue;
        if (!replaced(i, at))
            modes |= c.modes;
    }
    return modes;
}

// Forgets the changes no caption can begin under any more: those a later change
// replaced by the time the earliest caption still to begin does.
void Player::pruneModes(const Moment &now)
{
    constexpr std::size_t kKept = 16;
    if (m_changes.size() <= kKept)
        return;
    const Moment earliest =
        m_unresolved < m_captions.size() ? earliestOf(now, m_captions[m_unresolved].said) : now;
    std::vector<bool> gone(m_changes.size(), false);
    for (std::size_t i = 0; i < m_changes.size(); ++i)
        gone[i] = replaced(i, earliest);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_changes.size(); ++i) {
        if (m_exitChange && *m_exitChange == i)
            m_exitChange = gone[i] ? std::nullopt : std::optional<std::size_t>(kept);
        if (!gone[i])
            m_changes[kept++] = m_changes[i];
    }
    m_changes.resize(kept);
    // Changes all still ahead of the captions: let them be either mode from here on.
    if (m_changes.size() > 64 * kKept) {
        m_changes.assign(1, {Moment{}, kEitherMode});
        m_exitChange.reset();
    }
}

Summary Player::finish()
{
    resolveCaptions(nullptr);
    // The scene lasts until its last line, caption and camera move are over.
    Summary summary;
    summary.total = m_next;
    bool exact = m_exact;
    for (const Outcome &o : m_outcomes) {
        if (!o.shown)
            continue;
        exact = exact && o.begin.exact() && o.end && o.end->exact();
        summary.total = summary.total && o.end ? Maybe(latestOf(*summary.total, *o.end)) : std::nullopt;
    }
    summary.exact = exact && summary.total && summary.total->exact();
    return summary;
}

std::size_t lineEndCount(std::string_view text)
{
    // Text editors also end a line at a CR that no LF follows.
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    return 1 + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r'));
}

} // namespace

bool Entry::exact() const
{
    const auto spanExact = [](const std::optional<Span> &span) {
        return !span || span->exact();
    };
    return start && resume && start->exact() && resume->exact() && spanExact(caption) &&
           spanExact(cameraSpan);
}

ScriptLines linesOfFile(std::string_view bytes)
{
    return [bytes](const std::function<void(const ScriptLine &)> &each) {
        int number = 1;
        std::size_t start = 0;
        for (std::size_t end = bytes.find('\n'); end != std::string_view::npos;
             end = bytes.find('\n', start)) {
            const std::string_view text = bytes.substr(start, end - start);
            each({number, text});
            number += static_cast<int>(lineEndCount(text));
            start = end + 1;
        }
    };
}

ScriptLines linesOfDocument(const ScriptDocument &document)
{
    return [&document](const std::function<void(const ScriptLine &)> &each) {
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
            each({r + 1, text});
        }
    };
}

bool startsOnWorldMap(const ScriptLines &lines, const Setting &setting)
{
    // What runs the script says where it starts: a location's trigger or objective, or
    // the world map's events.
    if (setting.levels && !setting.script.empty()) {
        if (!setting.levels->locationsRunning(setting.script).empty())
            return false;
        if (setting.levels->eventsRun(setting.script))
            return true;
    }
    std::optional<bool> worldMap;
    std::vector<std::string_view> words;
    lines([&](const ScriptLine &line) {
        if (worldMap)
            return;
        gameWords(line.text, words);
        const Verb verb = words.empty() ? Verb::Other : verbOf(words.front());
        if (isPlaceBound(verb))
            worldMap = isAny(verb, {Verb::EnterLocation, Verb::CamLocationFocus});
    });
    return worldMap.value_or(false);
}

Summary timeLines(const ScriptLines &lines, const Setting &setting, const EntrySink &sink)
{
    const bool worldMap = setting.start == Start::FromScript ? startsOnWorldMap(lines, setting)
                                                             : setting.start == Start::WorldMap;
    std::vector<Outcome> outcomes;
    Player first(setting, worldMap, outcomes, nullptr);
    lines([&first](const ScriptLine &line) { first.play(line); });
    Summary summary = first.finish();
    summary.startsOnWorldMap = worldMap;
    Player second(setting, worldMap, outcomes, &sink);
    lines([&second](const ScriptLine &line) { second.play(line); });
    return summary;
}

Timeline computeTimeline(const ScriptLines &lines, const Setting &setting)
{
    Timeline timeline;
    static_cast<Summary &>(timeline) = timeLines(
        lines, setting, [&timeline](Entry &&entry) { timeline.entries.push_back(std::move(entry)); });
    return timeline;
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

namespace {

// m:ss.sss of a frame count, in whole numbers: a long script's timeline prints millions
// of these.
void appendFrameClock(std::string &text, std::int32_t frames)
{
    const std::int64_t milliseconds = frameMilliseconds(frames);
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, milliseconds / 60000);
    text.append(digits, end);
    const auto rest = static_cast<int>(milliseconds % 60000);
    const char tail[] = {':',
                         static_cast<char>('0' + rest / 10000),
                         static_cast<char>('0' + rest / 1000 % 10),
                         '.',
                         static_cast<char>('0' + rest / 100 % 10),
                         static_cast<char>('0' + rest / 10 % 10),
                         static_cast<char>('0' + rest % 10)};
    text.append(tail, sizeof tail);
}

} // namespace

void appendMomentText(std::string &text, const std::optional<Moment> &moment)
{
    if (!moment) {
        text += "never";
        return;
    }
    if (moment->unknowns)
        text += "\u2265 ";
    appendFrameClock(text, moment->least);
    if (moment->isRange()) {
        text += " to ";
        appendFrameClock(text, moment->high);
    }
}

std::string momentText(const Moment &moment)
{
    std::string text;
    appendMomentText(text, moment);
    return text;
}

std::string momentText(const std::optional<Moment> &moment)
{
    std::string text;
    appendMomentText(text, moment);
    return text;
}

} // namespace cw::timeline
