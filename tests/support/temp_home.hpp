#pragma once
#include <filesystem>
#include <string>

namespace vantorel::test {

// Points VANTOREL_HOME and the documents folder at a fresh temporary folder for this process.
void isolateHome();

// A temporary folder removed at the end of its scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace vantorel::test
