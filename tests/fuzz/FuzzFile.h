#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace zarn::fuzz {

// A temporary file of this process that each run overwrites with the fuzzer's
// bytes, for loaders that read from a path. Removed at exit.
class FuzzFile {
public:
    explicit FuzzFile(const std::string& extension)
        : path_(std::filesystem::temp_directory_path() /
                ("zarn-fuzz-" + std::to_string(getpid()) + extension)) {}
    ~FuzzFile() { std::remove(path_.c_str()); }
    FuzzFile(const FuzzFile&) = delete;
    FuzzFile& operator=(const FuzzFile&) = delete;

    const std::string& write(const std::uint8_t* data, std::size_t size) const {
        if (std::FILE* file = std::fopen(path_.c_str(), "wb")) {
            if (size > 0)
                std::fwrite(data, 1, size, file);
            std::fclose(file);
        }
        return path_;
    }

private:
    std::string path_;
};

// Stops the run as a crash when a loader breaks one of its promises.
inline void require(bool holds) {
    if (!holds)
        __builtin_trap();
}

} // namespace zarn::fuzz
