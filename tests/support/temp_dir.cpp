#include "tests/support/temp_dir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "burgers-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

WorkingDirectory::WorkingDirectory(const std::string& directory)
    : previous_(std::filesystem::current_path().string()) {
    std::filesystem::current_path(directory);
}

WorkingDirectory::~WorkingDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}
