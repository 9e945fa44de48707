#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace zarn::test {

// A fresh directory under the system temp directory, removed with its
// contents when the object goes out of scope.
class TempDirectory {
public:
    TempDirectory() {
        std::random_device device;
        do
            path_ =
                std::filesystem::temp_directory_path() / ("zarn-test-" + std::to_string(device()));
        while (!std::filesystem::create_directory(path_));
    }
    ~TempDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes a file below the directory, creating parent directories.
    std::filesystem::path write(const std::string& relativePath, std::string_view contents) const {
        const std::filesystem::path file = path_ / relativePath;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary)
            .write(contents.data(), std::streamsize(contents.size()));
        return file;
    }
    std::filesystem::path write(const std::string& relativePath,
                                const std::vector<std::uint8_t>& bytes) const {
        return write(relativePath,
                     std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }

private:
    std::filesystem::path path_;
};

// Changes the working directory for the lifetime of the object.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& directory) {
        std::filesystem::current_path(directory);
    }
    ~WorkingDirectory() { std::filesystem::current_path(previous_); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path previous_ = std::filesystem::current_path();
};

// Runs body with standard output captured and returns what it printed.
template <typename Body> std::string captureStdout(Body&& body) {
    testing::internal::CaptureStdout();
    body();
    return testing::internal::GetCapturedStdout();
}

} // namespace zarn::test
