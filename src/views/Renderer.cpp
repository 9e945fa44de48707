#include "views/Renderer.h"

#include "data/DataDirectory.h"
#include "data/DataFiles.h"
#include "render/Light.h"
#include "render/Model.h"
#include "render/Occlusion.h"
#include "render/Shader.h"
#include "render/ShadowMapping.h"
#include "render/Skybox.h"
#include "session/GameSession.h"
#include "views/ButtonView.h"
#include "views/FlowView.h"
#include "views/HintView.h"
#include "views/MazeView.h"
#include "views/PanelView.h"
#include "views/RiverView.h"
#include "views/TilesView.h"

#include <GL/glew.h>

namespace zarn {

namespace {

// The state every pass starts from, then the programs, lit by the sun.
std::array<std::shared_ptr<Shader>, programCount> makePrograms() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    std::array<std::shared_ptr<Shader>, programCount> programs;
    for (std::size_t i = 0; i < programCount; ++i)
        programs[i] = makeProgram(Program(i));
    for (const Program lit : litPrograms)
        sunLight(programs[std::size_t(lit)]).setUniforms(0);
    return programs;
}

} // namespace

Renderer::Renderer(int width, int height, const glm::mat4& projection, int shadowMapSize)
    : programs(makePrograms()), overlay(program(Program::Text), width, height),
      shadowMapping(std::make_shared<ShadowMapping>(program(Program::DepthInstanced), sunDirection,
                                                    program(Program::ShadowMapped), shadowMapSize)),
      maze(std::make_unique<MazeView>(shadowMapping, program(Program::Particle), projection)),
      tiles(std::make_unique<TilesView>(program(Program::PhongInstanced))),
      river(std::make_unique<RiverView>(program(Program::CelShadedInstanced),
                                        program(Program::ModelLoading),
                                        program(Program::ParticleFlow), projection)),
      flow(std::make_unique<FlowView>(program(Program::PhongInstanced), program(Program::Particle),
                                      projection)),
      button(std::make_unique<ButtonView>(program(Program::ModelLoading))),
      skybox(std::make_unique<Skybox>(program(Program::Skybox), projection)),
      frameModel(
          std::make_unique<Model>(dataPath(data::frameModel), program(Program::EnvironmentMap))),
      panel(std::make_unique<PanelView>(program(Program::ModelLoading))),
      hints(std::make_unique<HintView>(program(Program::PhongInstanced))) {}

Renderer::~Renderer() = default;

void Renderer::drawScene(const GameSession& session, const glm::mat4& viewProjection,
                         const glm::vec3& eyePosition) {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glUseProgram(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    for (const Program which : cameraPrograms) {
        Shader& shader = *program(which);
        glUseProgram(shader.programId);
        shader.setUniform("viewProjMatrix", viewProjection);
        shader.setUniform("viewPosition", eyePosition);
    }

    // The sky comes first and writes no depth, so everything drawn later
    // covers it, particles too: they write no depth either and would be
    // painted over by a sky drawn after them. The cube's body follows, so
    // that without multisampling the faces' hidden fragments fail the depth
    // test before they are shaded.
    skybox->draw(viewProjection);
    frameModel->drawEnvironmentMapped(skybox->cubeMapTexture.id());
    const Sight sight{eyePosition, skipHidden};
    maze->draw(session.ball(), sight);
    river->draw(session.river(), session.seconds(), sight);
    tiles->draw(session.tiles(), sight);
    flow->draw(session.flow(), sight);
    button->draw(session.button(), sight);
    panel->draw(session.panel(), sight);
    hints->draw(session); // last: over the flow board's particles
}

void Renderer::resize(int width, int height, const glm::mat4& projection) {
    skybox->setProjection(projection);
    overlay.resize(width, height);
}

void Renderer::advance(const GameSession& session) {
    maze->advance(session.deltaSeconds());
    flow->advance(session.flow(), session.deltaSeconds());
}

} // namespace zarn
