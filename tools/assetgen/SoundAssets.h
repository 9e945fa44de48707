#pragma once

#include <array>
#include <string_view>

namespace assetgen {

// The game's sounds, each written as sounds/<name>.wav below the asset root:
// mono 16-bit PCM at soundSampleRate. A sound that loops runs from its end
// straight into its start; every other one starts and ends in silence.
struct SoundAsset {
    std::string_view name;
    bool loops;
};

inline constexpr int soundSampleRate = 44100;

inline constexpr std::array soundAssets = {
    SoundAsset{"tile_slide", false},
    SoundAsset{"tile_blocked", false},
    SoundAsset{"figure_board", false},
    SoundAsset{"figure_land", false},
    SoundAsset{"boat_cross", false},
    SoundAsset{"crossing_failed", false},
    SoundAsset{"cell_change", false},
    SoundAsset{"pair_joined", false},
    SoundAsset{"ball_roll", true},
    SoundAsset{"ball_hit", false},
    SoundAsset{"ball_trap", false},
    SoundAsset{"ball_goal", false},
    SoundAsset{"puzzle_solved", false},
    SoundAsset{"button_press", false},
    SoundAsset{"button_release", false},
    SoundAsset{"panel_slide", false},
    SoundAsset{"win", false},
    SoundAsset{"time_up", false},
    SoundAsset{"tick", false},
};

} // namespace assetgen
