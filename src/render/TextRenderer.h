#pragma once

#include "render/GLBuffer.h"
#include "render/GLTexture.h"
#include "render/GLVertexArray.h"
#include "render/TextLayout.h"

#include <glm/glm.hpp>

#include <map>
#include <memory>
#include <string>

namespace zarn {

class Shader;

// Draws the 2D overlay in window pixels (origin bottom-left, y up): texts as
// one textured quad per character, and the controls help image.
class TextRenderer {
public:
    TextRenderer(std::shared_ptr<Shader> shader, int screenWidth, int screenHeight);

    // Rasterises codes 0-127 of the font at 48 pixels.
    void loadGlyphs();
    // Sets the text projection and creates the streaming quad buffer.
    void setUpQuad();
    // A screen of this size from now on.
    void resize(int width, int height);

    // Draws text with its baseline starting at (x, y). Leaves blending
    // disabled and depth testing enabled.
    void renderText(const std::string& text, float x, float y, float scale,
                    const glm::vec3& colour);
    // Grey status text scaled with the window height.
    void drawLabel(const std::string& text, float x, float y);
    // Draws the help image at `scale` with its bottom-left corner at (x, y);
    // the image is loaded on first use.
    void drawImage(float x, float y, float scale = 1.0f);

    GLVertexArray vertexArray;
    GLBuffer vertexBuffer;
    TextLayout layout;                                // the glyph metrics
    std::map<unsigned char, GLTexture> glyphTextures; // single-channel bitmaps
    std::shared_ptr<Shader> shader;
    int screenWidth;
    int screenHeight;
    GLTexture hudTexture; // none until the first drawImage
    int hudWidth = 0;
    int hudHeight = 0;

private:
    void loadHelpImage();
    void drawQuad(float left, float bottom, float right, float top);
};

inline constexpr glm::vec3 labelColour{0.5f, 0.5f, 0.5f};

} // namespace zarn
