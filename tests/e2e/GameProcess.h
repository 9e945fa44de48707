#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zarn::test {

// The real game binary, started in its own working directory with standard
// input from /dev/null (so fatal errors never wait for Enter) and standard
// output captured in a file.
class GameProcess {
public:
    GameProcess(const std::filesystem::path& binary, const std::filesystem::path& workingDirectory);
    ~GameProcess(); // kills the game if it still runs

    // Exit status once the game has ended within the time-out, or nothing.
    std::optional<int> waitForExit(double timeoutSeconds);
    std::string output() const;
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::filesystem::path outputFile_;
};

// Runs a command (killed after 20 s) and returns its standard output;
// exitStatus receives its exit status.
std::string runCommand(const std::string& command, int* exitStatus = nullptr);

// The visible X window of a process, found within the time-out; 0 if none.
unsigned long findWindow(pid_t pid, double timeoutSeconds);

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
Screenshot captureWindow(unsigned long window);

} // namespace zarn::test
