#pragma once

namespace zarn {

// Base of the five puzzle objects. It gives them nothing in common but
// destruction through a base pointer; the frame loop calls each puzzle's own
// operations on its concrete class.
class Game {
public:
    virtual ~Game() = default;
};

} // namespace zarn
