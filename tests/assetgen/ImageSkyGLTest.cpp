#include "SkyFunction.h"

#include "render/Shader.h"
#include "render/TextureLoaders.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <glm/geometric.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> facePaths = {
    "assets/textures/cubemapNew/right.jpg", "assets/textures/cubemapNew/left.jpg",
    "assets/textures/cubemapNew/top.jpg",   "assets/textures/cubemapNew/bottom.jpg",
    "assets/textures/cubemapNew/front.jpg", "assets/textures/cubemapNew/back.jpg",
};

struct Face {
    int size = 0;
    std::vector<std::uint8_t> rgb;

    const std::uint8_t* at(int x, int y) const { return &rgb[(std::size_t(y) * size + x) * 3]; }
};

Face loadFace(const std::string& path) {
    int width = 0, height = 0, channels = 0;
    std::uint8_t* data = stbi_load(path.c_str(), &width, &height, &channels, 3);
    EXPECT_NE(data, nullptr) << path;
    Face face;
    if (!data)
        return face;
    EXPECT_EQ(width, height) << path;
    face.size = width;
    face.rgb.assign(data, data + std::size_t(width) * height * 3);
    stbi_image_free(data);
    return face;
}

// OpenGL's cube-map face table: for each face the major axis and the axes
// along which sc and tc grow; direction = major + sc * sAxis + tc * tAxis.
struct FaceAxes {
    glm::vec3 major, sAxis, tAxis;
};
const std::array<FaceAxes, 6> glFaces = {{
    {{1, 0, 0}, {0, 0, -1}, {0, -1, 0}},
    {{-1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
    {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},
    {{0, -1, 0}, {1, 0, 0}, {0, 0, -1}},
    {{0, 0, 1}, {1, 0, 0}, {0, -1, 0}},
    {{0, 0, -1}, {-1, 0, 0}, {0, -1, 0}},
}};

glm::vec3 glDirection(int face, float s, float t) {
    const FaceAxes& axes = glFaces[face];
    return axes.major + (2.0f * s - 1.0f) * axes.sAxis + (2.0f * t - 1.0f) * axes.tAxis;
}

int glFaceOf(glm::vec3 d) {
    const glm::vec3 a = glm::abs(d);
    if (a.x >= a.y && a.x >= a.z)
        return d.x > 0 ? 0 : 1;
    if (a.y >= a.z)
        return d.y > 0 ? 2 : 3;
    return d.z > 0 ? 4 : 5;
}

glm::vec2 glFaceCoordinates(int face, glm::vec3 d) {
    const FaceAxes& axes = glFaces[face];
    const float major = std::abs(glm::dot(d, axes.major));
    return {(glm::dot(d, axes.sAxis) / major + 1.0f) * 0.5f,
            (glm::dot(d, axes.tAxis) / major + 1.0f) * 0.5f};
}

const char* vertexSource = R"(#version 430 core
void main() {
    vec2 corner = vec2((gl_VertexID << 1) & 2, gl_VertexID & 2);
    gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);
}
)";

// Each fragment looks up the cube map along the direction of its longitude
// and latitude: the whole sky unrolled into one rectangle.
const char* fragmentSource = R"(#version 430 core
uniform samplerCube cubeMap;
uniform vec2 size;
out vec4 colour;
void main() {
    float longitude = gl_FragCoord.x / size.x * 6.2831853 - 3.1415927;
    float latitude = gl_FragCoord.y / size.y * 3.1415927 - 1.5707963;
    vec3 d = vec3(cos(latitude) * cos(longitude), sin(latitude), cos(latitude) * sin(longitude));
    colour = vec4(texture(cubeMap, d).rgb, 1.0);
}
)";

glm::vec3 panoramaDirection(float x, float y, int width, int height) {
    const float longitude = x / width * 6.2831853f - 3.1415927f;
    const float latitude = y / height * 3.1415927f - 1.5707963f;
    return {std::cos(latitude) * std::cos(longitude), std::sin(latitude),
            std::cos(latitude) * std::sin(longitude)};
}

} // namespace

TEST(SkyCubeMap, FacesAreEqualSquareThreeChannelImages) {
    int firstSize = 0;
    for (const std::string& path : facePaths) {
        int width = 0, height = 0, channels = 0;
        ASSERT_TRUE(stbi_info(path.c_str(), &width, &height, &channels)) << path;
        EXPECT_EQ(channels, 3) << path;
        EXPECT_EQ(width, height) << path;
        EXPECT_GE(width, 256) << path;
        if (firstSize == 0)
            firstSize = width;
        EXPECT_EQ(width, firstSize) << path;
    }
}

