#include "views/PanelView.h"

#include "puzzles/PentagonPanel.h"
#include "render/Occlusion.h"

namespace zarn {

namespace {

constexpr const char* pieceFiles[PanelQueue::pieceCount + 1] = {
    "",
    "assets/models/pentagon/lock.obj",
    "assets/models/pentagon/mt.obj",
    "assets/models/pentagon/bg.obj",
    "assets/models/pentagon/rcg.obj",
    "assets/models/pentagon/fp.obj",
};

} // namespace

PanelView::PanelView(const std::shared_ptr<Shader>& shader)
    : frame("assets/models/pentagon/frame.obj", shader) {
    frame.setModelMatrix(PentagonPanel::framePose);
    for (int number = 1; number <= PanelQueue::pieceCount; ++number)
        pieces[std::size_t(number)] = std::make_unique<Model>(pieceFiles[number], shader);
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
