#pragma once

#include <string>

namespace zarn {

// Window and camera settings read from "assets/settings.ini".
struct Settings {
    int width = 800;
    int height = 800;
    int refreshRate = 60;
    bool fullscreen = false;
    std::string title = "Zarn";
    float fov = 60.0f; // vertical, degrees
    float nearPlane = 0.1f;
    float farPlane = 100.0f;
};

inline constexpr const char* settingsPath = "assets/settings.ini";

// Reads the file with inih's rules: integers through strtol in base 0, reals
// through strtod, booleans true/yes/on/1 and false/no/off/0 in any case; a
// missing key or an unparsable value keeps the default. A file that cannot be
// opened prints a message and gives the defaults; a malformed line keeps
// whatever was read.
Settings loadSettings(const std::string& path = settingsPath);

} // namespace zarn
