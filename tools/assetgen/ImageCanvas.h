#pragma once

#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace assetgen {

// A picture being painted: straight (not premultiplied) RGBA floats in 0..1,
// row 0 at the top as every image file stores it. Painters receive pixel
// centres in pixel units, so anti-aliasing can work in whole pixels.
class ImageCanvas {
public:
    ImageCanvas() = default;
    ImageCanvas(int width, int height, glm::vec4 fill = glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));

    int width() const { return width_; }
    int height() const { return height_; }
    glm::vec4& at(int x, int y) { return pixels_[std::size_t(y) * width_ + x]; }
    const glm::vec4& at(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }

    // Lays shade(pixel centre) over every pixel by the alpha it returns.
    void paint(const std::function<glm::vec4(glm::vec2)>& shade);
    // The same, limited to the pixels whose centres lie in the box from..to:
    // for small shapes on large pictures.
    void paint(const std::function<glm::vec4(glm::vec2)>& shade, glm::vec2 from, glm::vec2 to);
    // Replaces every pixel by shade(pixel centre, current colour).
    void apply(const std::function<glm::vec4(glm::vec2, glm::vec4)>& shade);

    ImageCanvas crop(int x, int y, int width, int height) const;
    ImageCanvas rotated180() const;
    // Half the size in each direction (never below 1), each pixel the mean of
    // the pixels it covers: the next level of a mip chain.
    ImageCanvas halved() const;

    // Rounded 8-bit samples, rows top first; channels is 3 (RGB) or 4 (RGBA).
    std::vector<std::uint8_t> toBytes(int channels) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<glm::vec4> pixels_;
};

// Writes a PNG with 3 or 4 channels; prints the reason and returns false on failure.
bool writePng(const std::filesystem::path& path, const ImageCanvas& image, int channels);
// Writes a three-channel JPEG.
bool writeJpeg(const std::filesystem::path& path, const ImageCanvas& image, int quality);

} // namespace assetgen
