#include "render/TextRenderer.h"

#include "render/Shader.h"
#include "support/GLTestContext.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <optional>

using namespace zarn;
using zarn::test::captureStdout;
using zarn::test::GLTestContext;
using zarn::test::readPixel;
using zarn::test::readPixels;
using zarn::test::Rgba;
using zarn::test::TempDirectory;
using zarn::test::WorkingDirectory;

namespace {

struct Box {
    int left, bottom, right, top; // inclusive pixel bounds
};

// Bounding box of the pixels brighter than black in the whole window.
std::optional<Box> litBox() {
    const auto pixels = readPixels(0, 0, 800, 800);
    std::optional<Box> box;
    for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 800; ++x) {
            const std::uint8_t* p = &pixels[(std::size_t(y) * 800 + x) * 4];
            if (p[0] + p[1] + p[2] < 24)
                continue;
            if (!box)
                box = Box{x, y, x, y};
            box->left = std::min(box->left, x);
            box->right = std::max(box->right, x);
            box->bottom = std::min(box->bottom, y);
            box->top = std::max(box->top, y);
        }
    return box;
}

class TextRendererGLTest : public testing::Test {
protected:
    void SetUp() override {
        shader = std::make_shared<Shader>("textShader.vert", "textShader.frag");
        text = std::make_unique<TextRenderer>(shader, 800, 800);
        text->loadGlyphs();
        text->setUpQuad();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    Box expectedBox(char code, float x, float y, float scale) const {
        const Character& glyph = text->characters.at(static_cast<unsigned char>(code));
        const float left = x + float(glyph.bearing.x) * scale;
        const float bottom = y - float(glyph.size.y - glyph.bearing.y) * scale;
        return Box{int(left), int(bottom), int(left + float(glyph.size.x) * scale) - 1,
                   int(bottom + float(glyph.size.y) * scale) - 1};
    }

    GLTestContext context;
    std::shared_ptr<Shader> shader;
    std::unique_ptr<TextRenderer> text;
};

void expectBoxNear(const std::optional<Box>& actual, const Box& expected) {
    ASSERT_TRUE(actual.has_value()) << "nothing was drawn";
    // Anti-aliased glyph edges may reach one pixel either way.
    EXPECT_NEAR(actual->left, expected.left, 1);
    EXPECT_NEAR(actual->right, expected.right, 1);
    EXPECT_NEAR(actual->bottom, expected.bottom, 1);
    EXPECT_NEAR(actual->top, expected.top, 1);
}

} // namespace

