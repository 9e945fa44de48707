#include "render/TextureLoaders.h"

#include "render/DdsImage.h"
#include "support/GLTestContext.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <cstring>
#include <unistd.h>

using namespace zarn;
using zarn::test::captureStdout;
using zarn::test::GLTestContext;
using zarn::test::TempDirectory;

namespace {

// A width x height image whose pixel (x, y) encodes its position, so that
// flips, swaps and row-alignment faults all show up.
std::vector<std::uint8_t> patternImage(int width, int height, int channels) {
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * channels);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c)
                pixels[(std::size_t(y) * width + x) * channels + c] =
                    std::uint8_t(x * 40 + y * 13 + c * 70 + 5);
    return pixels;
}

std::string writePng(const TempDirectory& directory, const std::string& name, int width, int height,
                     int channels) {
    const auto path = (directory.path() / name).string();
    const auto pixels = patternImage(width, height, channels);
    EXPECT_TRUE(
        stbi_write_png(path.c_str(), width, height, channels, pixels.data(), width * channels));
    return path;
}

GLint textureLevelParameter(GLenum target, GLenum parameter) {
    GLint value = 0;
    glGetTexLevelParameteriv(target, 0, parameter, &value);
    return value;
}

GLint textureParameter(GLenum target, GLenum parameter) {
    GLint value = 0;
    glGetTexParameteriv(target, parameter, &value);
    return value;
}

std::vector<std::uint8_t> readTexture(GLenum target, GLenum format, int width, int height,
                                      int channels) {
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * channels);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(target, 0, format, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

} // namespace

