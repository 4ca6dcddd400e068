// Whole-file reads and writes for fixtures, as bytes.
#pragma once
#include <optional>
#include <string>

void write_file(const std::string& path, const std::string& bytes);

// The file's bytes, or nothing when it does not exist.
std::optional<std::string> read_file(const std::string& path);
