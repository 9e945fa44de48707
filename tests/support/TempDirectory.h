#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zarn::test {

// A fresh directory under the system temp directory, removed with its
// contents when the object goes out of scope.
class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes a file below the directory, creating parent directories.
    std::filesystem::path write(const std::string& relativePath, const std::string& contents) const;
    std::filesystem::path write(const std::string& relativePath,
                                const std::vector<std::uint8_t>& bytes) const;

private:
    std::filesystem::path path_;
};

// Changes the working directory for the lifetime of the object.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& directory);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path previous_;
};

// Runs body with standard output captured and returns what it printed.
template <typename Body> std::string captureStdout(Body&& body);

} // namespace zarn::test

#include <gtest/gtest.h>

template <typename Body> std::string zarn::test::captureStdout(Body&& body) {
    testing::internal::CaptureStdout();
    body();
    return testing::internal::GetCapturedStdout();
}
