#include "render/TextureLoaders.h"

#include "render/FatalError.h"

#include <stb_image.h>

#include <iostream>
#include <memory>

namespace zarn {

namespace {

struct PixelsDeleter {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};
using Pixels = std::unique_ptr<stbi_uc, PixelsDeleter>;

// Pixel format for an 8-bit image with the given channel count.
GLenum pixelFormatForChannels(int channels) {
    switch (channels) {
    case 1:
        return GL_RED;
    case 2:
        return GL_RG;
    case 3:
        return GL_RGB;
    case 4:
        return GL_RGBA;
    default:
        return 0;
    }
}

} // namespace

bool uploadImageFile(GLuint texture, const std::string& path, int& width, int& height,
                     int channels) {
    int fileChannels = 0;
    Pixels pixels(stbi_load(path.c_str(), &width, &height, &fileChannels, channels));
    const GLenum format = pixelFormatForChannels(channels != 0 ? channels : fileChannels);
    if (!pixels || format == 0) {
        width = height = 0;
        return false;
    }
    glBindTexture(GL_TEXTURE_2D, texture);
    // Rows of RGB images with odd widths are not 4-byte aligned.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), width, height, 0, format, GL_UNSIGNED_BYTE,
                 pixels.get());
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return true;
}

GLuint loadTextureFromFile(const char* fileName, const std::string& directory) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    int width = 0, height = 0;
    if (!uploadImageFile(texture, directory + "/" + fileName, width, height))
        std::cout << "Error: Texture failed to load at path: " << fileName << std::endl;
    return texture;
}

GLuint loadParticleTexture(const std::string& path) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    int width = 0, height = 0;
    if (!uploadImageFile(texture, path, width, height, 4)) {
        std::cout << "Particle texture failed to load at path: " << path << std::endl;
        return texture;
    }
    // The soft round sprites need no mipmap filtering.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    return texture;
}

GLuint loadCubeMap(std::vector<std::string> faceFiles) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_CUBE_MAP, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (std::size_t face = 0; face < faceFiles.size(); ++face) {
        int width = 0, height = 0, channels = 0;
        // Always ask for three channels: the upload is RGB whatever the file holds.
        Pixels pixels(stbi_load(faceFiles[face].c_str(), &width, &height, &channels, 3));
        if (!pixels)
            fatalError("Cubemap texture failed to load at path: " + faceFiles[face]);
        glTexImage2D(GLenum(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face), 0, GL_RGB, width, height, 0,
                     GL_RGB, GL_UNSIGNED_BYTE, pixels.get());
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    return texture;
}

} // namespace zarn
