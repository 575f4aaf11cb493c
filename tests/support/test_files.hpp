#pragma once
// Whole files as bytes, for the tests to put in place and check what the engine wrote.
#include <filesystem>
#include <string>
#include <string_view>

namespace vantorel::test {

// Every byte of the file; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);

// Where two files' bytes part, with some of each around it, for a readable failure.
std::string firstDifference(const std::string& a, const std::string& b);

// Replaces the file with the bytes, making its folder first where it is missing.
void writeFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace vantorel::test
