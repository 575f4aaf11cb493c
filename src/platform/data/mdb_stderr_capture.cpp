#include "platform/data/mdb_stderr_capture.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>

namespace vantorel::data::access {

MdbStderrCapture::MdbStderrCapture() noexcept {
  std::fflush(stderr);
  sink_ = memfd_create("vantorel-mdb-stderr", MFD_CLOEXEC);
  if (sink_ < 0) return;
  saved_ = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
  if (saved_ < 0 || dup2(sink_, STDERR_FILENO) < 0) {
    if (saved_ >= 0) close(saved_);
    close(sink_);
    saved_ = sink_ = -1;
  }
}

std::string MdbStderrCapture::release() noexcept {
  if (sink_ < 0) return {};
  std::fflush(stderr);
  dup2(saved_, STDERR_FILENO);
  close(saved_);
  std::string text;
  try {
    char buffer[4096];
    off_t offset = 0;
    for (;;) {
      const ssize_t n = pread(sink_, buffer, sizeof buffer, offset);
      if (n <= 0) break;
      text.append(buffer, static_cast<std::size_t>(n));
      offset += n;
    }
  } catch (...) {
    // Out of memory for the messages: they are lost, the restored stderr is what matters.
  }
  close(sink_);
  saved_ = sink_ = -1;
  return text;
}

}  // namespace vantorel::data::access
