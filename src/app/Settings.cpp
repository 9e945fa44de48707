#include "app/Settings.h"

#include <INIReader.h>

#include <algorithm>
#include <climits>
#include <iostream>

namespace zarn {

namespace {

// The reader gives a long; a value outside int saturates rather than wraps,
// so that 2^32 + 800 cannot pass for 800.
int readInt(const INIReader& reader, const char* section, const char* key, int fallback) {
    return int(std::clamp<long>(reader.GetInteger(section, key, fallback), INT_MIN, INT_MAX));
}

} // namespace

Settings loadSettings(const std::string& path) {
    const Settings defaults;
    const INIReader reader(path);
    if (reader.ParseError() < 0) {
        std::cout << "ERROR: Failed to load '" << path << "'. Using default values instead."
                  << std::endl;
        return defaults;
    }

    Settings settings;
    settings.width = readInt(reader, "window", "width", defaults.width);
    settings.height = readInt(reader, "window", "height", defaults.height);
    settings.refreshRate = readInt(reader, "window", "refresh_rate", defaults.refreshRate);
    settings.fullscreen = reader.GetBoolean("window", "fullscreen", defaults.fullscreen);
    settings.title = reader.Get("window", "title", defaults.title);
    settings.fov = float(reader.GetReal("camera", "fov", defaults.fov));
    settings.nearPlane = float(reader.GetReal("camera", "near", defaults.nearPlane));
    settings.farPlane = float(reader.GetReal("camera", "far", defaults.farPlane));
    return settings;
}

std::optional<std::string> windowSizeError(const Settings& settings, const std::string& path) {
    const auto fits = [](int edge) {
        return edge >= 1 && edge <= maxWindowEdge;
    };
    if (fits(settings.width) && fits(settings.height))
        return std::nullopt;
    return "Invalid window size " + std::to_string(settings.width) + " x " +
           std::to_string(settings.height) + " in '" + path + "'. Width and height must be 1 to " +
           std::to_string(maxWindowEdge) + ".";
}

} // namespace zarn
