#include "support/TempDirectory.h"

#include <fstream>
#include <random>

namespace zarn::test {

TempDirectory::TempDirectory() {
    std::random_device device;
    const auto base = std::filesystem::temp_directory_path();
    do {
        path_ = base / ("zarn-test-" + std::to_string(device()));
    } while (!std::filesystem::create_directory(path_));
}

TempDirectory::~TempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempDirectory::write(const std::string& relativePath,
                                           const std::string& contents) const {
    return write(relativePath, std::vector<std::uint8_t>(contents.begin(), contents.end()));
}

std::filesystem::path TempDirectory::write(const std::string& relativePath,
                                           const std::vector<std::uint8_t>& bytes) const {
    const std::filesystem::path file = path_ / relativePath;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream stream(file, std::ios::binary);
    stream.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return file;
}

WorkingDirectory::WorkingDirectory(const std::filesystem::path& directory)
    : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(directory);
}

WorkingDirectory::~WorkingDirectory() {
    std::filesystem::current_path(previous_);
}

} // namespace zarn::test
