#include "app/Settings.h"

#include <INIReader.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iostream>

namespace zarn {

namespace {

// The reader gives a long; a value outside int saturates rather than wraps,
// so that 2^32 + 800 cannot pass for 800.
int readInt(const INIReader& reader, const char* section, const char* key, int fallback) {
    return int(std::clamp<long>(reader.GetInteger(section, key, fallback), INT_MIN, INT_MAX));
}

// A setting whose value must pass `allowed`: anything else, a word
// included, is named in one message and gives way to the default.
int readChoice(const INIReader& reader, const std::string& path, const char* section,
               const char* key, int fallback, bool (*allowed)(long), const char* choices) {
    const std::string text = reader.Get(section, key, "");
    if (text.empty())
        return fallback;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (*end == '\0' && allowed(value))
        return int(value);
    std::cout << "ERROR: Invalid " << key << " = " << text << " in '" << path << "'. Use "
              << choices << "; using " << fallback << "." << std::endl;
    return fallback;
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
    settings.antialiasing = readChoice(
        reader, path, "graphics", "antialiasing", defaults.antialiasing,
        [](long value) { return value == 0 || value == 2 || value == 4; }, "0, 2 or 4");
    settings.shadowMapSize = readChoice(
        reader, path, "graphics", "shadow_map_size", defaults.shadowMapSize,
        [](long value) { return value >= 256 && value <= 4096 && (value & (value - 1)) == 0; },
        "256, 512, 1024, 2048 or 4096");
    settings.volume = readChoice(
        reader, path, "sound", "volume", defaults.volume,
        [](long value) { return value >= 0 && value <= 100; }, "0 to 100");
    // inih reads a word it does not know as the default: say so first.
    const std::string enabled = reader.Get("sound", "enabled", "");
    settings.sound = reader.GetBoolean("sound", "enabled", defaults.sound);
    if (!enabled.empty() &&
        reader.GetBoolean("sound", "enabled", !defaults.sound) != settings.sound)
        std::cout << "ERROR: Invalid enabled = " << enabled << " in '" << path
                  << "'. Use true or false; using true." << std::endl;
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
