// A caption past the 1,023 characters the game keeps: sentences of ordinary words, a
// key name, a phrase and a line break in each, so that expanding, breaking and
// wrapping all take their share.
#include "CaptionBench.h"

#include "Measure.h"

#include "core/strings/CaptionLayout.h"
#include "core/timeline/CaptionScene.h"
#include "gui/timeline/CaptionPreview.h"

#include <QApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace cw::bench {
namespace {

// Enough layouts per timing that the clock's resolution does not count.
constexpr int kLayoutsPerRun = 2000;

std::string longCaption()
{
    std::string text;
    while (text.size() < 1200)
        text += "Press [KEYSepulvedaHelp] when you need me, and I will tell you about [part_gate] "
                "that the Darwinians built along the river.\\n";
    return text;
}

} // namespace

void captionFigures(int runs)
{
    const std::string text = longCaption();
    const PhraseLookup phrase = [](std::string_view name) {
        return name == "part_gate" ? GameStrings::Said{GameStrings::Found::Text, "the old gate"}
                                   : GameStrings::Said{GameStrings::Found::Missing, {}};
    };
    for (const CaptionMode mode : {CaptionMode::Normal, CaptionMode::Cutscene}) {
        std::vector<double> times;
        std::size_t lines = 0;
        bool cut = false;
        for (int run = 0; run < std::max(runs, 5); ++run) {
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < kLayoutsPerRun; ++i) {
                const CaptionLayout layout = layOutCaption(text, phrase, mode);
                lines += layout.lines.size();
                cut = layout.cut;
            }
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() /
                kLayoutsPerRun);
        }
        std::printf(
            "caption: a text of %zu characters expanded, cut at %zu and laid out in %s mode (%zu lines%s): "
            "%.4f ms median (target < 0.1 ms)\n",
            text.size(), kLongestCaption, mode == CaptionMode::Normal ? "normal" : "cutscene",
            lines / static_cast<std::size_t>(kLayoutsPerRun * std::max(runs, 5)), cut ? ", cut" : "",
            median(times));
    }
}

// One frame of the Caption panel while the user types or a script plays: the box's
// scene for the longest caption, with older captions above it in normal mode, drawn
// into the preview at the panel's size.
void captionPreviewFigures(int runs)
{
    std::unique_ptr<QApplication> app;
    if (!QApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "cuewright_bench";
        static char *argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
    }
    const std::string text = longCaption();
    timeline::PlayedCaptions played;
    for (int i = 0; i < 10; ++i)
        played.captions.push_back({i + 1, "An older caption of a few words", CaptionMode::Normal, false,
                                   i * 1.0, i * 1.0, i + 0.5});
    played.captions.push_back({11, text.substr(0, kLongestCaption), CaptionMode::Normal, false, 10, 10, 30});
    gui::CaptionPreview preview;
    preview.resize(640, 480);
    QImage frame(preview.size(), QImage::Format_ARGB32_Premultiplied);
    for (const CaptionMode mode : {CaptionMode::Normal, CaptionMode::Cutscene}) {
        for (timeline::PlayedCaption &caption : played.captions)
            caption.mode = mode;
        std::vector<double> times;
        for (int run = 0; run < std::max(runs, 5) * 20; ++run) {
            const auto start = std::chrono::steady_clock::now();
            // Typing: a few more characters each frame.
            preview.setScene(timeline::sceneAt(played, played.captions.size() - 1, run * 0.016, 15),
                             QStringLiteral("Press Return (3)"));
            preview.render(&frame);
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::printf("caption preview: one frame of the longest caption typing in %s mode, drawn at 640x480: "
                    "%.3f ms median (target < 16 ms)\n",
                    mode == CaptionMode::Normal ? "normal" : "cutscene", median(times));
    }
}

} // namespace cw::bench
