#include "app/Settings.h"

#include <INIReader.h>

#include <iostream>

namespace zarn {

Settings loadSettings(const std::string& path) {
    const Settings defaults;
    const INIReader reader(path);
    if (reader.ParseError() < 0) {
        std::cout << "ERROR: Failed to load '" << path << "'. Using default values instead."
                  << std::endl;
        return defaults;
    }

    Settings settings;
    settings.width = int(reader.GetInteger("window", "width", defaults.width));
    settings.height = int(reader.GetInteger("window", "height", defaults.height));
    settings.refreshRate = int(reader.GetInteger("window", "refresh_rate", defaults.refreshRate));
    settings.fullscreen = reader.GetBoolean("window", "fullscreen", defaults.fullscreen);
    settings.title = reader.Get("window", "title", defaults.title);
    settings.fov = float(reader.GetReal("camera", "fov", defaults.fov));
    settings.nearPlane = float(reader.GetReal("camera", "near", defaults.nearPlane));
    settings.farPlane = float(reader.GetReal("camera", "far", defaults.farPlane));
    return settings;
}

} // namespace zarn
