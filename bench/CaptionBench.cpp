// A caption past the 1,023 characters the game keeps: sentences of ordinary words, a
// key name, a phrase and a line break in each, so that expanding, breaking and
// wrapping all take their share.
#include "CaptionBench.h"

#include "Measure.h"

#include "core/strings/CaptionLayout.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
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

} // namespace cw::bench
