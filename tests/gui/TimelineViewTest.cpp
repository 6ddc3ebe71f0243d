#include "gui/timeline/TimelineView.h"

#include "core/strings/GameStrings.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace cw {
namespace {

using namespace timeline;

QAbstractButton *blockNamed(const QWidget &view, const QString &start)
{
    for (QAbstractButton *block : view.findChildren<QAbstractButton *>()) {
        if (block->isVisible() && block->accessibleName().startsWith(start))
            return block;
    }
    return nullptr;
}

Timeline timed(const char *script, const GameStrings &strings)
{
    return computeTimeline(linesOfFile(script), Setting{&strings, nullptr, Start::Location, {}});
}

TEST(TimelineView, titleEndsWithTheTotal_andAClickedBlockAsksForItsRow)
{
    const GameStrings strings({}, std::string(), "A 123456789012345\n");
    gui::TimelineView view;
    view.resize(600, 300);
    view.show();
    view.setTimeline(
        timed("CamBuildingFocus 1 1 1\n\nSay A\n\nWait 3\n\n\n\nWaitRocket 1 Ready 0\n", strings),
        QStringLiteral("intro.txt"));
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Timeline - intro.txt: \u2265 3.1 s"));
    // A on frame 2 for 97 frames; the wait from frame 4 to 184.
    view.setTimeline(timed("CamBuildingFocus 1 1 1\n\nSay A\n\nWait 3\n", strings),
                     QStringLiteral("intro.txt"));
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Timeline - intro.txt: 3.1 s"));

    QSignalSpy asked(&view, &gui::TimelineView::rowActivated);
    QAbstractButton *caption =
        blockNamed(view, QStringLiteral("Line 3, Say: caption from 0:00.033 to 0:01.650"));
    QAbstractButton *pause = blockNamed(view, QStringLiteral("Line 5, Wait: the script pauses"));
    ASSERT_TRUE(caption && pause);
    EXPECT_EQ(blockNamed(view, QStringLiteral("Line 9")), nullptr);
    EXPECT_LT(caption->geometry().left(), pause->geometry().left());
    QTest::mouseClick(pause, Qt::LeftButton);
    QTest::mouseClick(caption, Qt::LeftButton);
    ASSERT_EQ(asked.count(), 2);
    EXPECT_EQ(asked.at(0).at(0).toInt(), 4);
    EXPECT_EQ(asked.at(1).at(0).toInt(), 2);

    // The last of the grid's 100 lines is a block like any other.
    const std::string last = std::string(99, '\n') + "Wait 1\n";
    view.setTimeline(timed(last.c_str(), strings), QStringLiteral("intro.txt"));
    QAbstractButton *lastBlock = blockNamed(view, QStringLiteral("Line 100, Wait"));
    ASSERT_TRUE(lastBlock);
    QTest::mouseClick(lastBlock, Qt::LeftButton);
    ASSERT_EQ(asked.count(), 3);
    EXPECT_EQ(asked.at(2).at(0).toInt(), 99);
}

TEST(TimelineView, aRangeIsSolidToItsEarliestEnd_andFadedToItsLatest)
{
    // K lasts 133 to 193 frames from frame 0, as the camera's mode is not known; the
    // wait runs from frame 1 to 193.
    const GameStrings strings({}, std::string(), "K 123456789012345678901234567890\n");
    gui::TimelineView view;
    view.resize(800, 300);
    view.show();
    view.setTimeline(timed("Say K\nWait 3.2\n", strings), QStringLiteral("range.txt"));
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Timeline - range.txt: 3.2 s"));
    QAbstractButton *caption = blockNamed(
        view, QStringLiteral("Line 1, Say: caption from 0:00.000 to between 0:02.217 and 0:03.217"));
    QAbstractButton *pause = blockNamed(view, QStringLiteral("Line 2, Wait"));
    ASSERT_TRUE(caption && pause);
    EXPECT_EQ(caption->geometry().right(), pause->geometry().right());

    const QImage drawn = caption->grab().toImage();
    const int width = drawn.width();
    const double solidEnd = 133.0 / 193.0; // of the block's width
    const QColor solid = drawn.pixelColor(static_cast<int>(width * (solidEnd - 0.05)), 3);
    const QColor faded = drawn.pixelColor(static_cast<int>(width * (solidEnd + 0.05)), 3);
    EXPECT_EQ(solid, drawn.pixelColor(static_cast<int>(width * 0.1), 3));
    EXPECT_NE(solid, faded);
}

} // namespace
} // namespace cw
