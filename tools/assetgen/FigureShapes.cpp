#include "FigureShapes.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

FigureShape figureLathe(const std::vector<glm::vec2>& profile, int segments, float turn) {
    FigureShape shape;
    const float pi = 3.14159265f;
    // ring[i] is the first position of profile point i; a point of zero
    // radius has a single position.
    std::vector<unsigned> ring;
    float widest = 0.0f;
    for (const glm::vec2& point : profile) {
        ring.push_back(static_cast<unsigned>(shape.positions.size()));
        widest = std::max(widest, point.x);
        if (point.x <= 0.0f) {
            shape.positions.emplace_back(0.0f, point.y, 0.0f);
            continue;
        }
        for (int k = 0; k < segments; ++k) {
            const float a =
                2.0f * pi * (static_cast<float>(k) + turn) / static_cast<float>(segments);
            shape.positions.emplace_back(point.x * std::cos(a), point.y, -point.x * std::sin(a));
        }
    }
    const auto at = [&](std::size_t i, int k) {
        return profile[i].x <= 0.0f ? ring[i] : ring[i] + static_cast<unsigned>(k % segments);
    };
    const auto add = [&](unsigned a, unsigned b, unsigned c, int band) {
        shape.triangles.emplace_back(a, b, c);
        shape.bands.push_back(band);
    };

    const std::size_t last = profile.size() - 1;
    for (std::size_t i = 0; i < last; ++i) {
        const int band = static_cast<int>(i);
        for (int k = 0; k < segments; ++k) {
            const unsigned a = at(i, k), b = at(i, k + 1);
            const unsigned c = at(i + 1, k + 1), d = at(i + 1, k);
            if (profile[i].x > 0.0f) {
                add(a, b, c, band);
            }
            if (profile[i + 1].x > 0.0f) {
                add(a, c, d, band);
            }
        }
    }
    if (profile.front().x > 0.0f) {
        const auto centre = static_cast<unsigned>(shape.positions.size());
        shape.positions.emplace_back(0.0f, profile.front().y, 0.0f);
        for (int k = 0; k < segments; ++k) {
            add(centre, at(0, k + 1), at(0, k), 0);
        }
    }
    if (profile.back().x > 0.0f) {
        const auto centre = static_cast<unsigned>(shape.positions.size());
        shape.positions.emplace_back(0.0f, profile.back().y, 0.0f);
        for (int k = 0; k < segments; ++k) {
            add(centre, at(last, k), at(last, k + 1), static_cast<int>(last) - 1);
        }
    }
    const float height = profile.back().y - profile.front().y;
    shape.halfExtent = glm::vec3(widest, 0.5f * height, widest);
    return shape;
}

FigureShape figureSphere(int segments, int rings, float turn) {
    const float pi = 3.14159265f;
    std::vector<glm::vec2> profile;
    for (int i = 0; i <= rings; ++i) {
        const float theta = pi * static_cast<float>(i) / static_cast<float>(rings);
        const float radius = (i == 0 || i == rings) ? 0.0f : std::sin(theta);
        profile.emplace_back(radius, -std::cos(theta));
    }
    return figureLathe(profile, segments, turn);
}

} // namespace assetgen
