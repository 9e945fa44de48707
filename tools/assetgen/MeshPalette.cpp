#include "MeshPalette.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

std::uint8_t toByte(float channel) {
    return std::uint8_t(std::lround(std::clamp(channel, 0.0f, 1.0f) * 255.0f));
}

} // namespace

MeshPalette::MeshPalette(int columns, int rows, int swatchPixels)
    : columns_(std::max(columns, 1)), rows_(std::max(rows, 1)),
      swatchPixels_(std::max(swatchPixels, 1)) {}

glm::vec2 MeshPalette::add(glm::vec3 colour) {
    for (std::size_t i = 0; i < colours_.size(); ++i)
        if (colours_[i] == colour)
            return swatchCentre(int(i));
    if (int(colours_.size()) >= columns_ * rows_) {
        overflowed_ = true;
        return swatchCentre(0);
    }
    colours_.push_back(colour);
    return swatchCentre(int(colours_.size()) - 1);
}

glm::vec2 MeshPalette::swatchCentre(int index) const {
    const int column = index % columns_;
    const int row = index / columns_;
    return glm::vec2((float(column) + 0.5f) / float(columns_),
                     1.0f - (float(row) + 0.5f) / float(rows_));
}

std::vector<std::uint8_t> MeshPalette::pixels() const {
    std::vector<std::uint8_t> image(std::size_t(width()) * std::size_t(height()) * 3, 255);
    for (std::size_t i = 0; i < colours_.size(); ++i) {
        const int column = int(i) % columns_;
        const int row = int(i) / columns_;
        const std::uint8_t rgb[3] = {toByte(colours_[i].r), toByte(colours_[i].g),
                                     toByte(colours_[i].b)};
        for (int y = row * swatchPixels_; y < (row + 1) * swatchPixels_; ++y)
            for (int x = column * swatchPixels_; x < (column + 1) * swatchPixels_; ++x)
                for (int c = 0; c < 3; ++c)
                    image[(std::size_t(y) * std::size_t(width()) + std::size_t(x)) * 3 +
                          std::size_t(c)] = rgb[c];
    }
    return image;
}

} // namespace assetgen
