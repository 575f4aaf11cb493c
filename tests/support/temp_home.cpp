#include "support/temp_home.hpp"

#include <stdlib.h>

#include <stdexcept>

namespace vantorel::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vantorel-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void isolateHome() {
  static TempDir home;
  setenv("VANTOREL_HOME", (home.path() / "config").c_str(), 1);
  setenv("XDG_DOCUMENTS_DIR", (home.path() / "Documents").c_str(), 1);
  setenv("HOME", home.path().c_str(), 1);
}

}  // namespace vantorel::test
