#pragma once

#include <string>

namespace zarn {

// What the command line asks for: to play, to watch the game play itself,
// the help, the version, or nothing it understands (with the message to
// print).
struct CommandLine {
    enum class Action { Play, Demo, Help, Version, Error };
    Action action = Action::Play;
    std::string message;
    std::string dataDirectory; // --data DIR, or empty
};

// Reads the arguments after the program's name: --help or --version alone,
// or --demo and --data DIR in any order.
CommandLine parseCommandLine(int argc, const char* const* argv);

// The text --help prints, and --version's line.
std::string helpText();
std::string versionText();

} // namespace zarn
