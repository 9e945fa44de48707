#include "render/TextRenderer.h"

#include "data/DataFiles.h"

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

class TextRendererGLTest : public testing::Test {
protected:
    void SetUp() override {
        text.loadGlyphs();
        text.setUpQuad();
        glClearColor(0, 0, 0, 1);
    }

    // Clears, draws and gives the bounding box of the pixels that are not black.
    template <typename Draw> std::optional<Box> litBox(Draw&& draw) {
        glClear(GL_COLOR_BUFFER_BIT);
        draw();
        const auto pixels = zarn::test::readPixels(0, 0, 800, 800);
        std::optional<Box> box;
        for (int y = 0; y < 800; ++y)
            for (int x = 0; x < 800; ++x) {
                const std::uint8_t* p = &pixels[(std::size_t(y) * 800 + x) * 4];
                if (p[0] + p[1] + p[2] >= 24)
                    box = box ? Box{std::min(box->left, x), std::min(box->bottom, y),
                                    std::max(box->right, x), std::max(box->top, y)}
                              : Box{x, y, x, y};
            }
        return box;
    }
    // Where the glyphs of a line drawn with its pen at (x, y) must land:
    // first's left and bottom, last's right and top. Anti-aliased edges may
    // reach one pixel either way.
    void expectGlyphs(const std::optional<Box>& actual, char first, float x, float y, float scale,
                      char last = 0, float lastX = 0) {
        ASSERT_TRUE(actual.has_value()) << "nothing was drawn";
        const GlyphMetrics& a = text.layout.glyphs.at(first);
        const GlyphMetrics& b = text.layout.glyphs.at(last ? last : first);
        const float bLeft = (last ? lastX : x) + float(b.bearing.x) * scale;
        EXPECT_NEAR(actual->left, int(x + float(a.bearing.x) * scale), 1);
        EXPECT_NEAR(actual->bottom, int(y - float(a.size.y - a.bearing.y) * scale), 1);
        EXPECT_NEAR(actual->right, int(bLeft + float(b.size.x) * scale) - 1, 1);
        EXPECT_NEAR(actual->top, int(y + float(b.bearing.y) * scale) - 1, 1);
    }
    float advance(char code) const { return float(text.layout.glyphs.at(code).advance >> 6); }

    zarn::test::GLTestContext context;
    std::shared_ptr<Shader> shader = std::make_shared<Shader>("textShader.vert", "textShader.frag");
    TextRenderer text{shader, 800, 800};
};

} // namespace

TEST_F(TextRendererGLTest, GlyphsLandAtTheirBearingAndScaleAndLeaveTheOverlayState) {
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    EXPECT_FALSE(litBox([&] { text.renderText("", 100, 100, 1.0f, glm::vec3(1.0f)); }));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    // The space only moves the pen; codes above 127 have no glyph: they
    // neither draw nor move it.
    const auto h = litBox([&] { text.renderText(" \xC3\xA9H", 100, 200, 1.0f, glm::vec3(1.0f)); });
    ASSERT_TRUE(h.has_value());
    expectGlyphs(h, 'H', 100 + advance(' '), 200, 1.0f);
    // Only the glyph's shape covers its quad: the gap between the stems stays black.
    EXPECT_EQ(readPixel((h->left + h->right) / 2, h->top - 2), (Rgba{0, 0, 0, 255}));
    expectGlyphs(litBox([&] { text.renderText("HH", 300, 400, 0.5f, glm::vec3(1.0f)); }), 'H', 300,
                 400, 0.5f, 'H', 300 + advance('H') * 0.5f);
    // Labels: grey, at half size for an 800-pixel window.
    const auto label = litBox([&] { text.drawLabel("l", 200, 300); });
    ASSERT_TRUE(label.has_value());
    expectGlyphs(label, 'l', 200, 300, 0.5f);
    const Rgba grey = readPixel((label->left + label->right) / 2, (label->bottom + label->top) / 2);
    EXPECT_TRUE(grey[0] == grey[2] && std::abs(grey[0] - 128) <= 2) << zarn::test::toString(grey);
    EXPECT_TRUE(context.debugMessages().empty());

    // The pen moves in whole pixels, rounded down.
    TextLayout layout;
    layout.glyphs['a'] = {{2, 2}, {0, 2}, 100}; // 1.5625 pixels
    EXPECT_EQ(layout.place("aa", 10, 0, 2.0f).at(1).left, 12.0f);
}

TEST_F(TextRendererGLTest, HelpImageLoadsOnceAndDrawsUnscaledUpright) {
    zarn::test::TempDirectory directory;
    // 40 x 20 image: top half red, bottom half blue.
    std::vector<std::uint8_t> pixels(40 * 20 * 3, 0);
    for (std::size_t i = 0; i < pixels.size(); i += 3)
        pixels[i + (i < pixels.size() / 2 ? 0 : 2)] = 255;
    std::filesystem::create_directories(directory.path() / "assets/textures");
    ASSERT_TRUE(stbi_write_png((directory.path() / "assets" / data::helpImage).c_str(), 40, 20, 3,
                               pixels.data(), 40 * 3));
    zarn::test::WorkingDirectory inside(directory.path());
    const auto box = litBox([&] { text.drawImage(100, 100); });
    ASSERT_TRUE(box.has_value());
    EXPECT_TRUE(box->left == 100 && box->bottom == 100 && box->right == 139 && box->top == 119);
    EXPECT_EQ(readPixel(120, 115), (Rgba{255, 0, 0, 255})); // the image's top at the top
    EXPECT_EQ(readPixel(120, 104), (Rgba{0, 0, 255, 255}));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    // Loaded once: the file is not needed again.
    std::filesystem::remove(directory.path() / "assets" / data::helpImage);
    text.drawImage(300, 300);
    EXPECT_EQ(readPixel(320, 315), (Rgba{255, 0, 0, 255}));
}

TEST_F(TextRendererGLTest, MissingHelpImageAndFontAreReportedOnceAndDrawNothing) {
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
    EXPECT_FALSE(litBox(
        [&] { fontless.renderText("Remaining time: 5:00", 10, 10, 1.0f, glm::vec3(1.0f)); }));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}
