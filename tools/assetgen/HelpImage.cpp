#include "HelpImage.h"

#include "ImageShapes.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <glm/common.hpp>

#include <algorithm>
#include <iostream>
#include <string_view>

namespace assetgen {

namespace {

const glm::vec3 backdrop(0.08f, 0.32f, 0.53f);
const glm::vec3 panel(0.99f, 0.97f, 0.93f);
const glm::vec3 stripe(0.96f, 0.92f, 0.86f);
const glm::vec3 header(0.16f, 0.63f, 0.63f);
const glm::vec3 keyCap(0.89f, 0.83f, 0.91f);
const glm::vec3 keyEdge(0.58f, 0.46f, 0.62f);
const glm::vec3 ink(0.13f, 0.13f, 0.2f);

// The font at one pixel size, optionally emboldened, drawing into a canvas.
class Typeface {
public:
    Typeface(FT_Library library, const std::filesystem::path& file) {
        if (FT_New_Face(library, file.c_str(), 0, &face_) != 0)
            face_ = nullptr;
    }
    ~Typeface() {
        if (face_)
            FT_Done_Face(face_);
    }
    Typeface(const Typeface&) = delete;
    Typeface& operator=(const Typeface&) = delete;

    bool loaded() const { return face_ != nullptr; }

    void setStyle(int pixelHeight, bool bold) {
        FT_Set_Pixel_Sizes(face_, 0, FT_UInt(pixelHeight));
        bold_ = bold;
        pixelHeight_ = pixelHeight;
    }

    // Width in pixels of text set on one line.
    int measure(std::string_view text) { return layout(text, nullptr, 0, 0, glm::vec3(0.0f)); }

    // Draws text with its baseline starting at (x, y), y counted down from the top.
    void draw(ImageCanvas& canvas, std::string_view text, int x, int y, glm::vec3 colour) {
        layout(text, &canvas, x, y, colour);
    }

private:
    int layout(std::string_view text, ImageCanvas* canvas, int x, int y, glm::vec3 colour) {
        FT_Pos pen = 0; // 26.6 fixed point
        FT_UInt previous = 0;
        for (const char c : text) {
            const FT_UInt glyph = FT_Get_Char_Index(face_, FT_ULong(static_cast<unsigned char>(c)));
            if (previous != 0 && glyph != 0 && FT_HAS_KERNING(face_)) {
                FT_Vector kerning;
                FT_Get_Kerning(face_, previous, glyph, FT_KERNING_DEFAULT, &kerning);
                pen += kerning.x;
            }
            previous = glyph;
            if (FT_Load_Glyph(face_, glyph, FT_LOAD_DEFAULT) != 0)
                continue;
            FT_GlyphSlot slot = face_->glyph;
            if (bold_ && slot->format == FT_GLYPH_FORMAT_OUTLINE)
                FT_Outline_Embolden(&slot->outline, FT_Pos(pixelHeight_) * 3);
            if (canvas && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0)
                blit(*canvas, slot, x + int((pen + 32) >> 6), y, colour);
            pen += slot->advance.x + (bold_ ? FT_Pos(pixelHeight_) * 3 : 0);
        }
        return int((pen + 32) >> 6);
    }

    static void blit(ImageCanvas& canvas, FT_GlyphSlot slot, int penX, int baseline,
                     glm::vec3 colour) {
        const FT_Bitmap& bitmap = slot->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned column = 0; column < bitmap.width; ++column) {
                const int x = penX + slot->bitmap_left + int(column);
                const int y = baseline - slot->bitmap_top + int(row);
                if (x < 0 || y < 0 || x >= canvas.width() || y >= canvas.height())
                    continue;
                const float alpha = bitmap.buffer[row * bitmap.pitch + column] / 255.0f;
                canvas.at(x, y) = over(canvas.at(x, y), glm::vec4(colour, alpha));
            }
    }

    FT_Face face_ = nullptr;
    bool bold_ = false;
    int pixelHeight_ = 0;
};

} // namespace

bool renderHelpImage(const std::filesystem::path& fontFile, ImageCanvas& image) {
    FT_Library library;
    if (FT_Init_FreeType(&library) != 0) {
        std::cout << "assetgen: could not initialise FreeType" << std::endl;
        return false;
    }
    bool ok = false;
    {
        Typeface font(library, fontFile);
        if (!font.loaded()) {
            std::cout << "assetgen: could not load the font " << fontFile.string() << std::endl;
        } else {
            ok = true;
            const float w = helpImageWidth, h = helpImageHeight;
            image = ImageCanvas(helpImageWidth, helpImageHeight, glm::vec4(backdrop, 1.0f));
            const glm::vec2 middle(w * 0.5f, h * 0.5f);
            const float margin = 10.0f, corner = 22.0f, headerHeight = 66.0f;
            fillRoundedBox(image, middle + glm::vec2(0.0f, 3.0f), middle - margin, corner,
                           glm::vec4(0.0f, 0.0f, 0.0f, 0.35f), 4.0f);
            fillRoundedBox(image, middle, middle - margin, corner, glm::vec4(panel, 1.0f));
            // The header band shares the panel's rounded top corners.
            image.paint([&](glm::vec2 p) {
                const float inPanel =
                    coverage(roundedBoxDistance(p, middle, middle - margin, corner));
                const float inBand = coverage(p.y - (margin + headerHeight));
                return glm::vec4(header, inPanel * inBand);
            });

            font.setStyle(34, true);
            font.draw(image, "Controls", 34, int(margin + 46.0f), glm::vec3(1.0f));

            // The actions line up just right of the widest key.
            font.setStyle(19, true);
            int widestKey = 0;
            for (const HelpEntry& entry : helpEntries)
                widestKey = std::max(widestKey, font.measure(entry.keys));
            const int actionX = 44 + widestKey + 34;

            const float top = margin + headerHeight + 12.0f;
            const float rowHeight = (h - margin - 12.0f - top) / float(helpEntries.size());
            for (std::size_t i = 0; i < helpEntries.size(); ++i) {
                const float rowTop = top + rowHeight * float(i);
                const float rowMiddle = rowTop + rowHeight * 0.5f;
                if (i % 2 == 1)
                    fillRoundedBox(image, glm::vec2(w * 0.5f, rowMiddle),
                                   glm::vec2(w * 0.5f - margin - 12.0f, rowHeight * 0.5f), 6.0f,
                                   glm::vec4(stripe, 1.0f));
                const int baseline = int(rowMiddle + 7.0f);

                font.setStyle(19, true);
                const int keyWidth = font.measure(helpEntries[i].keys);
                const glm::vec2 capCentre(44.0f + keyWidth * 0.5f, rowMiddle);
                const glm::vec2 capHalf(keyWidth * 0.5f + 10.0f, 12.0f);
                fillRoundedBox(image, capCentre + glm::vec2(0.0f, 2.0f), capHalf, 6.0f,
                               glm::vec4(keyEdge, 1.0f));
                fillRoundedBox(image, capCentre, capHalf, 6.0f, glm::vec4(keyCap, 1.0f));
                font.draw(image, helpEntries[i].keys, 44, baseline, ink);

                font.setStyle(20, false);
                font.draw(image, helpEntries[i].action, actionX, baseline, ink);
            }
        }
    }
    FT_Done_FreeType(library);
    return ok;
}

} // namespace assetgen
