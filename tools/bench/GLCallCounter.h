#pragma once

#include <cstdint>

namespace zarn::bench {

// Counts the GL calls the game makes, by kind. The benchmark executable
// defines the GL 1.x entry points itself, so the game's calls land in it
// before they reach the driver, and swaps GLEW's pointers for the newer ones.
struct GLCallCounts {
    std::int64_t drawCalls = 0;
    // Program, vertex array, buffer, texture and framebuffer binds, capability
    // switches, depth, blend, cull, polygon and viewport settings.
    std::int64_t stateChanges = 0;
    std::int64_t uniformUploads = 0;
    std::int64_t bufferUploads = 0; // glBufferData and glBufferSubData
};

extern GLCallCounts glCallCounts;

// Routes GLEW's function pointers through the counters; call after glewInit.
void countGLCalls();

} // namespace zarn::bench
