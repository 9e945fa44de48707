#include "render/TextLayout.h"

namespace zarn {

std::vector<GlyphQuad> TextLayout::place(std::string_view text, float x, float y, float scale) {
    std::vector<GlyphQuad> quads;
    quads.reserve(text.size());
    for (const char byte : text) {
        const unsigned char code = static_cast<unsigned char>(byte);
        const GlyphMetrics& glyph = glyphs[code];
        if (glyph.size.x > 0 && glyph.size.y > 0) {
            GlyphQuad quad;
            quad.code = code;
            quad.left = x + float(glyph.bearing.x) * scale;
            quad.bottom = y - float(glyph.size.y - glyph.bearing.y) * scale;
            quad.right = quad.left + float(glyph.size.x) * scale;
            quad.top = quad.bottom + float(glyph.size.y) * scale;
            quads.push_back(quad);
        }
        x += float(glyph.advance >> 6) * scale;
    }
    return quads;
}

float TextLayout::advance(std::string_view text, float scale) const {
    float width = 0.0f;
    for (const char byte : text)
        if (const auto glyph = glyphs.find(static_cast<unsigned char>(byte)); glyph != glyphs.end())
            width += float(glyph->second.advance >> 6) * scale;
    return width;
}

} // namespace zarn
