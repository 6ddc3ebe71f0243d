#include "core/timeline/CaptionScene.h"

#include "core/strings/GameStrings.h"

#include <gtest/gtest.h>

namespace cw::timeline {
namespace {

std::vector<std::string> texts(const CaptionScene &scene)
{
    std::vector<std::string> lines;
    for (const SceneLine &line : scene.lines)
        lines.push_back((line.first ? "> " : "") + line.text);
    return lines;
}

PlayedCaption caption(int line, std::string text, CaptionMode mode, double said, double begin,
                      std::optional<double> end)
{
    return {line, std::move(text), mode, false, said, begin, end};
}

// What the box shows at a moment: the typing at TextSpeed / 0.6 characters a second, the
// normal box's older captions above (gone after 20 s), the queue the hint counts.
TEST(CaptionScene, typesAtTheGamesSpeed_keepsOlderCaptionsInTheNormalBox_countsTheQueue)
{
    const std::string longWord(60, 'w');
    PlayedCaptions played;
    played.captions = {
        caption(1, "Hello words", CaptionMode::Normal, 0, 0, 1),
        caption(2, "Second", CaptionMode::Normal, 0, 1, 2),
        caption(3, "Third", CaptionMode::Normal, 0.5, 2, 3),
        caption(9, "Much later", CaptionMode::Normal, 40, 40, 41),
        caption(10, "Big " + longWord, CaptionMode::Cutscene, 41, 41, std::nullopt),
    };
    const struct
    {
        std::size_t current;
        double elapsed; // negative: typed out
        std::vector<std::string> lines;
        int queued;
        bool typing;
    } cases[] = {
        {0, 0, {"> "}, 1, true},
        {0, 0.2, {"> Hello"}, 1, true}, // 5 characters at 25 a second
        {0, -1, {"> Hello words"}, 1, false},
        {1, 0.1, {"> Hello words", "> Se"}, 1, true}, // the third is said at 0.5 s
        {2, -1, {"> Hello words", "> Second", "> Third"}, 0, false},
        {3, -1, {"> Much later"}, 0, false},                        // what ended 20 s ago is gone
        {4, -1, {"> Big", "www" + std::string(50, 'w')}, 0, false}, // cutscene: no history
    };
    for (const auto &c : cases) {
        const CaptionScene scene = sceneAt(played, c.current, c.elapsed, 15);
        EXPECT_EQ(texts(scene), c.lines) << c.current << " at " << c.elapsed;
        EXPECT_EQ(scene.queued, c.queued) << c.current;
        EXPECT_EQ(scene.typing, c.typing) << c.current;
    }
    // The older caption fades as it ages.
    EXPECT_DOUBLE_EQ(sceneAt(played, 1, 0.5, 15).lines.front().opacity, 1 - 0.5 / kCaptionHistorySeconds);
}

TEST(CaptionScene, theTimelinesCaptions_inTheirModes_andTheSkipHintAfterPermitEscape)
{
    const GameStrings strings({}, std::string("hello Hello there\nbye Good bye\n"), "");
    const std::string script = "Say hello\nPermitEscape\nCamBuildingFocus 4 300 120\nSay bye\n";
    const Timeline timeline = computeTimeline(linesOfFile(script), {&strings, nullptr, Start::Location, ""});
    const PlayedCaptions played = playedCaptions(timeline, CaptionMode::Normal);
    ASSERT_EQ(played.captions.size(), 2U);
    EXPECT_EQ(played.captions[0].text, "Hello there");
    EXPECT_EQ(played.captions[1].line, 4);
    EXPECT_EQ(played.captions[1].mode, CaptionMode::Cutscene); // the camera focuses a building
    EXPECT_FALSE(played.captions[1].eitherMode);
    ASSERT_TRUE(played.escapePermitted);
    EXPECT_FALSE(sceneAt(played, 0, 0, 15).skipAll);
    EXPECT_TRUE(sceneAt(played, 1, 0, 15).skipAll);
    EXPECT_EQ(playedCaptions(timeline, CaptionMode::Normal, CaptionMode::Normal).captions[1].mode,
              CaptionMode::Normal);
}

} // namespace
} // namespace cw::timeline
