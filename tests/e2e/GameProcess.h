#pragma once

#include <stb_image.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace zarn::test {

// Calls done every 50 ms until it returns true (then true) or the time-out
// passes (then false).
inline bool waitUntil(double timeoutSeconds, const std::function<bool()>& done) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// The real game binary, started in its own working directory with standard
// input from /dev/null (so fatal errors never wait for Enter) and standard
// output captured in a file. Killed at the end if it still runs.
class GameProcess {
public:
    GameProcess(const std::filesystem::path& binary, const std::filesystem::path& directory,
                const char* option = nullptr)
        : outputFile_(directory / "game-output.txt") {
        pid_ = fork();
        if (pid_ != 0)
            return;
        const int input = open("/dev/null", O_RDONLY);
        const int output = open(outputFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(input, STDIN_FILENO);
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
        // Silent OpenAL output, whatever the machine has, the run-time tree in
        // the game's folder, and the player's settings and records there too,
        // unless a test chose otherwise.
        setenv("ALSOFT_DRIVERS", "null", 0);
        setenv("ZARN_DATA", "assets", 0);
        setenv("XDG_CONFIG_HOME", (directory / "config").c_str(), 0);
        setenv("XDG_DATA_HOME", (directory / "data").c_str(), 0);
        if (chdir(directory.c_str()) == 0)
            execl(binary.c_str(), binary.c_str(), option, static_cast<char*>(nullptr));
        _exit(127);
    }
    ~GameProcess() {
        if (pid_ > 0 && !status_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // Exit status once the game has ended within the time-out, or nothing.
    std::optional<int> waitForExit(double timeoutSeconds) {
        waitUntil(timeoutSeconds, [this] {
            int status = 0;
            if (!status_ && waitpid(pid_, &status, WNOHANG) == pid_)
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return status_.has_value();
        });
        return status_;
    }
    std::string output() const {
        std::stringstream text;
        text << std::ifstream(outputFile_).rdbuf();
        return text.str();
    }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::filesystem::path outputFile_;
};

// Runs a command (killed after 20 s, so a stuck X tool fails the test rather
// than hanging it) and returns its standard output.
inline std::string runCommand(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(("timeout 20 " + command).c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        pclose(pipe);
    }
    return output;
}

// The visible X window of a process, found within the time-out; 0 if none.
inline unsigned long findWindow(pid_t pid, double timeoutSeconds) {
    std::string found;
    waitUntil(timeoutSeconds, [&] {
        found = runCommand("xdotool search --onlyvisible --pid " + std::to_string(pid) +
                           " 2>/dev/null");
        return !found.empty();
    });
    return found.empty() ? 0 : std::stoul(found);
}

// Focuses the window and sends it one key press, as xdotool names keys.
inline void sendKey(unsigned long window, const std::string& key) {
    runCommand("xdotool windowfocus --sync " + std::to_string(window) + " key " + key);
}

// An RGB screenshot of a window, rows top to bottom.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    // Pixel at window coordinates with the origin at the bottom-left corner,
    // as the game places its text.
    const unsigned char* at(int x, int yFromBottom) const {
        return &rgb[(std::size_t(height - 1 - yFromBottom) * width + x) * 3];
    }
};

inline Screenshot captureWindow(unsigned long window) {
    Screenshot shot;
    const std::string file = "/tmp/zarn-shot-" + std::to_string(getpid()) + ".png";
    runCommand("import -window " + std::to_string(window) + " png:" + file + " 2>/dev/null");
    int channels = 0;
    if (unsigned char* pixels = stbi_load(file.c_str(), &shot.width, &shot.height, &channels, 3)) {
        shot.rgb.assign(pixels, pixels + std::size_t(shot.width) * shot.height * 3);
        stbi_image_free(pixels);
    }
    std::remove(file.c_str());
    return shot;
}

} // namespace zarn::test
