#pragma once

#include <GL/glew.h>

#include <string>
#include <vector>

namespace zarn {

// Decodes an image file into texture (bound as GL_TEXTURE_2D afterwards) with
// mipmaps, repeat wrapping and trilinear filtering. channels 0 keeps the
// file's channel count; 1 to 4 converts to that many. Returns false, with a
// zero size, when the file is missing or cannot be decoded; the texture is
// then left untouched.
bool uploadImageFile(GLuint texture, const std::string& path, int& width, int& height,
                     int channels = 0);

// Loads a model's material texture from directory + "/" + fileName with
// mipmaps and repeat wrapping. A missing or undecodable file prints
// "Error: Texture failed to load at path: <fileName>" and still returns a
// texture name, so the model draws with an empty texture.
GLuint loadTextureFromFile(const char* fileName, const std::string& directory);

// Loads six faces (+X, -X, +Y, -Y, +Z, -Z) into a cube map, always uploaded
// as RGB. A face that cannot be loaded ends the program.
GLuint loadCubeMap(std::vector<std::string> faceFiles);

// Loads a point-sprite image as RGBA, whatever the file's channel count, with
// linear filtering and repeat wrapping. A missing or undecodable file prints
// "Particle texture failed to load at path: <path>" and still returns a
// texture name, left without an image.
GLuint loadParticleTexture(const std::string& path);

} // namespace zarn
