#include "views/TilesView.h"

#include "data/DataDirectory.h"
#include "data/DataFiles.h"
#include "puzzles/MovingTiles.h"
#include "render/GeometryData.h"
#include "render/InstancedGeometry.h"
#include "render/Material.h"
#include "render/Occlusion.h"

#include <string>

namespace zarn {

TilesView::TilesView(const std::shared_ptr<Shader>& shader) {
    const GeometryData box = createBox(1.0f, 1.0f, MovingTiles::tileThickness);
    for (int k = 0; k < tileCount; ++k) {
        const std::string texture = dataPath(data::tileTexture(k));
        auto material = std::make_shared<Material>(shader, texture.c_str(), 0.5f, 0.7f, 0.1f, 2.0f);
        tiles[std::size_t(k)] =
            std::make_unique<InstancedGeometry>(glm::mat4(1.0f), box, std::move(material));
    }
}

TilesView::~TilesView() = default;

void TilesView::draw(const MovingTiles& state, const Sight& sight) {
    for (const auto& row : state.grid().tiles)
        for (const int tile : row)
            if (tile != blankTile || state.solved()) {
                InstancedGeometry& geometry = *tiles[std::size_t(tile)];
                geometry.place(state.pose(tile));
                if (!sight.hides(geometry.bounds()))
                    geometry.draw();
            }
}

} // namespace zarn