TEST(SkyCubeMap, PixelsOnBothSidesOfEverySharedEdgeMatch) {
    std::vector<Face> faces;
    for (const std::string& path : facePaths) {
        faces.push_back(loadFace(path));
        ASSERT_GT(faces.back().size, 0);
    }
    const int n = faces.front().size;
    // Half a pixel beyond each border pixel of one face lies, by OpenGL's
    // face selection, in the border pixel of the neighbouring face. The two
    // centres are one pixel apart, so they differ by the sky's own change over
    // a pixel plus JPEG error (a level or two at quality 95, rarely more); a
    // seam shows up as a large mean difference along the edge, while sharp
    // spots such as hill tops may differ more at a handful of pixels.
    for (int face = 0; face < 6; ++face)
        for (int edge = 0; edge < 4; ++edge) {
            double sum = 0.0;
            int large = 0;
            int otherFace = -1;
            for (int k = 0; k < n; ++k) {
                int x = 0, y = 0;
                float s = 0.0f, t = 0.0f;
                const float along = (k + 0.5f) / n;
                const float beyond = 0.5f / n;
                switch (edge) {
                case 0:
                    x = 0, y = k, s = -beyond, t = along;
                    break;
                case 1:
                    x = n - 1, y = k, s = 1.0f + beyond, t = along;
                    break;
                case 2:
                    x = k, y = 0, s = along, t = -beyond;
                    break;
                default:
                    x = k, y = n - 1, s = along, t = 1.0f + beyond;
                    break;
                }
                const glm::vec3 d = glDirection(face, s, t);
                otherFace = glFaceOf(d);
                ASSERT_NE(otherFace, face);
                const glm::vec2 st = glFaceCoordinates(otherFace, d);
                const int ox = std::clamp(int(st.x * n), 0, n - 1);
                const int oy = std::clamp(int(st.y * n), 0, n - 1);
                ASSERT_TRUE(ox == 0 || oy == 0 || ox == n - 1 || oy == n - 1);
                int largest = 0;
                for (int c = 0; c < 3; ++c) {
                    const int difference = std::abs(int(faces[face].at(x, y)[c]) -
                                                    int(faces[otherFace].at(ox, oy)[c]));
                    sum += difference;
                    largest = std::max(largest, difference);
                }
                if (largest > 24)
                    ++large;
            }
            const double mean = sum / (3.0 * n);
            EXPECT_LT(mean, 2.0) << facePaths[face] << " edge " << edge << " against "
                                 << facePaths[otherFace];
            EXPECT_LE(large, n / 50)
                << facePaths[face] << " edge " << edge << " against " << facePaths[otherFace];
        }
}

TEST(SkyCubeMap, SamplingTheUploadedCubeMapReproducesTheSkyFunction) {
    zarn::test::GLTestContext context;
    const GLuint cubeMap = zarn::loadCubeMap(facePaths);
    zarn::Shader shader(zarn::Shader::InlineSources{}, vertexSource, fragmentSource);

    const int width = 256, height = 128;
    GLuint target = 0, framebuffer = 0, vertexArray = 0;
    glGenTextures(1, &target);
    glBindTexture(GL_TEXTURE_2D, target);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target, 0);
    ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));

    glViewport(0, 0, width, height);
    glDisable(GL_DEPTH_TEST);
    glUseProgram(shader.programId);
    shader.setUniform("cubeMap", 0);
    glUniform2f(shader.uniformLocation("size"), float(width), float(height));
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cubeMap);
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    const std::vector<std::uint8_t> pixels = zarn::test::readPixels(0, 0, width, height);
    EXPECT_TRUE(context.debugMessages().empty()) << context.debugMessages().front();

    // Linear filtering and JPEG both soften the picture a little, which
    // matters only at the few sharp edges (sun disc, hill tops); a face that
    // is missing, swapped, flipped or turned is wrong nearly everywhere.
    std::array<double, 6> errorSum{};
    std::array<int, 6> samples{};
    std::vector<int> worst;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const glm::vec3 d = panoramaDirection(x + 0.5f, y + 0.5f, width, height);
            const glm::vec3 expected = assetgen::skyColour(d);
            const int face = glFaceOf(d);
            int largest = 0;
            for (int c = 0; c < 3; ++c) {
                const int difference = std::abs(int(pixels[(std::size_t(y) * width + x) * 4 + c]) -
                                                int(std::lround(expected[c] * 255.0f)));
                errorSum[face] += difference;
                largest = std::max(largest, difference);
            }
            samples[face] += 3;
            worst.push_back(largest);
        }
    for (int face = 0; face < 6; ++face)
        EXPECT_LT(errorSum[face] / samples[face], 2.5) << facePaths[face];
    std::sort(worst.begin(), worst.end());
    EXPECT_LT(worst[worst.size() * 99 / 100], 16) << "99th percentile of the largest channel error";

    // The sun stands where the game's light, shining along (0, -1, -1), comes from.
    const glm::vec3 towardsLight = glm::normalize(glm::vec3(0.0f, 1.0f, 1.0f));
    const int sunX =
        int((std::atan2(towardsLight.z, towardsLight.x) + 3.1415927f) / 6.2831853f * width);
    const int sunY = int((std::asin(towardsLight.y) + 1.5707963f) / 3.1415927f * height);
    const std::uint8_t* sun = &pixels[(std::size_t(sunY) * width + sunX) * 4];
    EXPECT_GT(std::min({sun[0], sun[1], sun[2]}), 220)
        << "sun pixel " << int(sun[0]) << ", " << int(sun[1]) << ", " << int(sun[2]);

    glDeleteVertexArrays(1, &vertexArray);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &target);
    glDeleteTextures(1, &cubeMap);
}
