#include "render/TextRenderer.h"

#include "data/DataDirectory.h"
#include "data/DataFiles.h"
#include "render/Shader.h"
#include "render/TextureLoaders.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <glm/gtc/matrix_transform.hpp>

#include <iostream>

namespace zarn {

TextRenderer::TextRenderer(std::shared_ptr<Shader> shader, int screenWidth, int screenHeight)
    : shader(std::move(shader)), screenWidth(screenWidth), screenHeight(screenHeight) {}

void TextRenderer::loadGlyphs() {
    FT_Library library;
    if (FT_Init_FreeType(&library)) {
        std::cout << "ERROR::FREETYPE: Could not init FreeType Library" << std::endl;
        return;
    }
    FT_Face face;
    if (FT_New_Face(library, dataPath(data::font).c_str(), 0, &face)) {
        std::cout << "ERROR::FREETYPE: Failed to load font" << std::endl;
        FT_Done_FreeType(library);
        return;
    }
    FT_Set_Pixel_Sizes(face, 0, 48);

    // Glyph rows are tightly packed bytes.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (unsigned code = 0; code < 128; ++code) {
        if (FT_Load_Char(face, code, FT_LOAD_RENDER)) {
            std::cout << "ERROR::FREETYTPE: Failed to load Glyph" << std::endl;
            continue;
        }
        const FT_GlyphSlot glyph = face->glyph;
        GLTexture texture = GLTexture::generate();
        glBindTexture(GL_TEXTURE_2D, texture.id());
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RED, GLsizei(glyph->bitmap.width),
                     GLsizei(glyph->bitmap.rows), 0, GL_RED, GL_UNSIGNED_BYTE,
                     glyph->bitmap.buffer);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

        const unsigned char key = static_cast<unsigned char>(code);
        GlyphMetrics& metrics = layout.glyphs[key];
        metrics.size = {int(glyph->bitmap.width), int(glyph->bitmap.rows)};
        metrics.bearing = {glyph->bitmap_left, glyph->bitmap_top};
        metrics.advance = std::uint32_t(glyph->advance.x);
        glyphTextures.emplace(key, std::move(texture));
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}

void TextRenderer::resize(int width, int height) {
    screenWidth = width;
    screenHeight = height;
    glUseProgram(shader->programId);
    shader->setUniform("projMatrix",
                       glm::ortho(0.0f, float(screenWidth), 0.0f, float(screenHeight)));
}

void TextRenderer::setUpQuad() {
    resize(screenWidth, screenHeight);

    vertexArray = GLVertexArray::generate();
    vertexBuffer = GLBuffer::generate();
    glBindVertexArray(vertexArray.id());
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer.id());
    glBufferData(GL_ARRAY_BUFFER, sizeof(float) * 6 * 4, nullptr, GL_DYNAMIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}

void TextRenderer::drawQuad(float left, float bottom, float right, float top) {
    // Texture row 0 lies at the top of the quad.
    const float vertices[6][4] = {{left, top, 0.0f, 0.0f},     {left, bottom, 0.0f, 1.0f},
                                  {right, bottom, 1.0f, 1.0f}, {left, top, 0.0f, 0.0f},
                                  {right, bottom, 1.0f, 1.0f}, {right, top, 1.0f, 0.0f}};
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer.id());
    glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(vertices), vertices);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDrawArrays(GL_TRIANGLES, 0, 6);
}

void TextRenderer::renderText(const std::string& text, float x, float y, float scale,
                              const glm::vec3& colour) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);

    glUseProgram(shader->programId);
    shader->setUniform("textColor", colour);
    glActiveTexture(GL_TEXTURE0);
    glBindVertexArray(vertexArray.id());

    for (const GlyphQuad& quad : layout.place(text, x, y, scale)) {
        glBindTexture(GL_TEXTURE_2D, glyphTextures[quad.code].id());
        drawQuad(quad.left, quad.bottom, quad.right, quad.top);
    }

    glBindVertexArray(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

void TextRenderer::drawLabel(const std::string& text, float x, float y) {
    renderText(text, x, y, float(screenHeight) / 1600.0f, labelColour);
}

void TextRenderer::loadHelpImage() {
    // The texture is kept even after a failure, so a missing file is reported once.
    hudTexture = GLTexture::generate();
    const std::string path = dataPath(data::helpImage);
    if (!uploadImageFile(hudTexture.id(), path, hudWidth, hudHeight))
        std::cout << "Error: Texture failed to load at path: " << path << std::endl;
}

void TextRenderer::drawImage(float x, float y, float scale) {
    if (!hudTexture)
        loadHelpImage();

    glDisable(GL_DEPTH_TEST);
    // A help image that failed to load has no size and draws nothing.
    if (hudWidth > 0 && hudHeight > 0) {
        glUseProgram(shader->programId);
        // (-1, -1, -1) tells the text program to show the texture's own colours.
        shader->setUniform("textColor", glm::vec3(-1.0f));
        glActiveTexture(GL_TEXTURE0);
        glBindVertexArray(vertexArray.id());
        glBindTexture(GL_TEXTURE_2D, hudTexture.id());
        drawQuad(x, y, x + float(hudWidth) * scale, y + float(hudHeight) * scale);
        glBindVertexArray(0);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    glEnable(GL_DEPTH_TEST);
}

} // namespace zarn
