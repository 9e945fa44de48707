#pragma once

#include "render/GLTexture.h"
#include "render/Mesh.h"
#include "render/Skeleton.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <memory>
#include <string>
#include <vector>

namespace zarn {

class Shader;

// A texture file the model loaded, shared by all its meshes that name it.
struct LoadedTexture {
    std::string path; // as the model file names it
    GLTexture texture;
};

// A model file on the GPU: one Mesh per mesh of the file, each with its own
// model matrix, the textures they use and the skeleton that animates them.
// A file that fails to load gives a model without meshes that draws nothing.
class Model {
public:
    Model(const std::string& path, std::shared_ptr<Shader> shader);
    Model(const char* path, std::shared_ptr<Shader> shader);

    // Draws every mesh with the model's program.
    void draw();
    // Draws every mesh mirroring cubeMapTexture (the frame model).
    void drawEnvironmentMapped(GLuint cubeMapTexture);

    // Sets every mesh's model matrix to M.
    void setModelMatrix(const glm::mat4& M);
    // The box around every mesh at its model matrix, in the bind pose.
    Box bounds() const;

    std::vector<Mesh> meshes;
    std::vector<LoadedTexture> texturesLoaded;
    // 1 x 1 white, drawn as texture_diffuse1 by meshes whose material has
    // no diffuse texture; created only when a mesh needs it.
    GLTexture whiteTexture;
    Skeleton skeleton;
    std::string directory;
    std::shared_ptr<Shader> shader;

private:
    std::vector<MeshTexture> meshTextures(const std::vector<TextureReference>& references);
    GLuint whiteTextureId();
};

} // namespace zarn
