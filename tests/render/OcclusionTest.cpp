#include "render/Occlusion.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <random>

using namespace zarn;

namespace {

const Box body{glm::vec3(-cubeBodyHalf), glm::vec3(cubeBodyHalf)};

bool inside(const glm::vec3& point, const Box& box) {
    return glm::all(glm::greaterThan(point, box.low)) && glm::all(glm::lessThan(point, box.high));
}

} // namespace

// From the starting eye in front of the cube: the back face and the middle of
// a side face are hidden, the front face and anything standing out past the
// cube's edges are not, and a face seen exactly edge-on is not hidden either.
TEST(OcclusionTest, TheBodyHidesWhatLiesBehindItAndNothingElse) {
    const glm::vec3 eye(0.0f, 0.0f, 6.0f);
    EXPECT_TRUE(hiddenBehind(eye, body, {{-1.6f, -1.6f, -3.0f}, {1.6f, 1.6f, -1.49f}}));
    EXPECT_TRUE(hiddenBehind(eye, body, {{-1.7f, -0.5f, -0.5f}, {-1.49f, 0.5f, 0.5f}}));
    EXPECT_FALSE(hiddenBehind(eye, body, {{-0.5f, -0.5f, 1.49f}, {0.5f, 0.5f, 1.6f}}));
    EXPECT_FALSE(hiddenBehind(eye, body, {{-2.7f, 0.0f, -1.2f}, {-1.5f, 0.3f, -1.0f}}));
    EXPECT_FALSE(hiddenBehind(eye, body, {{-0.8f, -2.1f, -0.8f}, {0.8f, -1.5f, 0.8f}}))
        << "the button peeps out under the cube";
    EXPECT_FALSE(hiddenBehind({0.0f, cubeBodyHalf, 6.0f}, body,
                              {{-1.0f, cubeBodyHalf, -1.0f}, {1.0f, cubeBodyHalf, 1.0f}}));
    EXPECT_FALSE(hiddenBehind(eye, body, Box{}));

    const Box turned = transformed({glm::vec3(-1.0f), glm::vec3(1.0f)},
                                   glm::rotate(glm::mat4(1.0f), 0.7853982f, {0, 1, 0}));
    EXPECT_NEAR(turned.high.x, 1.4142135f, 1e-5f);
    EXPECT_NEAR(turned.low.z, -1.4142135f, 1e-5f);
}

// Wherever a box counts as hidden, its corners and every point sampled in it
// are, by a walk along the line of sight; from eyes all round, many boxes are.
TEST(OcclusionTest, HiddenBoxesAreHiddenAllThrough) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f), share(0.0f, 1.0f);
    int hidden = 0;
    for (int trial = 0; trial < 4000; ++trial) {
        const glm::vec3 eye = glm::normalize(glm::vec3(unit(random), unit(random), unit(random))) *
                              (3.5f + 8.5f * share(random));
        const glm::vec3 corner(2.5f * unit(random), 2.5f * unit(random), 2.5f * unit(random));
        const Box target{corner, corner + glm::vec3(share(random), share(random), share(random))};
        if (!hiddenBehind(eye, body, target))
            continue;
        ++hidden;
        // The corners first, then points inside.
        for (int sample = 0; sample < 28; ++sample) {
            const glm::vec3 at = sample < 8
                                     ? glm::vec3(sample & 1, (sample >> 1) & 1, sample >> 2)
                                     : glm::vec3(share(random), share(random), share(random));
            const glm::vec3 point = target.low + (target.high - target.low) * at;
            bool blocked = false;
            // Steps of at most 0.01 through a body 0.01 larger: a line that
            // only just cuts a corner counts as blocked too.
            const Box grown{body.low - 0.01f, body.high + 0.01f};
            for (int step = 1; step <= 2000 && !blocked; ++step)
                blocked = inside(glm::mix(eye, point, float(step) / 2000.0f), grown);
            ASSERT_TRUE(blocked) << "trial " << trial;
        }
    }
    EXPECT_GT(hidden, 200);
}
