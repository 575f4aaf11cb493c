#pragma once
// libmdb reports trouble by printing to stderr. While one of these lives, whatever is written to
// file descriptor 2 goes into an anonymous memory file instead of the user's terminal, and
// release() hands it back as text. Captures nest; the host runs on one thread.
#include <string>

namespace vantorel::data::access {

class MdbStderrCapture {
 public:
  MdbStderrCapture() noexcept;
  ~MdbStderrCapture() { release(); }
  MdbStderrCapture(const MdbStderrCapture&) = delete;
  MdbStderrCapture& operator=(const MdbStderrCapture&) = delete;

  // Puts stderr back and returns what was written meanwhile ("" after the first call, or when
  // the redirection could not be set up and the text went through).
  std::string release() noexcept;

 private:
  int saved_ = -1;
  int sink_ = -1;
};

}  // namespace vantorel::data::access
