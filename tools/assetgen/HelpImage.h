#pragma once

#include "ImageCanvas.h"

#include <array>
#include <filesystem>

namespace assetgen {

inline constexpr int helpImageWidth = 600;
inline constexpr int helpImageHeight = 540;

// One line of the controls panel: the keys and what they do.
struct HelpEntry {
    const char* keys;
    const char* action;
};

inline constexpr std::array<HelpEntry, 16> helpEntries = {{
    {"Right mouse drag", "Turn the cube"},
    {"Mouse wheel", "Zoom in and out"},
    {"Left click", "Play: click a piece or a cell"},
    {"Arrow keys", "Roll the ball"},
    {"Backspace", "Ball back to its start"},
    {"H", "Hint for the face in view"},
    {"M", "Sound off or on"},
    {"P", "Pause or resume"},
    {"R", "Play again"},
    {"Enter", "Play again when the game is over"},
    {"F1", "Show or hide this help"},
    {"F5", "Wireframe on or off"},
    {"F6", "Face culling on or off"},
    {"F7", "Statistics on or off"},
    {"F11", "Full screen on or off"},
    {"Escape", "Quit the game"},
}};

// Renders the opaque controls panel with the font at fontFile. Prints the
// reason and returns false when the font cannot be loaded.
bool renderHelpImage(const std::filesystem::path& fontFile, ImageCanvas& image);

} // namespace assetgen
