#include "views/PanelView.h"

#include "data/DataDirectory.h"
#include "data/DataFiles.h"
#include "puzzles/PentagonPanel.h"
#include "render/Occlusion.h"

namespace zarn {

namespace {} // namespace

PanelView::PanelView(const std::shared_ptr<Shader>& shader)
    : frame(dataPath(data::panelFrame), shader) {
    frame.setModelMatrix(PentagonPanel::framePose);
    for (int number = 1; number <= PanelQueue::pieceCount; ++number)
        pieces[std::size_t(number)] =
            std::make_unique<Model>(dataPath(data::panelPieces[std::size_t(number - 1)]), shader);
}

void PanelView::draw(const PentagonPanel& panel, const Sight& sight) {
    if (!sight.hides(frame.bounds()))
        frame.draw();
    for (int number = 1; number <= PanelQueue::pieceCount; ++number) {
        Model& piece = *pieces[std::size_t(number)];
        piece.setModelMatrix(panel.piecePose(number));
        if (!sight.hides(piece.bounds()))
            piece.draw();
    }
}

} // namespace zarn
