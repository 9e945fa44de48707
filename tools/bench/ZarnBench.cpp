#include "GLCallCounter.h"

#include "app/Application.h"
#include "app/FrameLoop.h"
#include "app/Platform.h"
#include "session/GameSession.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using namespace zarn;
using Clock = std::chrono::steady_clock;

namespace {

int framesPerRun = 600;

// Milliseconds since the kernel started this process, from /proc (10 ms steps).
double processAgeMilliseconds() {
    std::string line;
    std::getline(std::ifstream("/proc/self/stat"), line);
    // Fields after the command name, which ends at the last ')': state is
    // field 3, the start time in clock ticks since boot field 22.
    std::istringstream rest(line.substr(line.rfind(')') + 1));
    std::string field;
    for (int i = 3; i <= 22; ++i)
        rest >> field;
    double uptime = 0.0;
    std::ifstream("/proc/uptime") >> uptime;
    return (uptime - std::stod(field) / double(sysconf(_SC_CLK_TCK))) * 1000.0;
}

// CPU seconds this process used so far, on every thread.
double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

struct FrameTimes {
    double median = 0.0, p95 = 0.0;
};

// Times each of the frames separately; every frame ends with its swap.
FrameTimes timeFrames(const std::function<void(int)>& frame) {
    std::vector<double> times;
    times.reserve(framesPerRun);
    for (int i = 0; i < framesPerRun; ++i) {
        const Clock::time_point start = Clock::now();
        frame(i);
        times.push_back(milliseconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[times.size() * 95 / 100]};
}

void print(const char* what, double value, const char* unit) {
    std::printf("%-44s %8.1f %s\n", what, value, unit);
}

} // namespace

// zarn-bench [frames per run]: 600 unless given.
int main(int argc, char** argv) {
    if (argc > 1)
        framesPerRun = std::max(1, std::atoi(argv[1]));
    const double ageAtMain = processAgeMilliseconds();
    const Clock::time_point mainStart = Clock::now();
    std::optional<Clock::time_point> firstSwap;
    double cursorX = 400.0, cursorY = 400.0;

    Application app;
    app.startUp([&](GLFWwindow* window) {
        Platform platform = glfwPlatform(window);
        platform.swapBuffers = [window, &firstSwap] {
            glfwSwapBuffers(window);
            if (!firstSwap)
                firstSwap = Clock::now();
        };
        // The benchmark moves the cursor itself, so the real one cannot turn the view.
        platform.cursorPosition = [&](double& x, double& y) {
            x = cursorX;
            y = cursorY;
        };
        return platform;
    });
    runFrame(app);
    print("start-up to first frame", ageAtMain + milliseconds(*firstSwap - mainStart), "ms");

    for (int i = 0; i < 30; ++i) // shaders are compiled at their first draws
        runFrame(app);

    bench::countGLCalls();
    const FrameTimes still = timeFrames([&](int) { runFrame(app); });
    const bench::GLCallCounts counts = bench::glCallCounts;

    // A full turn around the cube while the eye rises and falls, as a right-drag.
    app.input().rightMouseDown = true;
    const FrameTimes orbit = timeFrames([&](int i) {
        cursorX = 400.0 + 1257.0 * (i + 1) / framesPerRun;
        cursorY = 400.0 + 150.0 * std::sin(6.2831853 * (i + 1) / framesPerRun);
        runFrame(app);
    });
    app.input().rightMouseDown = false;

    int width = 0, height = 0;
    glfwGetFramebufferSize(app.window(), &width, &height);
    const FrameTimes bare = timeFrames([&](int) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glViewport(0, 0, width, height);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        app.platform().swapBuffers();
    });

    // Paused, the game should rest: the share of one core it takes over 10 s.
    app.session().pause();
    const bool paused = app.session().paused();
    runFrame(app);
    const double cpuBefore = processCpuSeconds();
    const Clock::time_point restStart = Clock::now();
    while (Clock::now() - restStart < std::chrono::seconds(10))
        runFrame(app);
    const double restCpu = processCpuSeconds() - cpuBefore;

    print("default view, median frame", still.median, "ms");
    print("default view, 95th percentile frame", still.p95, "ms");
    print("orbit, median frame", orbit.median, "ms");
    print("orbit, 95th percentile frame", orbit.p95, "ms");
    print("bare frame (clear and swap), median", bare.median, "ms");
    print("bare frame (clear and swap), 95th percentile", bare.p95, "ms");
    print("default view median / bare median", still.median / bare.median, "x");
    print("orbit median / bare median", orbit.median / bare.median, "x");
    print("default view 95th percentile / median", still.p95 / still.median, "x");
    print("orbit 95th percentile / median", orbit.p95 / orbit.median, "x");
    print("draw calls per frame", double(counts.drawCalls) / framesPerRun, "");
    print("state changes per frame", double(counts.stateChanges) / framesPerRun, "");
    print("uniform uploads per frame", double(counts.uniformUploads) / framesPerRun, "");
    print("buffer uploads per frame", double(counts.bufferUploads) / framesPerRun, "");
    if (paused)
        print("paused, CPU time over 10 s", restCpu * 10.0, "% of one core");
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    print("peak resident memory", double(usage.ru_maxrss) / 1024.0, "MiB");

    if (app.session().state() != GameState::Running)
        std::printf("The countdown ran out during the run: the last frames drew the end screen "
                    "without physics.\n");
    app.tearDown();
    return 0;
}
