#include "app/GameFlow.h"
#include "app/FrameRateCounter.h"
#include "app/PhysicsCatchUp.h"

#include <gtest/gtest.h>

using namespace zarn;

TEST(GameFlowTest, CountdownFormat) {
    EXPECT_EQ(formatRemainingTime(300), "5:00");
    EXPECT_EQ(formatRemainingTime(65), "1:05");
    EXPECT_EQ(formatRemainingTime(60), "1:00");
    EXPECT_EQ(formatRemainingTime(59), "0:59");
    EXPECT_EQ(formatRemainingTime(9), "0:09");
    EXPECT_EQ(formatRemainingTime(0), "0:00");
}

TEST(GameFlowTest, CountdownUsesWholeSecondsSinceStartAndNeverGoesNegative) {
    EXPECT_EQ(remainingSecondsAt(0.0), 300);
    EXPECT_EQ(remainingSecondsAt(0.999), 300);
    EXPECT_EQ(remainingSecondsAt(1.0), 299);
    EXPECT_EQ(remainingSecondsAt(234.9), 66);
    EXPECT_EQ(remainingSecondsAt(299.999), 1);
    EXPECT_EQ(remainingSecondsAt(300.0), 0);
    EXPECT_EQ(remainingSecondsAt(4000.0), 0);
    EXPECT_EQ(remainingSecondsAt(1e300), 0);
}

TEST(GameFlowTest, WinningIsTestedBeforeTheTimeRunsOut) {
    EXPECT_EQ(decideGameState(5, 0), GameState::Won);
    EXPECT_EQ(decideGameState(5, 120), GameState::Won);
    EXPECT_EQ(decideGameState(4, 0), GameState::TimeUp);
    EXPECT_EQ(decideGameState(4, 1), GameState::Running);
    EXPECT_EQ(decideGameState(0, 300), GameState::Running);
}

TEST(GameFlowTest, ClickIsAPressEdge) {
    EXPECT_TRUE(isClick(false, true));
    EXPECT_FALSE(isClick(true, true)); // held down
    EXPECT_FALSE(isClick(true, false));
    // Press and release within one poll leave the flag as it was.
    EXPECT_FALSE(isClick(false, false));
}

TEST(FrameRateCounterTest, ZeroUntilTheSixtiethFrameThenFromTheFirst59) {
    FrameRateCounter counter;
    for (int frame = 1; frame <= 59; ++frame) {
        counter.addFrame(0.02f);
        EXPECT_EQ(counter.fps, 0) << "frame " << frame;
    }
    // The 60th frame's own time is not part of the average.
    counter.addFrame(10.0f);
    EXPECT_EQ(counter.fps, 50);
}

TEST(FrameRateCounterTest, EachCycleUsesOnlyItsOwnFrames) {
    FrameRateCounter counter;
    for (int frame = 0; frame < 60; ++frame)
        counter.addFrame(0.02f);
    ASSERT_EQ(counter.fps, 50);
    for (int frame = 0; frame < 59; ++frame) {
        counter.addFrame(0.01f);
        EXPECT_EQ(counter.fps, 50);
    }
    counter.addFrame(0.01f);
    EXPECT_EQ(counter.fps, 100);
}

TEST(FrameRateCounterTest, UnevenFramesAverageAndTruncate) {
    FrameRateCounter counter;
    // 58 frames of 1/60 s and one of 0.5 s: average 0.024859 s, 40.2 fps.
    for (int frame = 0; frame < 58; ++frame)
        counter.addFrame(1.0f / 60.0f);
    counter.addFrame(0.5f);
    counter.addFrame(0.0f);
    EXPECT_EQ(counter.fps, 40);
}

TEST(FrameRateCounterTest, StalledClockGivesZeroNotGarbage) {
    FrameRateCounter counter;
    for (int frame = 0; frame < 60; ++frame)
        counter.addFrame(0.0f);
    EXPECT_EQ(counter.fps, 0);
}

TEST(PhysicsCatchUpTest, HundredMillisecondsGiveSixStepsAndCarryFour) {
    PhysicsCatchUp clock(1000);
    EXPECT_EQ(clock.stepsDue(1100), 6);
    EXPECT_EQ(clock.lastClock, 1096);
    // The carried 4 ms count towards the next frame: 4 + 13 = 17 ms is one step.
    EXPECT_EQ(clock.stepsDue(1109), 0);
    EXPECT_EQ(clock.stepsDue(1113), 1);
    EXPECT_EQ(clock.lastClock, 1112);
}

TEST(PhysicsCatchUpTest, SixteenMillisecondsOrLessRunNothing) {
    PhysicsCatchUp clock(0);
    EXPECT_EQ(clock.stepsDue(0), 0);
    EXPECT_EQ(clock.stepsDue(16), 0);
    EXPECT_EQ(clock.lastClock, 0);
    EXPECT_EQ(clock.stepsDue(17), 1);
    EXPECT_EQ(clock.lastClock, 16);
}

TEST(PhysicsCatchUpTest, LongStallIsMadeUpInOneGo) {
    PhysicsCatchUp clock(0);
    EXPECT_EQ(clock.stepsDue(16000), 1000);
    EXPECT_EQ(clock.lastClock, 16000);
    EXPECT_EQ(clock.stepsDue(16020), 1);
}
