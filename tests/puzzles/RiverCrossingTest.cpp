#include "puzzles/RiverCrossing.h"

#include <gtest/gtest.h>

using namespace zarn;

namespace {

using Move = RiverCrossing::Move;
constexpr int bear = RiverCrossing::bear, rabbit = RiverCrossing::rabbit,
              carrot = RiverCrossing::carrot;

// Clicks as the player makes them: a figure's spot on the boat's bank, the
// arrow, the boat where it is moored.
struct Player {
    RiverCrossing game;
    Move boardFrom(int figure) { return game.play(figure, game.boatAtStart ? 0 : 2, false); }
    Move crossOver() { return game.play(1, 1, false); }
    Move unload() { return game.play(game.boatAtStart ? 0 : 2, 1, false); }
    void take(int figure) {
        EXPECT_EQ(boardFrom(figure), Move::Board);
        EXPECT_EQ(crossOver(), Move::Cross);
        EXPECT_EQ(unload(), Move::Unload);
    }
    std::array<int, 3> places() const {
        return {game.figures[0].place, game.figures[1].place, game.figures[2].place};
    }
    std::array<int, 3> lanes() const {
        return {game.figures[0].lane, game.figures[1].lane, game.figures[2].lane};
    }
};

void expectFullReset(const RiverCrossing& game) {
    for (const RiverCrossing::Figure& figure : game.figures)
        EXPECT_TRUE(figure.place == -10 && figure.lane == figure.homeLane);
    EXPECT_TRUE(game.boatAtStart);
    EXPECT_FALSE(game.boatLoaded);
    EXPECT_FLOAT_EQ(game.messageSeconds, 3.0f);
}

} // namespace

TEST(RiverCrossingTest, LeavingRabbitWithCarrotOrBearWithRabbitFailsAndResets) {
    Player player;
    player.boardFrom(bear);
    EXPECT_EQ(player.game.figures[bear].place, RiverCrossing::boatAtStartBank);
    EXPECT_EQ(player.lanes(), (std::array<int, 3>{0, 0, -1})) << "the bear sits in the boat";
    player.crossOver();
    EXPECT_EQ(player.game.message, "The rabbit ate the carrot!");
    expectFullReset(player.game);
    EXPECT_EQ(player.game.passenger, bear) << "the reset keeps the latest passenger";

    Player other;
    other.boardFrom(carrot);
    other.crossOver();
    EXPECT_EQ(other.game.message, "The bear ate the rabbit!");
    expectFullReset(other.game);
}

// The failure's message is the latest crossing's: a safe crossing after a
// failure clears it and leaves everyone where they are.
TEST(RiverCrossingTest, AFailureDoesNotSpoilTheNextSafeCrossing) {
    Player player;
    player.boardFrom(carrot);
    player.crossOver();
    ASSERT_EQ(player.game.message, "The bear ate the rabbit!");
    player.take(rabbit);
    EXPECT_EQ(player.game.message, "");
    EXPECT_EQ(player.places(), (std::array<int, 3>{-10, 10, -10}));
    EXPECT_FALSE(player.game.boatAtStart);
}

TEST(RiverCrossingTest, SevenCrossingsSolveAtTheLastUnloadAndLaterClicksDoNothing) {
    Player player;
    player.take(rabbit);
    player.crossOver();
    player.take(bear);
    player.take(rabbit);
    player.take(carrot);
    player.crossOver();
    player.boardFrom(rabbit);
    player.crossOver();
    EXPECT_FALSE(player.game.solved);
    EXPECT_EQ(player.unload(), Move::Unload);
    EXPECT_TRUE(player.game.solved);
    EXPECT_EQ(player.game.message, "");
    EXPECT_EQ(player.places(), (std::array<int, 3>{10, 10, 10}));
    EXPECT_EQ(player.lanes(), (std::array<int, 3>{1, 0, -1})) << "each back in its own lane";
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(player.game.play(row, column, false), Move::None);
}

// All three together are safe; the bear unloads next to the rabbit without
// harm, and only the boat leaving them there fails.
TEST(RiverCrossingTest, OnlyACrossingChecksTheBanks) {
    Player player;
    player.crossOver();
    player.crossOver();
    EXPECT_EQ(player.game.message, "");
    player.take(rabbit);
    player.crossOver();
    player.take(bear);
    EXPECT_EQ(player.game.message, "");
    EXPECT_EQ(player.places(), (std::array<int, 3>{10, 10, -10}));
    player.crossOver();
    EXPECT_EQ(player.game.message, "The bear ate the rabbit!");
    expectFullReset(player.game);
}

TEST(RiverCrossingTest, AFailureDuringTheMessageRestartsItsThreeSeconds) {
    Player player;
    player.boardFrom(bear);
    player.crossOver();
    player.game.update(1.0f);
    EXPECT_FLOAT_EQ(player.game.messageSeconds, 2.0f);
    player.boardFrom(carrot);
    player.crossOver();
    EXPECT_FLOAT_EQ(player.game.messageSeconds, 3.0f);
    player.game.update(3.25f);
    player.game.update(1.0f);
    EXPECT_FLOAT_EQ(player.game.messageSeconds, -0.25f) << "an ended message stays ended";
}

TEST(RiverCrossingTest, BusyOrMisplacedClicksChangeNothing) {
    Player player;
    EXPECT_EQ(player.game.play(rabbit, 0, true), Move::None);
    EXPECT_EQ(player.game.play(1, 1, true), Move::None);
    EXPECT_EQ(player.game.play(rabbit, 2, false), Move::None) << "the rabbit is not there";
    EXPECT_EQ(player.game.play(0, 1, false), Move::None) << "nobody to unload";
    EXPECT_EQ(player.places(), (std::array<int, 3>{-10, -10, -10}));
    EXPECT_TRUE(player.game.boatAtStart);

    player.boardFrom(rabbit);
    EXPECT_EQ(player.boardFrom(bear), Move::None) << "one seat";
    EXPECT_EQ(player.game.play(0, 1, true), Move::None);
    player.crossOver();
    EXPECT_EQ(player.game.play(0, 1, false), Move::None) << "the boat is at the far bank";
    EXPECT_EQ(player.places(), (std::array<int, 3>{-10, 3, -10}));
}
