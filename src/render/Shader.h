#pragma once

#include "render/ShaderPrograms.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <memory>
#include <string>
#include <unordered_map>

namespace zarn {

// One linked program from a vertex and a fragment stage. File-based programs
// read "<name>" in the run-time tree's shader folder; the fallback program of the render framework
// is built from inline sources instead. Any read, compile or link failure ends the program after
// printing the driver's log, so a Shader that exists is always linked. Always held through
// std::shared_ptr by whoever draws with it.
class Shader {
public:
    struct InlineSources {};

    Shader(std::string vertexFile, std::string fragmentFile);
    Shader(InlineSources, std::string vertexSource, std::string fragmentSource);
    ~Shader();
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    // Looks the name up once per program; a miss is cached as -1 as well, so
    // names the compiler optimised away cost nothing after the first frame.
    GLint uniformLocation(const std::string& name);

    // The setters act on the program the caller has bound and do nothing for
    // a name the program lacks.
    void setUniform(const std::string& name, int value);
    void setUniform(const std::string& name, float value);
    void setUniform(const std::string& name, const glm::vec3& value);
    void setUniform(const std::string& name, const glm::mat4& value);

    // Sets "<arrayName>[<index>].<member>", e.g. Lights[0].posDir.
    void setUniformArrayMember(const std::string& arrayName, int index, const std::string& member,
                               const glm::vec3& value);
    void setUniformArrayMember(const std::string& arrayName, int index, const std::string& member,
                               float value);

    GLuint programId = 0;
    std::string vertexFile;   // name in the shader folder, or the source itself when inline
    std::string fragmentFile; // likewise for the fragment stage
    bool inlineSources = false;
    std::unordered_map<std::string, GLint> uniformLocations;

private:
    GLuint link();
    // Compiles one stage from its file (or inline source); ends the program on failure.
    GLuint compileStage(GLenum stageType, const std::string& text);
};

// Builds one of the game's eleven programs from its ".vert"/".frag" pair.
std::shared_ptr<Shader> makeProgram(Program which);

} // namespace zarn
