#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <vector>

namespace assetgen {

// A small texture of flat colour swatches. Faces take the texture coordinate
// of a swatch centre, so every face shows one flat colour and filtering never
// reaches a neighbouring swatch.
class MeshPalette {
public:
    explicit MeshPalette(int columns = 4, int rows = 4, int swatchPixels = 8);

    // The texture coordinate (OBJ convention, v = 0 at the bottom row) of the
    // swatch holding this colour, adding the swatch when it is new. When the
    // palette is full the colour is dropped, full() turns true and the first
    // swatch's coordinate is returned.
    glm::vec2 add(glm::vec3 colour);

    bool full() const { return overflowed_; }
    int colourCount() const { return int(colours_.size()); }
    int width() const { return columns_ * swatchPixels_; }
    int height() const { return rows_ * swatchPixels_; }

    // RGB bytes, top row first; unused swatches are white.
    std::vector<std::uint8_t> pixels() const;

private:
    glm::vec2 swatchCentre(int index) const;

    int columns_;
    int rows_;
    int swatchPixels_;
    std::vector<glm::vec3> colours_;
    bool overflowed_ = false;
};

} // namespace assetgen
