#pragma once

#include <GL/glew.h>

#include <string>
#include <vector>

namespace zarn {

// Decodes an image file into texture (bound as GL_TEXTURE_2D afterwards) with
// mipmaps, repeat wrapping and trilinear filtering, keeping the file's channel
// count. Returns false, with a zero size, when the file is missing or cannot
// be decoded; the texture is then left untouched.
bool uploadImageFile(GLuint texture, const std::string& path, int& width, int& height);

// Loads a model's material texture from directory + "/" + fileName with
// mipmaps and repeat wrapping. A missing or undecodable file prints
// "Error: Texture failed to load at path: <fileName>" and still returns a
// texture name, so the model draws with an empty texture.
GLuint loadTextureFromFile(const char* fileName, const std::string& directory);

// Loads six faces (+X, -X, +Y, -Y, +Z, -Z) into a cube map, always uploaded
// as RGB. A face that cannot be loaded ends the program.
GLuint loadCubeMap(std::vector<std::string> faceFiles);

} // namespace zarn
