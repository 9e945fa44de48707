#include "render/FatalError.h"

#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <unistd.h>

namespace zarn {

void fatalExit(const std::string& message) {
    glfwTerminate();
    std::cout << message << std::endl;
    if (isatty(STDIN_FILENO)) {
        std::cout << "Press Enter to continue..." << std::flush;
        std::string line;
        std::getline(std::cin, line);
    }
    // The context is gone: leave without running static destructors, some of
    // which own GL objects and would call into a dead context.
    std::fflush(nullptr);
    std::_Exit(1);
}

void fatalError(const std::string& reason) {
    fatalExit("ERROR: " + reason);
}

} // namespace zarn
