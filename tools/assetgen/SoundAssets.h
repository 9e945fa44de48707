#pragma once

#include "sound/SoundNames.h"

#include <array>
#include <string_view>

namespace assetgen {

// The game's sounds, each written as sounds/<name>.wav below the asset root:
// mono 16-bit PCM at soundSampleRate. A sound that loops runs from its end
// straight into its start; every other one starts and ends in silence.
struct SoundAsset {
    std::string_view name;
    bool loops = false;
};

inline constexpr int soundSampleRate = 44100;

// The game's own list of sounds, the roll the one that loops.
inline constexpr std::array<SoundAsset, zarn::soundCount> soundAssets = [] {
    std::array<SoundAsset, zarn::soundCount> assets{};
    for (std::size_t k = 0; k < zarn::soundCount; ++k)
        assets[k] = {zarn::soundNames[k], k == std::size_t(zarn::Sound::BallRoll)};
    return assets;
}();

} // namespace assetgen
