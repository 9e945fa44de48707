#include "puzzles/PanelQueue.h"

#include <algorithm>

namespace zarn {

void PanelQueue::request(int piece) {
    if (piece < 1 || piece > pieceCount || moved[std::size_t(piece)])
        return;
    if (std::find(queue.begin(), queue.end(), piece) == queue.end())
        queue.push_back(piece);
}

int PanelQueue::next(bool tweensIdle) {
    if (!tweensIdle || queue.empty())
        return 0;
    const int piece = queue.back();
    queue.pop_back();
    moved[std::size_t(piece)] = true;
    return piece;
}

} // namespace zarn