TEST(TextureLoadersGLTest, ModelTexturesKeepTheirChannelCount) {
    GLTestContext context;
    TempDirectory directory;
    const struct {
        int channels;
        GLenum format;
        GLint internalFormat;
    } cases[] = {{1, GL_RED, GL_RED}, {3, GL_RGB, GL_RGB}, {4, GL_RGBA, GL_RGBA}};
    for (const auto& c : cases) {
        // Width 5: RGB rows are not 4-byte aligned.
        const std::string name = "image" + std::to_string(c.channels) + ".png";
        writePng(directory, name, 5, 3, c.channels);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        const GLuint texture = loadTextureFromFile(name.c_str(), directory.path().string());
        ASSERT_NE(texture, 0u);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(GLuint(bound), texture);
        EXPECT_EQ(textureLevelParameter(GL_TEXTURE_2D, GL_TEXTURE_WIDTH), 5);
        EXPECT_EQ(textureLevelParameter(GL_TEXTURE_2D, GL_TEXTURE_HEIGHT), 3);
        EXPECT_EQ(textureLevelParameter(GL_TEXTURE_2D, GL_TEXTURE_INTERNAL_FORMAT),
                  c.internalFormat);
        EXPECT_EQ(readTexture(GL_TEXTURE_2D, c.format, 5, 3, c.channels),
                  patternImage(5, 3, c.channels))
            << c.channels << " channels";
        EXPECT_EQ(textureParameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(textureParameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T), GL_REPEAT);
        EXPECT_EQ(textureParameter(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(textureParameter(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
        // Mipmaps exist down to 1x1.
        GLint smallest = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH, &smallest);
        EXPECT_EQ(smallest, 1);
    }
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST(TextureLoadersGLTest, MissingModelTextureIsReportedByItsOwnName) {
    GLTestContext context;
    TempDirectory directory;
    directory.write("garbage.png", "not an image at all");
    for (const char* name : {"absent.png", "garbage.png"}) {
        GLuint texture = 0;
        const std::string printed =
            captureStdout([&] { texture = loadTextureFromFile(name, directory.path().string()); });
        EXPECT_EQ(printed, std::string("Error: Texture failed to load at path: ") + name + "\n");
        EXPECT_NE(texture, 0u);
    }
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST(TextureLoadersGLTest, CubeMapFacesLandOnTheirTargetsAsRgb) {
    GLTestContext context;
    TempDirectory directory;
    std::vector<std::string> faces;
    for (int face = 0; face < 6; ++face) {
        const auto path = (directory.path() / ("face" + std::to_string(face) + ".png")).string();
        // Every face a different colour; the last one carries an alpha channel,
        // which must not shift its pixels.
        const int channels = face == 5 ? 4 : 3;
        std::vector<std::uint8_t> pixels(std::size_t(6) * 6 * channels);
        for (std::size_t i = 0; i < pixels.size(); i += channels) {
            pixels[i] = std::uint8_t(face * 40);
            pixels[i + 1] = std::uint8_t(255 - face * 30);
            pixels[i + 2] = std::uint8_t(7 * face);
            if (channels == 4)
                pixels[i + 3] = 128;
        }
        ASSERT_TRUE(stbi_write_png(path.c_str(), 6, 6, channels, pixels.data(), 6 * channels));
        faces.push_back(path);
    }

    const GLuint texture = loadCubeMap(faces);
    glBindTexture(GL_TEXTURE_CUBE_MAP, texture);
    for (int face = 0; face < 6; ++face) {
        const GLenum target = GLenum(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face);
        EXPECT_EQ(textureLevelParameter(target, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
        const auto pixels = readTexture(target, GL_RGB, 6, 6, 3);
        for (std::size_t i = 0; i < pixels.size(); i += 3) {
            ASSERT_EQ(pixels[i], face * 40) << "face " << face << " byte " << i;
            ASSERT_EQ(pixels[i + 1], 255 - face * 30) << "face " << face << " byte " << i;
            ASSERT_EQ(pixels[i + 2], 7 * face) << "face " << face << " byte " << i;
        }
    }
    EXPECT_EQ(textureParameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(textureParameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(textureParameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R), GL_CLAMP_TO_EDGE);
    EXPECT_TRUE(context.debugMessages().empty());
}

TEST(TextureLoadersDeathTest, MissingCubeMapFaceEndsTheRun) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDirectory directory;
    const std::string present = writePng(directory, "present.png", 4, 4, 3);
    const std::string absent = (directory.path() / "absent.jpg").string();
    EXPECT_EXIT(
        {
            GLTestContext context;
            dup2(STDERR_FILENO, STDOUT_FILENO);
            loadCubeMap({present, present, absent, present, present, present});
        },
        // The death test child makes its own temporary directory.
        testing::ExitedWithCode(1),
        "ERROR: Cubemap texture failed to load at path: /.*/absent.jpg\n");
}

TEST(TextureLoadersGLTest, Dxt1TopLevelUploadsAndDecodes) {
    GLTestContext context;
    TempDirectory directory;
    // One 4x4 DXT1 block: colour 0 pure red (RGB565 0xF800), colour 1 pure
    // blue (0x001F), the first row using colour 1 and the rest colour 0.
    std::vector<std::uint8_t> file(128 + 8, 0);
    std::memcpy(file.data(), "DDS ", 4);
    file[4] = 124;
    file[4 + 8] = 4;  // height
    file[4 + 12] = 4; // width
    file[4 + 16] = 8; // linear size
    std::memcpy(file.data() + 4 + 80, "DXT1", 4);
    const std::uint8_t block[8] = {0x00, 0xF8, 0x1F, 0x00, 0x55, 0x00, 0x00, 0x00};
    std::memcpy(file.data() + 128, block, 8);
    const DdsImage image = loadDds(directory.write("block.dds", file).c_str());
    ASSERT_FALSE(image.empty());

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glCompressedTexImage2D(GL_TEXTURE_2D, 0, image.format, GLsizei(image.width),
                           GLsizei(image.height), 0, GLsizei(image.size), image.data.get());
    glGenerateMipmap(GL_TEXTURE_2D);
    const auto pixels = readTexture(GL_TEXTURE_2D, GL_RGBA, 4, 4, 4);
    // Row 0 of the file is the first row of the texture.
    EXPECT_EQ(pixels[0], 0);
    EXPECT_EQ(pixels[2], 255);
    EXPECT_EQ(pixels[4 * 4 * 1 + 0], 255);
    EXPECT_EQ(pixels[4 * 4 * 1 + 2], 0);
    EXPECT_EQ(pixels[4 * 4 * 3 + 4 * 3 + 0], 255);
    EXPECT_TRUE(context.debugMessages().empty());
}
