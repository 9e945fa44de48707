#include "app/FatalError.h"

#include <GLFW/glfw3.h>

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
    std::exit(1);
}

void fatalError(const std::string& reason) {
    fatalExit("ERROR: " + reason);
}

} // namespace zarn
