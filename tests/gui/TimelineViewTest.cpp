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

TEST(TimelineView, titleEndsWithTheTotal_andAClickedBlockAsksForItsRow)
{
    const GameStrings strings({}, std::string(), "K 123456789012345678901234567890\n");
    gui::TimelineView view;
    view.resize(600, 300);
    view.show();
    view.setTimeline(computeTimeline({{3, "Say K"}, {5, "Wait 2"}, {9, "WaitRocket 1 Ready 0"}}, strings),
                     QStringLiteral("intro.txt"));
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Timeline - intro.txt: \u2265 3.2 s"));
    view.setTimeline(computeTimeline({{3, "Say K"}, {5, "Wait 2"}}, strings), QStringLiteral("intro.txt"));
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Timeline - intro.txt: 3.2 s"));

    QSignalSpy asked(&view, &gui::TimelineView::rowActivated);
    QAbstractButton *caption =
        blockNamed(view, QStringLiteral("Line 3, Say: caption from 0:00.000 to 0:03.200"));
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
    view.setTimeline(computeTimeline({{100, "Wait 1"}}, strings), QStringLiteral("intro.txt"));
    QAbstractButton *last = blockNamed(view, QStringLiteral("Line 100, Wait"));
    ASSERT_TRUE(last);
    QTest::mouseClick(last, Qt::LeftButton);
    ASSERT_EQ(asked.count(), 3);
    EXPECT_EQ(asked.at(2).at(0).toInt(), 99);
}

} // namespace
} // namespace cw
