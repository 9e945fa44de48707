#include "FigurePalette.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <iostream>

namespace assetgen {

FigurePalette::FigurePalette(std::vector<glm::vec3> colours) : colours_(std::move(colours)) {}

int FigurePalette::height() const {
    const int rows = std::max(1, (size() + columns - 1) / columns);
    return rows * swatchPixels;
}

glm::vec2 FigurePalette::uv(int index) const {
    const int rows = height() / swatchPixels;
    const float u = (static_cast<float>(index % columns) + 0.5f) / static_cast<float>(columns);
    const float rowFromTop = static_cast<float>(index / columns) + 0.5f;
    return {u, 1.0f - rowFromTop / static_cast<float>(rows)};
}

std::vector<std::uint8_t> FigurePalette::rgbPixels() const {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width() * height() * 3), 0);
    for (int index = 0; index < size(); ++index) {
        const int x0 = (index % columns) * swatchPixels;
        const int y0 = (index / columns) * swatchPixels;
        for (int y = y0; y < y0 + swatchPixels; ++y) {
            for (int x = x0; x < x0 + swatchPixels; ++x) {
                for (int c = 0; c < 3; ++c) {
                    const float value = std::clamp(colours_[index][c], 0.0f, 1.0f);
                    pixels[static_cast<std::size_t>((y * width() + x) * 3 + c)] =
                        static_cast<std::uint8_t>(std::lround(value * 255.0f));
                }
            }
        }
    }
    return pixels;
}

bool FigurePalette::writePng(const std::filesystem::path& file) const {
    const std::vector<std::uint8_t> pixels = rgbPixels();
    if (stbi_write_png(file.string().c_str(), width(), height(), 3, pixels.data(), width() * 3) ==
        0) {
        std::cout << "assetgen: cannot write " << file.string() << std::endl;
        return false;
    }
    return true;
}

} // namespace assetgen
