#include "sound/GameSound.h"

#include "puzzles/BallGame.h"
#include "puzzles/MovingTiles.h"
#include "session/GameSession.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace zarn;

namespace {

constexpr double frameSeconds = 1.0 / 64.0;
constexpr int rate = 44100;
const glm::vec3 front(0.0f, 1.0f, 6.0f), behind(0.0f, 1.0f, -6.0f);

// A game heard through OpenAL Soft's loopback device: every frame's mix is
// rendered into memory.
class GameSoundTest : public testing::Test {
protected:
    void SetUp() override {
        auto device = SoundDevice::openLoopback(rate);
        ASSERT_TRUE(device) << "no ALC_SOFT_loopback";
        sound = std::make_unique<GameSound>(std::move(device), 100);
    }

    // The loudness (RMS) of the mix over the next `seconds` of play, heard
    // from eye.
    float play(double seconds, const glm::vec3& eye = front) {
        double sum = 0.0;
        std::size_t samples = 0;
        for (int frame = 0; frame < int(std::lround(seconds / frameSeconds)); ++frame) {
            session.advance(wall += frameSeconds);
            sound->update(session, session.takeEvents(), eye);
            for (const float sample : sound->device()->render(int(rate * frameSeconds)))
                sum += double(sample) * sample, ++samples;
        }
        return float(std::sqrt(sum / double(std::max<std::size_t>(samples, 1))));
    }

    PickRay tileRay(int slot) {
        const glm::vec3 at = MovingTiles::slotPosition({slot / 3, slot % 3});
        return {at + glm::vec3(0, 0, 4), {0, 0, -1}};
    }

    GameSession session{0.0};
    double wall = 0.0;
    std::unique_ptr<GameSound> sound;
};

constexpr float silence = 1e-4f;

} // namespace

// Silence before anything happens; a tile's slide where it moves, quieter
// from behind the cube; the roll louder as the ball speeds up; nothing while
// paused, and the roll again after.
TEST_F(GameSoundTest, EachSoundPlaysAtItsEventAndPauseSilencesIt) {
    EXPECT_LT(play(1.0), silence) << "the ball's drop onto its platform";
    session.click(tileRay(7));
    const float near = play(0.25);
    EXPECT_GT(near, 0.01f);
    EXPECT_LT(play(1.0), silence) << "the slide rings on";
    session.click(tileRay(6)); // back again, heard from behind the cube
    EXPECT_LT(play(0.25, behind), near * 0.5f);
    play(1.0);

    const glm::vec3 above(0.0f, 5.0f, 3.0f);
    session.pushBall(BallMaze::Arrow::Down, above); // off the platform, down the ramp
    play(0.3, above);
    const float slow = play(0.2, above);
    EXPECT_GT(slow, 0.005f);
    session.pushBall(BallMaze::Arrow::Down, above);
    session.pushBall(BallMaze::Arrow::Down, above);
    play(0.05, above);
    EXPECT_GT(play(0.2, above), slow * 1.3f);
    session.togglePause();
    EXPECT_LT(play(0.5, above), silence);
    session.togglePause();
    EXPECT_GT(play(0.1, above), 0.005f);
}

// A folder without the sounds names each missing file once; the game goes on
// silent.
TEST(GameSoundFilesTest, AMissingFileIsNamedOnceAndStaysSilent) {
    test::TempDirectory empty;
    std::unique_ptr<GameSound> sound;
    const std::string printed = test::captureStdout([&] {
        sound = std::make_unique<GameSound>(SoundDevice::openLoopback(rate), 100,
                                            empty.path().string());
    });
    EXPECT_NE(printed.find("Sound file '" + empty.path().string() +
                           "/tile_slide.wav' cannot be read; that sound stays silent.\n"),
              std::string::npos)
        << printed;
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), long(soundCount));
    GameSession session(0.0);
    session.click({MovingTiles::slotPosition({2, 1}) + glm::vec3(0, 0, 4), {0, 0, -1}});
    session.advance(0.1);
    sound->update(session, session.takeEvents(), front);
    for (const float sample : sound->device()->render(4410))
        ASSERT_EQ(sample, 0.0f);
}
