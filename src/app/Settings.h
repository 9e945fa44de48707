#pragma once

#include <optional>
#include <string>

namespace zarn {

// Window, camera, graphics and sound settings: the run-time tree's
// settings.ini, with the player's own file over it.
struct Settings {
    int width = 800;
    int height = 800;
    int refreshRate = 60;
    bool fullscreen = false;
    std::string title = "Zarn";
    float fov = 60.0f; // vertical, degrees
    float nearPlane = 0.1f;
    float farPlane = 100.0f;
    // Samples per pixel (0, 2 or 4): fewer cost far less without a GPU.
    int antialiasing = 4;
    // Texels along each edge of the maze's shadow map, a power of two from
    // 256 to 4096.
    int shadowMapSize = 1024;
    // Loudness of everything, 0 to 100, and whether the game plays sound.
    int volume = 80;
    bool sound = true;
    // The file the window size came from, for a message about it.
    std::string sizeFile;
};

// Largest window edge: the largest viewport and renderbuffer OpenGL 4.3
// guarantees, and well inside what X11 can address (its sizes are 16-bit and
// wrap beyond that).
inline constexpr int maxWindowEdge = 16384;

// Reads the file with inih's rules: integers through strtol in base 0, reals
// through strtod, booleans true/yes/on/1 and false/no/off/0 in any case; a
// missing key or an unparsable value keeps the default. A file that cannot be
// opened prints a message and gives the defaults; a malformed line keeps
// whatever was read. Integers beyond the 32-bit range saturate. A graphics
// value that is not one of its choices prints a message naming the key and
// the value, and keeps the default; so does a sound value.
//
// The player's file at userPath, when there is one, is read the same way
// over the first: only the keys it sets change, and its messages name it.
Settings loadSettings(const std::string& path, const std::string& userPath = "");

// The player's settings: $XDG_CONFIG_HOME/zarn/settings.ini, or
// ~/.config/zarn/settings.ini when the variable is unset or empty.
std::string userSettingsPath();

// The reason a window of the settings' size cannot be opened (an edge below 1
// or above maxWindowEdge), or nothing when it can.
std::optional<std::string> windowSizeError(const Settings& settings);

} // namespace zarn
