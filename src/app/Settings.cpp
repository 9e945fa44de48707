#include "app/Settings.h"

#include <INIReader.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
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

// Every key the file sets, over what `settings` holds already.
void readSettings(const INIReader& reader, const std::string& path, Settings& settings) {
    const Settings before = settings;
    settings.width = readInt(reader, "window", "width", before.width);
    settings.height = readInt(reader, "window", "height", before.height);
    if (settings.width != before.width || settings.height != before.height)
        settings.sizeFile = path;
    settings.refreshRate = readInt(reader, "window", "refresh_rate", before.refreshRate);
    settings.fullscreen = reader.GetBoolean("window", "fullscreen", before.fullscreen);
    settings.title = reader.Get("window", "title", before.title);
    settings.fov = float(reader.GetReal("camera", "fov", before.fov));
    settings.nearPlane = float(reader.GetReal("camera", "near", before.nearPlane));
    settings.farPlane = float(reader.GetReal("camera", "far", before.farPlane));
    settings.antialiasing = readChoice(
        reader, path, "graphics", "antialiasing", before.antialiasing,
        [](long value) { return value == 0 || value == 2 || value == 4; }, "0, 2 or 4");
    settings.shadowMapSize = readChoice(
        reader, path, "graphics", "shadow_map_size", before.shadowMapSize,
        [](long value) { return value >= 256 && value <= 4096 && (value & (value - 1)) == 0; },
        "256, 512, 1024, 2048 or 4096");
    settings.volume = readChoice(
        reader, path, "sound", "volume", before.volume,
        [](long value) { return value >= 0 && value <= 100; }, "0 to 100");
    // inih reads a word it does not know as the fallback: say so first.
    const std::string enabled = reader.Get("sound", "enabled", "");
    settings.sound = reader.GetBoolean("sound", "enabled", before.sound);
    if (!enabled.empty() && reader.GetBoolean("sound", "enabled", !before.sound) != settings.sound)
        std::cout << "ERROR: Invalid enabled = " << enabled << " in '" << path
                  << "'. Use true or false; using " << (before.sound ? "true" : "false") << "."
                  << std::endl;
}

} // namespace

Settings loadSettings(const std::string& path, const std::string& userPath) {
    Settings settings;
    settings.sizeFile = path;
    const INIReader reader(path);
    if (reader.ParseError() < 0)
        std::cout << "ERROR: Failed to load '" << path << "'. Using default values instead."
                  << std::endl;
    else
        readSettings(reader, path, settings);
    std::error_code error;
    if (!userPath.empty() && std::filesystem::exists(userPath, error)) {
        const INIReader user(userPath);
        if (user.ParseError() < 0)
            std::cout << "ERROR: Failed to load '" << userPath << "'. It is left out." << std::endl;
        else
            readSettings(user, userPath, settings);
    }
    return settings;
}

std::string userSettingsPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config)
        return std::string(config) + "/zarn/settings.ini";
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/.config/zarn/settings.ini" : std::string();
}

std::optional<std::string> windowSizeError(const Settings& settings) {
    const auto fits = [](int edge) {
        return edge >= 1 && edge <= maxWindowEdge;
    };
    if (fits(settings.width) && fits(settings.height))
        return std::nullopt;
    return "Invalid window size " + std::to_string(settings.width) + " x " +
           std::to_string(settings.height) + " in '" + settings.sizeFile +
           "'. Width and height must be 1 to " + std::to_string(maxWindowEdge) + ".";
}

} // namespace zarn
