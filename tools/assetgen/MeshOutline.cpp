#include "MeshOutline.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace assetgen {

namespace {

float turn(glm::vec2 a, glm::vec2 b, glm::vec2 c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// Closed triangle test for a counter-clockwise triangle.
bool insideTriangle(glm::vec2 p, glm::vec2 a, glm::vec2 b, glm::vec2 c, float tolerance) {
    return turn(a, b, p) >= -tolerance && turn(b, c, p) >= -tolerance &&
           turn(c, a, p) >= -tolerance;
}

glm::vec2 outwardNormal(glm::vec2 from, glm::vec2 to) {
    const glm::vec2 edge = glm::normalize(to - from);
    return glm::vec2(edge.y, -edge.x);
}

// The corner point of two offset edges meeting at p, given their unit normals.
glm::vec2 mitre(glm::vec2 p, glm::vec2 n0, glm::vec2 n1, float distance) {
    const float denominator = 1.0f + glm::dot(n0, n1);
    if (denominator < 1e-4f)
        return p + n0 * distance;
    return p + (n0 + n1) * (distance / denominator);
}

} // namespace

float outlineArea(const Outline& outline) {
    float twice = 0.0f;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const glm::vec2 a = outline[i];
        const glm::vec2 b = outline[(i + 1) % outline.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return 0.5f * twice;
}

Outline regularPolygon(int sides, float radius, float startAngle, glm::vec2 centre) {
    Outline outline;
    for (int i = 0; i < sides; ++i) {
        const float angle = startAngle + 2.0f * float(M_PI) * float(i) / float(sides);
        outline.push_back(centre + radius * glm::vec2(std::cos(angle), std::sin(angle)));
    }
    return outline;
}

Outline roundedRectangle(glm::vec2 centre, glm::vec2 halfSize, float cornerRadius,
                         int cornerSegments) {
    const float r = std::min({cornerRadius, halfSize.x, halfSize.y});
    const glm::vec2 inner = halfSize - glm::vec2(r);
    const glm::vec2 corners[4] = {
        {inner.x, -inner.y}, {inner.x, inner.y}, {-inner.x, inner.y}, {-inner.x, -inner.y}};
    Outline outline;
    for (int corner = 0; corner < 4; ++corner) {
        const float start = float(M_PI) * (-0.5f + 0.5f * float(corner));
        for (int i = 0; i <= cornerSegments; ++i) {
            const float angle =
                start + 0.5f * float(M_PI) * float(i) / float(std::max(cornerSegments, 1));
            outline.push_back(centre + corners[corner] +
                              r * glm::vec2(std::cos(angle), std::sin(angle)));
            if (r <= 0.0f)
                break;
        }
    }
    return outline;
}

Outline arcBand(glm::vec2 centre, float innerRadius, float outerRadius, float startAngle,
                float endAngle, int segments) {
    Outline outline;
    for (int i = 0; i <= segments; ++i) {
        const float angle = startAngle + (endAngle - startAngle) * float(i) / float(segments);
        outline.push_back(centre + outerRadius * glm::vec2(std::cos(angle), std::sin(angle)));
    }
    for (int i = segments; i >= 0; --i) {
        const float angle = startAngle + (endAngle - startAngle) * float(i) / float(segments);
        outline.push_back(centre + innerRadius * glm::vec2(std::cos(angle), std::sin(angle)));
    }
    return outline;
}

Outline strokePolyline(const std::vector<glm::vec2>& path, float halfWidth) {
    if (path.size() < 2)
        return {};
    const std::size_t n = path.size();
    // Right-hand normals of each segment; the right side runs forwards and the
    // left side back, which traces the band counter-clockwise.
    std::vector<glm::vec2> normals;
    for (std::size_t i = 0; i + 1 < n; ++i)
        normals.push_back(outwardNormal(path[i], path[i + 1]));
    Outline right, left;
    for (std::size_t i = 0; i < n; ++i) {
        const glm::vec2 before = normals[i == 0 ? 0 : i - 1];
        const glm::vec2 after = normals[i + 1 == n ? n - 2 : i];
        right.push_back(mitre(path[i], before, after, halfWidth));
        left.push_back(mitre(path[i], -before, -after, halfWidth));
    }
    Outline outline = right;
    outline.insert(outline.end(), left.rbegin(), left.rend());
    return outline;
}

Outline offsetOutline(const Outline& outline, float distance) {
    const std::size_t n = outline.size();
    const float sense = outlineArea(outline) >= 0.0f ? 1.0f : -1.0f;
    Outline result;
    for (std::size_t i = 0; i < n; ++i) {
        const glm::vec2 previous = outline[(i + n - 1) % n];
        const glm::vec2 point = outline[i];
        const glm::vec2 next = outline[(i + 1) % n];
        result.push_back(mitre(point, sense * outwardNormal(previous, point),
                               sense * outwardNormal(point, next), distance));
    }
    return result;
}

Outline moveOutline(const Outline& outline, glm::vec2 offset, float scale) {
    Outline result;
    for (const glm::vec2& p : outline)
        result.push_back(offset + scale * p);
    return result;
}

Outline reversedOutline(const Outline& outline) {
    return Outline(outline.rbegin(), outline.rend());
}

bool outlineContains(const Outline& outline, glm::vec2 point) {
    bool inside = false;
    for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
        const glm::vec2 a = outline[i];
        const glm::vec2 b = outline[j];
        if ((a.y > point.y) != (b.y > point.y) &&
            point.x < (b.x - a.x) * (point.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

std::vector<std::array<int, 3>> triangulateOutline(const Outline& outline) {
    const int n = int(outline.size());
    if (n < 3)
        return {};
    const float area = outlineArea(outline);
    if (area == 0.0f || !std::isfinite(area))
        return {};
    glm::vec2 low = outline[0], high = outline[0];
    for (const glm::vec2& p : outline) {
        low = glm::min(low, p);
        high = glm::max(high, p);
    }
    const glm::vec2 extent = high - low;
    const float tolerance = 1e-7f * glm::dot(extent, extent);

    std::vector<int> ring(n);
    std::iota(ring.begin(), ring.end(), 0);
    if (area < 0.0f)
        std::reverse(ring.begin(), ring.end());

    std::vector<std::array<int, 3>> triangles;
    auto isEar = [&](std::size_t i) {
        const std::size_t count = ring.size();
        const int a = ring[(i + count - 1) % count], b = ring[i], c = ring[(i + 1) % count];
        if (turn(outline[a], outline[b], outline[c]) <= tolerance)
            return false;
        for (int other : ring) {
            if (other == a || other == b || other == c)
                continue;
            const glm::vec2 p = outline[other];
            if (p == outline[a] || p == outline[b] || p == outline[c])
                continue;
            if (insideTriangle(p, outline[a], outline[b], outline[c], tolerance))
                return false;
        }
        return true;
    };
    while (ring.size() > 3) {
        const std::size_t count = ring.size();
        std::size_t chosen = count;
        for (std::size_t i = 0; i < count && chosen == count; ++i)
            if (isEar(i))
                chosen = i;
        // Only straight runs left: cutting off a flat corner keeps the edges
        // shared with the neighbouring faces.
        for (std::size_t i = 0; i < count && chosen == count; ++i) {
            const int a = ring[(i + count - 1) % count], b = ring[i], c = ring[(i + 1) % count];
            if (std::abs(turn(outline[a], outline[b], outline[c])) <= tolerance)
                chosen = i;
        }
        if (chosen == count)
            return {};
        triangles.push_back(
            {ring[(chosen + count - 1) % count], ring[chosen], ring[(chosen + 1) % count]});
        ring.erase(ring.begin() + std::ptrdiff_t(chosen));
    }
    triangles.push_back({ring[0], ring[1], ring[2]});
    if (area < 0.0f)
        for (auto& triangle : triangles)
            std::swap(triangle[1], triangle[2]);
    return triangles;
}

} // namespace assetgen
