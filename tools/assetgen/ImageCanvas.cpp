#include "ImageCanvas.h"

#include "ImageShapes.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <iostream>

namespace assetgen {

ImageCanvas::ImageCanvas(int width, int height, glm::vec4 fill)
    : width_(width), height_(height), pixels_(std::size_t(width) * height, fill) {}

void ImageCanvas::paint(const std::function<glm::vec4(glm::vec2)>& shade) {
    paint(shade, glm::vec2(0.0f), glm::vec2(float(width_), float(height_)));
}

void ImageCanvas::paint(const std::function<glm::vec4(glm::vec2)>& shade, glm::vec2 from,
                        glm::vec2 to) {
    const int x0 = std::max(0, int(std::floor(from.x)));
    const int y0 = std::max(0, int(std::floor(from.y)));
    const int x1 = std::min(width_, int(std::ceil(to.x)));
    const int y1 = std::min(height_, int(std::ceil(to.y)));
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const glm::vec4 top = shade(glm::vec2(x + 0.5f, y + 0.5f));
            if (top.a > 0.0f)
                at(x, y) = over(at(x, y), top);
        }
}

void ImageCanvas::apply(const std::function<glm::vec4(glm::vec2, glm::vec4)>& shade) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            at(x, y) = shade(glm::vec2(x + 0.5f, y + 0.5f), at(x, y));
}

ImageCanvas ImageCanvas::crop(int x, int y, int width, int height) const {
    ImageCanvas part(width, height);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            part.at(column, row) = at(x + column, y + row);
    return part;
}

ImageCanvas ImageCanvas::rotated180() const {
    ImageCanvas turned(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            turned.at(x, y) = at(width_ - 1 - x, height_ - 1 - y);
    return turned;
}

ImageCanvas ImageCanvas::halved() const {
    const int width = std::max(1, width_ / 2);
    const int height = std::max(1, height_ / 2);
    const int stepX = width_ / width;
    const int stepY = height_ / height;
    ImageCanvas smaller(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            glm::vec4 sum(0.0f);
            for (int dy = 0; dy < stepY; ++dy)
                for (int dx = 0; dx < stepX; ++dx)
                    sum += at(x * stepX + dx, y * stepY + dy);
            smaller.at(x, y) = sum / float(stepX * stepY);
        }
    return smaller;
}

std::vector<std::uint8_t> ImageCanvas::toBytes(int channels) const {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(pixels_.size() * channels);
    for (const glm::vec4& pixel : pixels_)
        for (int c = 0; c < channels; ++c)
            bytes.push_back(std::uint8_t(std::lround(std::clamp(pixel[c], 0.0f, 1.0f) * 255.0f)));
    return bytes;
}

bool writePng(const std::filesystem::path& path, const ImageCanvas& image, int channels) {
    const std::vector<std::uint8_t> bytes = image.toBytes(channels);
    if (!stbi_write_png(path.c_str(), image.width(), image.height(), channels, bytes.data(),
                        image.width() * channels)) {
        std::cout << "assetgen: could not write " << path.string() << std::endl;
        return false;
    }
    return true;
}

bool writeJpeg(const std::filesystem::path& path, const ImageCanvas& image, int quality) {
    const std::vector<std::uint8_t> bytes = image.toBytes(3);
    if (!stbi_write_jpg(path.c_str(), image.width(), image.height(), 3, bytes.data(), quality)) {
        std::cout << "assetgen: could not write " << path.string() << std::endl;
        return false;
    }
    return true;
}

} // namespace assetgen
