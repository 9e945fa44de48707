#include "app/CommandLine.h"

namespace zarn {

CommandLine parseCommandLine(int argc, const char* const* argv) {
    if (argc <= 1)
        return {};
    const std::string option = argv[1];
    if (argc > 2)
        return {CommandLine::Action::Error, "zarn takes one option at most. Try 'zarn --help'."};
    if (option == "--help" || option == "-h")
        return {CommandLine::Action::Help, {}};
    if (option == "--version")
        return {CommandLine::Action::Version, {}};
    if (option == "--demo")
        return {CommandLine::Action::Demo, {}};
    return {CommandLine::Action::Error, "Unknown option '" + option + "'. Try 'zarn --help'."};
}

std::string helpText() {
    return "Usage: zarn [option]\n"
           "Zarn, a puzzle cube: solve its four faces and press the red button\n"
           "within five minutes. Press F1 in the game for the controls.\n"
           "\n"
           "  --demo     watch the game play itself to the win; any key or click\n"
           "             ends the demo and starts a game for you\n"
           "  --help     show this help and quit\n"
           "  --version  show the version and quit\n";
}

std::string versionText() {
    return "Zarn " ZARN_VERSION "\n";
}

} // namespace zarn
