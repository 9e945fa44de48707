#include "GameProcess.h"

#include <stb_image.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zarn::test {

GameProcess::GameProcess(const std::filesystem::path& binary,
                         const std::filesystem::path& workingDirectory)
    : outputFile_(workingDirectory / "game-output.txt") {
    pid_ = fork();
    if (pid_ == 0) {
        if (chdir(workingDirectory.c_str()) != 0)
            _exit(127);
        const int input = open("/dev/null", O_RDONLY);
        const int output = open(outputFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(input, STDIN_FILENO);
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
        execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

GameProcess::~GameProcess() {
    if (pid_ > 0 && !status_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

std::optional<int> GameProcess::waitForExit(double timeoutSeconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (!status_) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        if (std::chrono::steady_clock::now() > deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return status_;
}

std::string GameProcess::output() const {
    std::ifstream file(outputFile_);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string runCommand(const std::string& command, int* exitStatus) {
    std::string output;
    // A stuck X tool must fail the test, not hang it.
    FILE* pipe = popen(("timeout 20 " + command).c_str(), "r");
    if (!pipe)
        return output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    const int status = pclose(pipe);
    if (exitStatus)
        *exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

unsigned long findWindow(pid_t pid, double timeoutSeconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    do {
        const std::string found = runCommand("xdotool search --onlyvisible --pid " +
                                             std::to_string(pid) + " 2>/dev/null");
        if (!found.empty())
            return std::stoul(found);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } while (std::chrono::steady_clock::now() < deadline);
    return 0;
}

Screenshot captureWindow(unsigned long window) {
    Screenshot shot;
    const std::string file = "/tmp/zarn-shot-" + std::to_string(getpid()) + ".png";
    runCommand("import -window " + std::to_string(window) + " png:" + file + " 2>/dev/null");
    int channels = 0;
    unsigned char* pixels = stbi_load(file.c_str(), &shot.width, &shot.height, &channels, 3);
    if (pixels) {
        shot.rgb.assign(pixels, pixels + std::size_t(shot.width) * shot.height * 3);
        stbi_image_free(pixels);
    }
    std::remove(file.c_str());
    return shot;
}

} // namespace zarn::test
