#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

namespace zarn {

// The metrics of one rasterised glyph, in pixels.
struct GlyphMetrics {
    glm::ivec2 size{0};        // bitmap width and rows
    glm::ivec2 bearing{0};     // left and top of the bitmap relative to the pen
    std::uint32_t advance = 0; // pen advance in 1/64 pixel
};

// Where one glyph's bitmap lands, in window pixels (y up).
struct GlyphQuad {
    unsigned char code = 0;
    float left = 0.0f;
    float bottom = 0.0f;
    float right = 0.0f;
    float top = 0.0f;
};

// Lays out a line of text byte by byte with the pen rules of the overlay:
// every glyph and advance scaled, the advance in whole pixels rounded down.
class TextLayout {
public:
    // The quads of the glyphs of text with a bitmap, in order, for a baseline
    // starting at (x, y). A byte without a glyph (one that failed to load, or
    // 128-255) gets an all-zero entry: it draws nothing and does not move the
    // pen. A glyph without a bitmap, the space, only moves the pen.
    std::vector<GlyphQuad> place(std::string_view text, float x, float y, float scale);
    // How far the pen moves over text: its width on the line.
    float advance(std::string_view text, float scale) const;

    std::map<unsigned char, GlyphMetrics> glyphs;
};

} // namespace zarn
