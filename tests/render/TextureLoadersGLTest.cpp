#include "render/TextureLoaders.h"

#include "support/GLTestContext.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <unistd.h>

using namespace zarn;
using zarn::test::TempDirectory;

namespace {

// Pixel bytes that encode their position, so flips, swaps and row-alignment
// faults all show up.
std::vector<std::uint8_t> patternImage(int width, int height, int channels, int seed = 0) {
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * channels);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = std::uint8_t(i * 37 + 5 + seed * 11);
    return pixels;
}

std::string writePng(const TempDirectory& directory, const std::string& name, int width, int height,
                     int channels, int seed = 0) {
    const auto path = (directory.path() / name).string();
    EXPECT_TRUE(stbi_write_png(path.c_str(), width, height, channels,
                               patternImage(width, height, channels, seed).data(),
                               width * channels));
    return path;
}

std::vector<std::uint8_t> readTexture(GLenum target, GLenum format, std::size_t bytes) {
    std::vector<std::uint8_t> pixels(bytes);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(target, 0, format, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

GLint internalFormat(GLenum target) {
    GLint value = 0;
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_INTERNAL_FORMAT, &value);
    return value;
}

} // namespace

TEST(TextureLoadersGLTest, ModelTexturesKeepTheirChannelCountAndPixels) {
    zarn::test::GLTestContext context;
    TempDirectory directory;
    const struct {
        int channels;
        GLenum format;
    } cases[] = {{1, GL_RED}, {3, GL_RGB}, {4, GL_RGBA}};
    for (const auto& c : cases) {
        // Width 5: RGB rows are not 4-byte aligned.
        const std::string name = "image" + std::to_string(c.channels) + ".png";
        writePng(directory, name, 5, 3, c.channels);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        const GLuint texture = loadTextureFromFile(name.c_str(), directory.path().string());
        glBindTexture(GL_TEXTURE_2D, texture);
        EXPECT_EQ(internalFormat(GL_TEXTURE_2D), GLint(c.format));
        EXPECT_EQ(readTexture(GL_TEXTURE_2D, c.format, 5 * 3 * c.channels),
                  patternImage(5, 3, c.channels));
        GLint minFilter = 0, smallest = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH, &smallest);
        EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(smallest, 1); // mipmaps down to 1x1
    }

    // A missing or undecodable file is reported by its own name and still
    // gives a texture name.
    directory.write("garbage.png", "not an image");
    GLuint texture = 0;
    EXPECT_EQ(zarn::test::captureStdout(
                  [&] { texture = loadTextureFromFile("garbage.png", directory.path().string()); }),
              "Error: Texture failed to load at path: garbage.png\n");
    EXPECT_NE(texture, 0u);
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST(TextureLoadersGLTest, CubeMapFacesLandOnTheirTargetsAsRgb) {
    zarn::test::GLTestContext context;
    TempDirectory directory;
    std::vector<std::string> faces;
    for (int face = 0; face < 6; ++face) // the last face carries alpha, which must not shift pixels
        faces.push_back(writePng(directory, "face" + std::to_string(face) + ".png", 5, 5,
                                 face == 5 ? 4 : 3, face));
    glBindTexture(GL_TEXTURE_CUBE_MAP, loadCubeMap(faces));
    for (int face = 0; face < 6; ++face) {
        const GLenum target = GLenum(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face);
        EXPECT_EQ(internalFormat(target), GL_RGB);
        const auto expected = patternImage(5, 5, face == 5 ? 4 : 3, face);
        const auto actual = readTexture(target, face == 5 ? GL_RGBA : GL_RGB, expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            if (face == 5 && i % 4 == 3)
                continue; // alpha is dropped on upload
            ASSERT_EQ(actual[i], expected[i]) << "face " << face << " byte " << i;
        }
    }
    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST(TextureLoadersDeathTest, MissingCubeMapFaceEndsTheRun) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDirectory directory;
    const std::string present = writePng(directory, "present.png", 4, 4, 3);
    const std::string absent = (directory.path() / "absent.jpg").string();
    EXPECT_EXIT(
        {
            zarn::test::GLTestContext context;
            dup2(STDERR_FILENO, STDOUT_FILENO);
            loadCubeMap({present, present, absent, present, present, present});
        },
        // The death test child makes its own temporary directory.
        testing::ExitedWithCode(1),
        "ERROR: Cubemap texture failed to load at path: /.*/absent.jpg\n");
}