TEST_F(TextRendererGLTest, GlyphTableCoversAscii) {
    EXPECT_EQ(text->characters.size(), 128u);
    const Character& letter = text->characters.at('H');
    EXPECT_GT(letter.size.x, 10);
    EXPECT_GT(letter.size.y, 20); // 48-pixel glyphs
    EXPECT_GT(letter.bearing.y, 20);
    EXPECT_GT(letter.advance, 0u);
    const Character& space = text->characters.at(' ');
    EXPECT_EQ(space.size, glm::ivec2(0, 0));
    EXPECT_GT(space.advance >> 6, 5u);
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST_F(TextRendererGLTest, EmptyTextDrawsNothingButSetsTheOverlayState) {
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    text->renderText("", 100, 100, 1.0f, glm::vec3(1.0f));
    EXPECT_FALSE(litBox().has_value());
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(TextRendererGLTest, GlyphLandsAtItsBearingFromThePen) {
    glEnable(GL_DEPTH_TEST);
    text->renderText("H", 100, 200, 1.0f, glm::vec3(1.0f));
    expectBoxNear(litBox(), expectedBox('H', 100, 200, 1.0f));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint vertexArray = -1, texture = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    EXPECT_EQ(vertexArray, 0);
    EXPECT_EQ(texture, 0);
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST_F(TextRendererGLTest, SpaceAdvancesWithoutDrawing) {
    const float advance = float(text->characters.at(' ').advance >> 6);
    text->renderText(" ", 100, 200, 1.0f, glm::vec3(1.0f));
    EXPECT_FALSE(litBox().has_value());
    text->renderText(" H", 100, 200, 1.0f, glm::vec3(1.0f));
    expectBoxNear(litBox(), expectedBox('H', 100 + advance, 200, 1.0f));
}

TEST_F(TextRendererGLTest, CodesAbove127NeitherDrawNorAdvance) {
    text->renderText("\xC3\xA9H", 100, 200, 1.0f, glm::vec3(1.0f));
    expectBoxNear(litBox(), expectedBox('H', 100, 200, 1.0f));
}

TEST_F(TextRendererGLTest, ScaleShrinksGlyphsAndAdvance) {
    const Character& h = text->characters.at('H');
    text->renderText("HH", 300, 400, 0.5f, glm::vec3(1.0f));
    const Box first = expectedBox('H', 300, 400, 0.5f);
    const Box second = expectedBox('H', 300 + float(h.advance >> 6) * 0.5f, 400, 0.5f);
    expectBoxNear(litBox(), Box{first.left, first.bottom, second.right, first.top});
}

TEST_F(TextRendererGLTest, LabelsAreGreyAndSizedByTheWindowHeight) {
    text->drawLabel("l", 200, 300);
    const Box expected = expectedBox('l', 200, 300, 0.5f);
    expectBoxNear(litBox(), expected);
    // The middle of the stroke is fully covered: exactly the label grey.
    const Rgba middle =
        readPixel((expected.left + expected.right) / 2, (expected.bottom + expected.top) / 2);
    EXPECT_TRUE(zarn::test::near(middle, Rgba{128, 128, 128, 255}, 2))
        << zarn::test::toString(middle);
}

TEST_F(TextRendererGLTest, HelpImageLoadsOnceAndDrawsUnscaledUpright) {
    TempDirectory directory;
    // 40 x 20 image: top half red, bottom half blue.
    std::vector<std::uint8_t> pixels(40 * 20 * 4);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) {
            std::uint8_t* p = &pixels[(std::size_t(y) * 40 + x) * 4];
            p[0] = y < 10 ? 255 : 0;
            p[2] = y < 10 ? 0 : 255;
            p[3] = 255;
        }
    std::filesystem::create_directories(directory.path() / "assets/textures");
    ASSERT_TRUE(stbi_write_png((directory.path() / helpImagePath).c_str(), 40, 20, 4, pixels.data(),
                               40 * 4));
    WorkingDirectory inside(directory.path());

    glEnable(GL_DEPTH_TEST);
    EXPECT_EQ(text->hudTexture, -1);
    text->drawImage(100, 100);
    const GLint loaded = text->hudTexture;
    EXPECT_NE(loaded, -1);
    EXPECT_EQ(text->hudWidth, 40);
    EXPECT_EQ(text->hudHeight, 20);
    expectBoxNear(litBox(), Box{100, 100, 139, 119});
    EXPECT_EQ(readPixel(120, 115), (Rgba{255, 0, 0, 255})); // image top at the top
    EXPECT_EQ(readPixel(120, 104), (Rgba{0, 0, 255, 255}));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));

    std::filesystem::remove(directory.path() / helpImagePath);
    text->drawImage(300, 300);
    EXPECT_EQ(text->hudTexture, loaded);
    EXPECT_EQ(readPixel(320, 315), (Rgba{255, 0, 0, 255}));
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST_F(TextRendererGLTest, MissingHelpImageIsReportedOnceAndDrawsNothing) {
    TempDirectory directory;
    WorkingDirectory inside(directory.path());
    const std::string printed = captureStdout([&] {
        text->drawImage(100, 100);
        text->drawImage(100, 100);
    });
    EXPECT_EQ(printed, "Error: Texture failed to load at path: assets/textures/hud_controls.png\n");
    EXPECT_NE(text->hudTexture, -1);
    EXPECT_FALSE(litBox().has_value());
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(TextRendererGLTest, MissingFontLeavesAnEmptyTableThatDrawsNothing) {
    TempDirectory directory;
    WorkingDirectory inside(directory.path());
    TextRenderer fontless(shader, 800, 800);
    const std::string printed = captureStdout([&] { fontless.loadGlyphs(); });
    EXPECT_EQ(printed, "ERROR::FREETYPE: Failed to load font\n");
    EXPECT_TRUE(fontless.characters.empty());
    fontless.setUpQuad();
    fontless.renderText("Remaining time: 5:00", 10, 10, 1.0f, glm::vec3(1.0f));
    EXPECT_FALSE(litBox().has_value());
}
