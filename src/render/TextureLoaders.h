#pragma once

#include <GL/glew.h>

#include <string>
#include <vector>

namespace zarn {

// Pixel format for an 8-bit image with the given channel count (1 red,
// 2 red-green, 3 RGB, 4 RGBA); 0 for anything else.
GLenum pixelFormatForChannels(int channels);

// Loads a model's material texture from directory + "/" + fileName with
// mipmaps and repeat wrapping. A missing or undecodable file prints
// "Error: Texture failed to load at path: <fileName>" and still returns a
// texture name, so the model draws with an empty texture.
GLuint loadTextureFromFile(const char* fileName, const std::string& directory);

// Loads six faces (+X, -X, +Y, -Y, +Z, -Z) into a cube map, always uploaded
// as RGB. A face that cannot be loaded ends the program.
GLuint loadCubeMap(std::vector<std::string> faceFiles);

} // namespace zarn
