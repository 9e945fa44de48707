#include "puzzles/ButtonSwitch.h"
#include "puzzles/PanelQueue.h"

#include <gtest/gtest.h>

using namespace zarn;

TEST(ButtonSwitchTest, EveryHitPressesButOnlyAnArmedPressTriggers) {
    ButtonSwitch button;
    EXPECT_FALSE(button.click(false, true)) << "a miss does nothing";
    EXPECT_TRUE(button.click(true, true));
    EXPECT_FALSE(button.triggered) << "not armed: it animates, nothing more";
    EXPECT_FALSE(button.click(true, true)) << "while pressing";
    EXPECT_FALSE(button.release(false)) << "the press is still running";
    EXPECT_TRUE(button.release(true));
    EXPECT_FALSE(button.pressed);
    EXPECT_FALSE(button.click(true, false)) << "while releasing";

    // Arming afterwards does not count the earlier press.
    button.armed = true;
    EXPECT_FALSE(button.triggered);
    EXPECT_TRUE(button.click(true, true));
    EXPECT_TRUE(button.triggered);
    button.release(true);
    button.armed = false;
    EXPECT_TRUE(button.triggered) << "it latches";
}

TEST(PanelQueueTest, PiecesSlideOnceEachOneAtATimeLastRequestedFirst) {
    PanelQueue panel;
    EXPECT_EQ(panel.next(true), 0);
    panel.request(2);
    panel.request(5);
    panel.request(2);
    EXPECT_EQ(panel.next(false), 0) << "one slide at a time";
    EXPECT_EQ(panel.next(true), 5);
    panel.request(5); // sliding: ignored
    panel.request(4);
    EXPECT_EQ(panel.next(true), 4);
    EXPECT_EQ(panel.next(true), 2);
    EXPECT_EQ(panel.next(true), 0);
    for (int piece : {0, 2, 4, 5, 6})
        panel.request(piece);
    EXPECT_TRUE(panel.queue.empty()) << "pieces that are out, and bad numbers";
}
