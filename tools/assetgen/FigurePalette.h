#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <filesystem>
#include <vector>

namespace assetgen {

// A small texture of flat colour swatches. Every face of a figure samples
// the centre of one swatch, so the picture carries all of the figure's
// colours and filtering never blends two of them.
class FigurePalette {
public:
    static constexpr int columns = 4;
    static constexpr int swatchPixels = 8;

    explicit FigurePalette(std::vector<glm::vec3> colours);

    int size() const { return static_cast<int>(colours_.size()); }
    const glm::vec3& colour(int index) const { return colours_[index]; }

    // Texture coordinates as written to the model file: the importer flips
    // v and the picture is uploaded top row first, so v counts from the
    // bottom of the picture.
    glm::vec2 uv(int index) const;

    int width() const { return columns * swatchPixels; }
    int height() const;
    std::vector<std::uint8_t> rgbPixels() const; // rows top to bottom

    bool writePng(const std::filesystem::path& file) const;

private:
    std::vector<glm::vec3> colours_;
};

} // namespace assetgen
