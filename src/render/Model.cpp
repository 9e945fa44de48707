#include "render/Model.h"

#include "render/Shader.h"
#include "render/TextureLoaders.h"

#include <algorithm>

namespace zarn {

Model::Model(const std::string& path, std::shared_ptr<Shader> shader) : shader(std::move(shader)) {
    ModelFile file = loadModelFile(path);
    directory = std::move(file.directory);
    skeleton = std::move(file.skeleton);
    meshes.reserve(file.meshes.size());
    for (const MeshData& data : file.meshes)
        meshes.emplace_back(data, meshTextures(data.textures));
}

Model::Model(const char* path, std::shared_ptr<Shader> shader)
    : Model(std::string(path), std::move(shader)) {}

std::vector<MeshTexture> Model::meshTextures(const std::vector<TextureReference>& references) {
    std::vector<MeshTexture> textures;
    const bool hasDiffuse =
        std::any_of(references.begin(), references.end(),
                    [](const TextureReference& r) { return r.type == "texture_diffuse"; });
    if (!hasDiffuse)
        textures.push_back({whiteTextureId(), "texture_diffuse", ""});
    for (const TextureReference& reference : references) {
        auto loaded =
            std::find_if(texturesLoaded.begin(), texturesLoaded.end(),
                         [&](const LoadedTexture& t) { return t.path == reference.path; });
        if (loaded == texturesLoaded.end()) {
            const GLuint id = loadTextureFromFile(reference.path.c_str(), directory);
            texturesLoaded.push_back({reference.path, GLTexture::adopt(id)});
            loaded = texturesLoaded.end() - 1;
        }
        textures.push_back({loaded->texture.id(), reference.type, reference.path});
    }
    return textures;
}

GLuint Model::whiteTextureId() {
    if (!whiteTexture) {
        whiteTexture = GLTexture::generate();
        const unsigned char white[4] = {255, 255, 255, 255};
        glBindTexture(GL_TEXTURE_2D, whiteTexture.id());
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
        // No mipmaps: the default minifying filter would leave it incomplete.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }
    return whiteTexture.id();
}

void Model::draw() {
    for (const Mesh& mesh : meshes)
        mesh.draw(*shader);
}

void Model::drawEnvironmentMapped(GLuint cubeMapTexture) {
    for (const Mesh& mesh : meshes)
        mesh.drawEnvironmentMapped(cubeMapTexture, *shader);
}

Box Model::bounds() const {
    Box box;
    for (const Mesh& mesh : meshes)
        box.add(transformed(mesh.bounds, mesh.modelMatrix));
    return box;
}

void Model::setModelMatrix(const glm::mat4& M) {
    for (Mesh& mesh : meshes)
        mesh.modelMatrix = M;
}

} // namespace zarn
