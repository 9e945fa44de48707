#pragma once

#include <array>
#include <vector>

namespace zarn {

// Which piece of the pentagon panel slides out next. Pieces are numbered 1
// (the lock) to 5; each slides out once, one at a time, the most recently
// requested first.
class PanelQueue {
public:
    static constexpr int pieceCount = 5;

    // Queues piece unless it is out, sliding or queued already.
    void request(int piece);
    // With the panel's tweens idle, takes the piece to slide now off the
    // queue and marks it moved; 0 when there is none.
    int next(bool tweensIdle);

    std::array<bool, pieceCount + 1> moved{}; // by piece number; [0] unused
    std::vector<int> queue;
};

} // namespace zarn
