#pragma once

namespace zarn {

// What a collider stands for, and so what a click on it means. The physics
// world carries it as its body's tag.
struct PickTarget {
    enum class Kind {
        Nothing,     // the sky
        TileSlot,    // index: the slot, 3 * row + column
        RiverTarget, // index: 3 * row + column of the river's click targets
        FlowCell,    // index: the cell, 5 * row + column
        Button,
        MazeCell, // the maze takes no clicks, but its walls stop them
        Ball,
    };

    Kind kind = Kind::Nothing;
    int index = 0;

    int tag() const { return int(kind) * 1000 + index; }
    static PickTarget fromTag(int tag) { return {Kind(tag / 1000), tag % 1000}; }

    bool operator==(const PickTarget&) const = default;
};

} // namespace zarn
