#include "render/TextRenderer.h"

#include "render/Shader.h"
#include "support/GLTestContext.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <optional>

using namespace zarn;
using zarn::test::readPixel;
using zarn::test::Rgba;

namespace {

struct Box {
    int left, bottom, right, top; // inclusive pixel bounds
};

// Bounding box of the pixels that are not black.
std::optional<Box> litBox() {
    const auto pixels = zarn::test::readPixels(0, 0, 800, 800);
    std::optional<Box> box;
    for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 800; ++x) {
            const std::uint8_t* p = &pixels[(std::size_t(y) * 800 + x) * 4];
            if (p[0] + p[1] + p[2] < 24)
                continue;
            box = box ? Box{std::min(box->left, x), std::min(box->bottom, y),
                            std::max(box->right, x), std::max(box->top, y)}
                      : Box{x, y, x, y};
        }
    return box;
}

void expectBoxNear(const std::optional<Box>& actual, const Box& expected) {
    ASSERT_TRUE(actual.has_value()) << "nothing was drawn";
    // Anti-aliased glyph edges may reach one pixel either way.
    EXPECT_NEAR(actual->left, expected.left, 1);
    EXPECT_NEAR(actual->right, expected.right, 1);
    EXPECT_NEAR(actual->bottom, expected.bottom, 1);
    EXPECT_NEAR(actual->top, expected.top, 1);
}

class TextRendererGLTest : public testing::Test {
protected:
    void SetUp() override {
        text.loadGlyphs();
        text.setUpQuad();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    // Where a glyph drawn with its pen at (x, y) must land.
    Box glyphBox(char code, float x, float y, float scale) const {
        const GlyphMetrics& glyph = text.layout.glyphs.at(static_cast<unsigned char>(code));
        const float left = x + float(glyph.bearing.x) * scale;
        const float bottom = y - float(glyph.size.y - glyph.bearing.y) * scale;
        return Box{int(left), int(bottom), int(left + float(glyph.size.x) * scale) - 1,
                   int(bottom + float(glyph.size.y) * scale) - 1};
    }
    float advance(char code) const { return float(text.layout.glyphs.at(code).advance >> 6); }

    zarn::test::GLTestContext context;
    std::shared_ptr<Shader> shader = std::make_shared<Shader>("textShader.vert", "textShader.frag");
    TextRenderer text{shader, 800, 800};
};

} // namespace

TEST_F(TextRendererGLTest, EmptyTextDrawsNothingButSetsTheOverlayState) {
    EXPECT_EQ(text.layout.glyphs.size(), 128u);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    text.renderText("", 100, 100, 1.0f, glm::vec3(1.0f));
    EXPECT_FALSE(litBox().has_value());
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(TextRendererGLTest, GlyphsLandAtTheirBearingAndOnlyTheSpaceAdvancesWithoutDrawing) {
    // Codes above 127 have no glyph: they neither draw nor move the pen.
    text.renderText(" \xC3\xA9H", 100, 200, 1.0f, glm::vec3(1.0f));
    expectBoxNear(litBox(), glyphBox('H', 100 + advance(' '), 200, 1.0f));
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST_F(TextRendererGLTest, ScaleShrinksGlyphsAndAdvance) {
    text.renderText("HH", 300, 400, 0.5f, glm::vec3(1.0f));
    const Box first = glyphBox('H', 300, 400, 0.5f);
    const Box second = glyphBox('H', 300 + advance('H') * 0.5f, 400, 0.5f);
    expectBoxNear(litBox(), Box{first.left, first.bottom, second.right, first.top});
}

TEST_F(TextRendererGLTest, LabelsAreGreyAtHalfSizeFor800Pixels) {
    text.drawLabel("l", 200, 300);
    const Box expected = glyphBox('l', 200, 300, 0.5f);
    expectBoxNear(litBox(), expected);
    const Rgba middle =
        readPixel((expected.left + expected.right) / 2, (expected.bottom + expected.top) / 2);
    for (int channel = 0; channel < 3; ++channel)
        EXPECT_NEAR(middle[channel], 128, 2) << zarn::test::toString(middle);
}

TEST_F(TextRendererGLTest, HelpImageLoadsOnceAndDrawsUnscaledUpright) {
    zarn::test::TempDirectory directory;
    // 40 x 20 image: top half red, bottom half blue.
    std::vector<std::uint8_t> pixels(40 * 20 * 3, 0);
    for (std::size_t i = 0; i < pixels.size(); i += 3)
        pixels[i + (i < pixels.size() / 2 ? 0 : 2)] = 255;
    std::filesystem::create_directories(directory.path() / "assets/textures");
    ASSERT_TRUE(stbi_write_png((directory.path() / helpImagePath).c_str(), 40, 20, 3, pixels.data(),
                               40 * 3));
    zarn::test::WorkingDirectory inside(directory.path());

    text.drawImage(100, 100);
    const GLuint loaded = text.hudTexture.id();
    expectBoxNear(litBox(), Box{100, 100, 139, 119});
    EXPECT_EQ(readPixel(120, 115), (Rgba{255, 0, 0, 255})); // the image's top at the top
    EXPECT_EQ(readPixel(120, 104), (Rgba{0, 0, 255, 255}));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));

    std::filesystem::remove(directory.path() / helpImagePath);
    text.drawImage(300, 300);
    EXPECT_EQ(text.hudTexture.id(), loaded);
    EXPECT_EQ(readPixel(320, 315), (Rgba{255, 0, 0, 255}));
}

TEST_F(TextRendererGLTest, MissingHelpImageAndFontAreReportedAndDrawNothing) {
    zarn::test::TempDirectory directory;
    zarn::test::WorkingDirectory inside(directory.path());
    EXPECT_EQ(zarn::test::captureStdout([&] {
                  text.drawImage(100, 100);
                  text.drawImage(100, 100);
              }),
              "Error: Texture failed to load at path: assets/textures/hud_controls.png\n");

    TextRenderer fontless(shader, 800, 800);
    EXPECT_EQ(zarn::test::captureStdout([&] { fontless.loadGlyphs(); }),
              "ERROR::FREETYPE: Failed to load font\n");
    fontless.setUpQuad();
    fontless.renderText("Remaining time: 5:00", 10, 10, 1.0f, glm::vec3(1.0f));
    EXPECT_FALSE(litBox().has_value());
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}
