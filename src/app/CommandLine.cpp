#include "app/CommandLine.h"

namespace zarn {

CommandLine parseCommandLine(int argc, const char* const* argv) {
    const auto error = [](const std::string& message) {
        return CommandLine{CommandLine::Action::Error, message + " Try 'zarn --help'.", {}};
    };
    CommandLine command;
    for (int k = 1; k < argc; ++k) {
        const std::string option = argv[k];
        if ((option == "--help" || option == "-h" || option == "--version") && argc == 2)
            return {option == "--version" ? CommandLine::Action::Version
                                          : CommandLine::Action::Help,
                    {},
                    {}};
        if (option == "--demo" && command.action != CommandLine::Action::Demo)
            command.action = CommandLine::Action::Demo;
        else if (option == "--data" && command.dataDirectory.empty()) {
            if (k + 1 == argc || std::string(argv[k + 1]).empty())
                return error("--data needs a folder.");
            command.dataDirectory = argv[++k];
        } else if (option == "--help" || option == "-h" || option == "--version")
            return error("'" + option + "' goes alone.");
        else
            return error("Unknown option '" + option + "'.");
    }
    return command;
}

std::string helpText() {
    return "Usage: zarn [--demo] [--data DIR] | --help | --version\n"
           "Zarn, a puzzle cube: solve its four faces and press the red button\n"
           "within five minutes. Press F1 in the game for the controls.\n"
           "\n"
           "  --demo        watch the game play itself to the win; any key or\n"
           "                click ends the demo and starts a game for you\n"
           "  --data DIR    read the game's data from DIR (also $ZARN_DATA)\n"
           "  --help        show this help and quit\n"
           "  --version     show the version and quit\n";
}

std::string versionText() {
    return "Zarn " ZARN_VERSION "\n";
}

} // namespace zarn
