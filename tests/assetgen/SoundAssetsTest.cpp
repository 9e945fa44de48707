#include "SoundAssets.h"
#include "AssetWriters.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>
#include <sndfile.hh>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Clip {
    int rate = 0, channels = 0;
    std::vector<float> samples;
};

// Every sound, generated afresh and read back from its file.
std::map<std::string, Clip> generateSounds() {
    zarn::test::TempDirectory directory;
    EXPECT_TRUE(assetgen::writeSoundAssets(directory.path()));
    std::map<std::string, Clip> clips;
    for (const assetgen::SoundAsset& asset : assetgen::soundAssets) {
        const std::string name(asset.name);
        SndfileHandle file((directory.path() / "sounds" / (name + ".wav")).string());
        Clip& clip = clips[name];
        clip.rate = file.samplerate();
        clip.channels = file.channels();
        clip.samples.resize(std::size_t(file.frames() * file.channels()));
        file.read(clip.samples.data(), sf_count_t(clip.samples.size()));
    }
    return clips;
}

// Zero crossings per second between two fractions of the clip: a rough pitch.
double crossingRate(const Clip& clip, double from = 0.0, double to = 1.0) {
    const std::size_t begin = std::size_t(from * double(clip.samples.size()));
    const std::size_t end = std::size_t(to * double(clip.samples.size()));
    int crossings = 0;
    for (std::size_t i = begin + 1; i < end; ++i)
        crossings += (clip.samples[i - 1] < 0.0f) != (clip.samples[i] < 0.0f);
    return crossings * 44100.0 / double(end - begin);
}

} // namespace

TEST(SoundAssets, EverySoundIsAShortMonoClipBelowFullScaleWithoutOffsetOrClicks) {
    const std::map<std::string, Clip> clips = generateSounds();
    for (const assetgen::SoundAsset& asset : assetgen::soundAssets) {
        const Clip& clip = clips.at(std::string(asset.name));
        SCOPED_TRACE(asset.name);
        EXPECT_EQ(clip.rate, 44100);
        EXPECT_EQ(clip.channels, 1);
        const double seconds = double(clip.samples.size()) / 44100.0;
        ASSERT_GE(seconds, 0.04);
        EXPECT_LE(seconds, 2.5);

        // Roughness: how far a sample strays from the line through its neighbours.
        const std::size_t n = clip.samples.size();
        auto roughness = [&](std::size_t i) {
            return std::abs(clip.samples[(i + n - 1) % n] - 2.0f * clip.samples[i] +
                            clip.samples[(i + 1) % n]);
        };
        double peak = 0.0, energy = 0.0, sum = 0.0, roughest = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            const double sample = clip.samples[i];
            peak = std::max(peak, std::abs(sample));
            energy += sample * sample;
            sum += sample;
            if (i > 0 && i + 1 < n)
                roughest = std::max(roughest, double(roughness(i)));
        }
        const double peakDb = 20.0 * std::log10(peak);
        EXPECT_GT(peakDb, -6.0);
        EXPECT_LT(peakDb, -0.5);
        EXPECT_GT(10.0 * std::log10(energy / double(n)), -26.0) << "mostly silent";
        EXPECT_LT(std::abs(sum / double(n)), 1e-3) << "offset from zero";
        if (asset.loops) {
            // Played again and again, the seam is no rougher than the clip within.
            EXPECT_LE(std::max(roughness(n - 1), roughness(0)), roughest);
        } else {
            EXPECT_LT(std::abs(clip.samples.front()), 1e-3);
            EXPECT_LT(std::abs(clip.samples.back()), 1e-3);
        }
    }
}

TEST(SoundAssets, SoundsLieHighOrLowAndRiseOrFallAsTheirNamesSay) {
    const std::map<std::string, Clip> clips = generateSounds();
    // A low horn against a tick, a rumble against a blip, a thud against a
    // clack, grass against planks.
    for (const auto& [low, high] : {std::pair{"time_up", "tick"},
                                    {"ball_roll", "cell_change"},
                                    {"tile_blocked", "ball_hit"},
                                    {"figure_land", "figure_board"}})
        EXPECT_LT(2.0 * crossingRate(clips.at(low)), crossingRate(clips.at(high)))
            << low << " against " << high;
    for (const char* falling : {"time_up", "crossing_failed", "ball_trap"})
        EXPECT_GT(crossingRate(clips.at(falling), 0.0, 0.25),
                  1.2 * crossingRate(clips.at(falling), 0.75, 1.0))
            << falling;
    EXPECT_LT(1.2 * crossingRate(clips.at("ball_goal"), 0.0, 0.25),
              crossingRate(clips.at("ball_goal"), 0.75, 1.0));
}
