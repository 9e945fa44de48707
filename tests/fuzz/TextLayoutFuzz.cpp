#include "render/TextLayout.h"

#include "FuzzFile.h"

#include <cmath>
#include <cstring>

using namespace zarn;
using zarn::fuzz::require;

namespace {

// Glyphs shaped like a 48-pixel font: printable codes with bitmaps, some
// descending below the baseline; the space without a bitmap; a few codes
// missing as if they had failed to load.
TextLayout fontLikeLayout() {
    TextLayout layout;
    for (int code = 0; code < 128; ++code) {
        if (code == 7 || code == 'q')
            continue;
        GlyphMetrics& glyph = layout.glyphs[static_cast<unsigned char>(code)];
        glyph.advance = std::uint32_t(64 * (10 + code % 23));
        if (code > ' ') {
            glyph.size = {4 + code % 29, 10 + code % 31};
            glyph.bearing = {code % 5 - 1, code % 3 == 0 ? glyph.size.y - 9 : glyph.size.y};
        }
    }
    return layout;
}

float readFloat(const std::uint8_t*& data, std::size_t& size) {
    float value = 0.0f;
    if (size >= sizeof value) {
        std::memcpy(&value, data, sizeof value);
        data += sizeof value;
        size -= sizeof value;
    }
    return value;
}

} // namespace

// Pen position and scale from the first twelve bytes, the text from the rest.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TextLayout layout = fontLikeLayout();
    const float x = readFloat(data, size);
    const float y = readFloat(data, size);
    const float scale = readFloat(data, size);
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::vector<GlyphQuad> quads = layout.place(text, x, y, scale);
    require(quads.size() <= text.size());
    require(layout.glyphs.size() <= 256);
    const bool ordinary = std::isfinite(x) && std::isfinite(y) && std::isfinite(scale) &&
                          scale >= 0.0f && std::fabs(x) < 1e6f && std::fabs(y) < 1e6f &&
                          scale < 1e3f;
    for (const GlyphQuad& quad : quads) {
        const GlyphMetrics& glyph = layout.glyphs.at(quad.code);
        require(glyph.size.x > 0 && glyph.size.y > 0);
        if (ordinary)
            require(quad.right >= quad.left && quad.top >= quad.bottom);
    }
    return 0;
}
