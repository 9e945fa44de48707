#include "render/TextureLoaders.h"

#include "support/GLTestContext.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <unistd.h>

using namespace zarn;
using zarn::test::captureStdout;
using zarn::test::TempDirectory;

namespace {

// Pixel bytes that encode their position, so flips, swaps and row-alignment
// faults all show up; widths of 5 leave RGB rows not 4-byte aligned.
std::vector<std::uint8_t> patternImage(int height, int channels, int seed = 0) {
    std::vector<std::uint8_t> pixels(std::size_t(5 * height * channels));
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = std::uint8_t(i * 37 + 5 + seed * 11);
    return pixels;
}

std::string writePng(const TempDirectory& directory, const std::string& name, int height,
                     int channels, int seed = 0) {
    const auto path = (directory.path() / name).string();
    EXPECT_TRUE(stbi_write_png(path.c_str(), 5, height, channels,
                               patternImage(height, channels, seed).data(), 5 * channels));
    return path;
}

// Level 0 of the bound texture (or cube face) in the given format.
std::vector<std::uint8_t> readTexture(GLenum target, GLenum format, int channels) {
    GLint width = 0, height = 0, internalFormat = 0;
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_INTERNAL_FORMAT, &internalFormat);
    EXPECT_EQ(GLenum(internalFormat), format);
    std::vector<std::uint8_t> pixels(std::size_t(width * height * channels));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(target, 0, format, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

} // namespace

TEST(TextureLoadersGLTest, ImagesKeepTheirPixelsAndSpritesBecomeRgba) {
    zarn::test::GLTestContext context;
    TempDirectory directory;
    const GLenum formats[] = {0, GL_RED, 0, GL_RGB, GL_RGBA};
    for (int channels : {1, 3, 4}) {
        const std::string name = "image" + std::to_string(channels) + ".png";
        writePng(directory, name, 3, channels);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glBindTexture(GL_TEXTURE_2D, loadTextureFromFile(name.c_str(), directory.path().string()));
        EXPECT_EQ(readTexture(GL_TEXTURE_2D, formats[channels], channels),
                  patternImage(3, channels));
        GLint minFilter = 0, smallest = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH, &smallest);
        EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(smallest, 1); // mipmaps down to 1 x 1
    }
    const std::vector<std::uint8_t> rgb = patternImage(3, 3);
    glBindTexture(GL_TEXTURE_2D, loadParticleTexture(writePng(directory, "sprite.png", 3, 3)));
    const std::vector<std::uint8_t> rgba = readTexture(GL_TEXTURE_2D, GL_RGBA, 4);
    ASSERT_EQ(rgba.size(), 5u * 3 * 4);
    for (std::size_t i = 0; i < rgba.size(); ++i)
        ASSERT_EQ(rgba[i], i % 4 == 3 ? 255 : rgb[i / 4 * 3 + i % 4]) << "byte " << i;

    // A missing or undecodable file is reported and still gives a texture name.
    directory.write("garbage.png", "not an image");
    GLuint model = 0, sprite = 0;
    EXPECT_EQ(captureStdout(
                  [&] { model = loadTextureFromFile("garbage.png", directory.path().string()); }),
              "Error: Texture failed to load at path: garbage.png\n");
    const std::string missing = (directory.path() / "missing.png").string();
    EXPECT_EQ(captureStdout([&] { sprite = loadParticleTexture(missing); }),
              "Particle texture failed to load at path: " + missing + "\n");
    EXPECT_TRUE(model != 0 && sprite != 0);
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST(TextureLoadersGLTest, CubeMapFacesLandOnTheirTargetsAsRgb) {
    zarn::test::GLTestContext context;
    TempDirectory directory;
    std::vector<std::string> faces;
    for (int face = 0; face < 6; ++face) // the last face carries alpha, which must not shift pixels
        faces.push_back(
            writePng(directory, std::to_string(face) + ".png", 5, face == 5 ? 4 : 3, face));
    glBindTexture(GL_TEXTURE_CUBE_MAP, loadCubeMap(faces));
    for (int face = 0; face < 6; ++face) {
        const auto file = patternImage(5, face == 5 ? 4 : 3, face);
        std::vector<std::uint8_t> expected; // alpha is dropped on upload
        for (std::size_t i = 0; i < file.size(); ++i)
            if (face < 5 || i % 4 < 3)
                expected.push_back(file[i]);
        EXPECT_EQ(readTexture(GLenum(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face), GL_RGB, 3), expected)
            << "face " << face;
    }
    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST(TextureLoadersDeathTest, MissingCubeMapFaceEndsTheRun) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDirectory directory;
    const std::string present = writePng(directory, "present.png", 5, 3);
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
