#include "app/Application.h"
#include "app/CommandLine.h"

#include <iostream>

int main(int argc, char** argv) {
    const zarn::CommandLine command = zarn::parseCommandLine(argc, argv);
    switch (command.action) {
    case zarn::CommandLine::Action::Help:
        std::cout << zarn::helpText();
        return 0;
    case zarn::CommandLine::Action::Version:
        std::cout << zarn::versionText();
        return 0;
    case zarn::CommandLine::Action::Error:
        std::cout << command.message << std::endl;
        return 1;
    case zarn::CommandLine::Action::Play:
    case zarn::CommandLine::Action::Demo:
        break;
    }
    return zarn::runGame(command.action == zarn::CommandLine::Action::Demo, command.dataDirectory);
}
