#pragma once

#include <string>

namespace zarn {

// Ends the program after an unrecoverable error: shuts the window system
// down, prints the message, waits for Enter only when a person sits at the
// terminal (so scripts never hang) and exits with status 1.
[[noreturn]] void fatalExit(const std::string& message);

// fatalExit("ERROR: " + reason).
[[noreturn]] void fatalError(const std::string& reason);

} // namespace zarn
