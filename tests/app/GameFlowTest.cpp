#include "session/GameFlow.h"
#include "app/FrameRateCounter.h"
#include "session/PhysicsCatchUp.h"

#include <gtest/gtest.h>

using namespace zarn;

TEST(GameFlowTest, CountdownFormatAndClock) {
    EXPECT_EQ(formatRemainingTime(300), "5:00");
    EXPECT_EQ(formatRemainingTime(65), "1:05");
    EXPECT_EQ(formatRemainingTime(70), "1:10"); // ten seconds take no padding
    EXPECT_EQ(formatRemainingTime(59), "0:59");
    EXPECT_EQ(formatRemainingTime(0), "0:00");
    // Whole seconds since start-up, never negative.
    EXPECT_EQ(remainingSecondsAt(0.999), 300);
    EXPECT_EQ(remainingSecondsAt(1.0), 299);
    EXPECT_EQ(remainingSecondsAt(299.999), 1);
    EXPECT_EQ(remainingSecondsAt(4000.0), 0);
    EXPECT_EQ(remainingSecondsAt(1e300), 0);
    // Five items win, even as the time runs out; four do not.
    EXPECT_EQ(decideGameState(5, 0), GameState::Won);
    EXPECT_EQ(decideGameState(4, 1), GameState::Running);
    EXPECT_EQ(decideGameState(4, 0), GameState::TimeUp);
}

TEST(FrameRateCounterTest, ZeroUntilTheSixtiethFrameThenFromItsFirst59) {
    FrameRateCounter counter;
    for (int frame = 1; frame <= 59; ++frame) {
        counter.addFrame(frame == 59 ? 0.5f : 1.0f / 60.0f);
        ASSERT_EQ(counter.fps, 0) << "frame " << frame;
    }
    // The 60th frame's own time is not averaged: 58/60 s + 0.5 s over 59 frames.
    counter.addFrame(10.0f);
    EXPECT_EQ(counter.fps, 40);
    for (int frame = 0; frame < 60; ++frame)
        counter.addFrame(0.01f);
    EXPECT_EQ(counter.fps, 100);
}

TEST(FrameRateCounterTest, StalledClockGivesZeroNotGarbage) {
    FrameRateCounter counter;
    for (int frame = 0; frame < 60; ++frame)
        counter.addFrame(0.0f);
    EXPECT_EQ(counter.fps, 0);
}

TEST(PhysicsCatchUpTest, StepsPer16MillisecondsWithTheRemainderCarried) {
    PhysicsCatchUp clock(1000);
    EXPECT_EQ(clock.stepsDue(1016), 0); // 16 ms or less runs nothing
    EXPECT_EQ(clock.stepsDue(1100), 6); // 100 ms: six steps, 4 ms carried
    EXPECT_EQ(clock.lastClock, 1096);
    EXPECT_EQ(clock.stepsDue(1113), 1);
    EXPECT_EQ(clock.stepsDue(17112), 1000); // a long stall is made up at once
}
