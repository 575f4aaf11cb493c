#pragma once
// The shared sample folder of Access files: $VANTOREL_SHARED_TESTDATA/access, else the nearest
// shared/testdata/access above the source tree (../shared from the repository's root, or from a
// worktree below it); empty when there is none, and the tests over it skip.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace vantorel::test {

inline std::filesystem::path sharedAccessFolder() {
  if (const char* env = std::getenv("VANTOREL_SHARED_TESTDATA")) {
    const auto folder = std::filesystem::path(env) / "access";
    return std::filesystem::is_directory(folder) ? folder : std::filesystem::path();
  }
  for (auto dir = std::filesystem::path(VANTOREL_TEST_DATA); dir.has_relative_path();
       dir = dir.parent_path()) {
    const auto candidate = dir / "shared" / "testdata" / "access";
    if (std::filesystem::is_directory(candidate)) return candidate;
  }
  return {};
}

// Every .mdb and .accdb below the folder, in path order.
inline std::vector<std::filesystem::path> sharedAccessFiles(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const auto ext = entry.path().extension();
    if (entry.is_regular_file() && (ext == ".mdb" || ext == ".accdb")) {
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace vantorel::test
