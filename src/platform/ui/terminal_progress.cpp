#include "platform/ui/terminal_progress.hpp"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/text/unicode.hpp"

namespace vantorel::ui {

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr int kBarWidth = 20;

bool isHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

std::size_t codePoints(std::u16string_view s) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (isHighSurrogate(s[i]) && i + 1 < s.size()) ++i;
    ++n;
  }
  return n;
}

// The first `limit` code points, "..." taking the last three when something was cut.
std::u16string fitText(std::u16string_view s, std::size_t limit) {
  if (codePoints(s) <= limit) return std::u16string(s);
  if (limit < 3) return std::u16string(limit, u'.');
  std::size_t keep = limit - 3, n = 0, i = 0;
  while (i < s.size() && n < keep) {
    i += (isHighSurrogate(s[i]) && i + 1 < s.size()) ? 2 : 1;
    ++n;
  }
  return std::u16string(s.substr(0, i)) + u"...";
}

// Line breaks and tabs in a status text would break the in-place redraw.
std::u16string oneLine(std::u16string_view s) {
  std::u16string out(s);
  for (char16_t& c : out) {
    if (c < 0x20) c = u' ';
  }
  return out;
}

}  // namespace

void writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

std::string progressLine(std::u16string_view caption, std::u16string_view status, ProgressLook look,
                         int percent, int width) {
  std::u16string tail;
  if (look != ProgressLook::Compact) {
    int filled = percent * kBarWidth / 100;
    tail += u" [";
    tail.append(static_cast<std::size_t>(filled), u'#');
    tail.append(static_cast<std::size_t>(kBarWidth - filled), u'-');
    tail += u"]";
  }
  std::u16string pct = u" " + fromUtf8(std::to_string(percent)) + u"%";
  tail += pct;
  if (look == ProgressLook::Cancellable) tail += u"  (Ctrl-C cancels)";

  std::u16string head = oneLine(caption);
  if (!status.empty()) head += (head.empty() ? u"" : u": ") + oneLine(status);

  // The terminal's last column is left free so that no terminal wraps the line.
  std::size_t room = width > 1 ? static_cast<std::size_t>(width - 1) : 0;
  if (codePoints(tail) + 8 > room) tail = pct;
  std::size_t headRoom = room > codePoints(tail) ? room - codePoints(tail) : 0;
  return toUtf8(fitText(head, headRoom) + tail);
}

TerminalProgress::Display* TerminalProgress::find(int handle) {
  for (Display& d : displays_) {
    if (d.handle == handle) return &d;
  }
  return nullptr;
}

void TerminalProgress::opened(int handle, std::u16string_view caption, ProgressLook look) {
  displays_.push_back({handle, std::u16string(caption), {}, look, 0});
  lastDraw_ = {};  // a new display shows at once
  changed();
}

void TerminalProgress::status(int handle, std::u16string_view text) {
  if (Display* d = find(handle)) {
    d->status = text;
    changed();
  }
}

void TerminalProgress::percent(int handle, int value) {
  if (Display* d = find(handle)) {
    d->percent = value;
    changed();
  }
}

void TerminalProgress::closed(int handle) {
  std::erase_if(displays_, [&](const Display& d) { return d.handle == handle; });
  if (displays_.empty()) {
    clearLine();
    pending_ = false;
  } else {
    lastDraw_ = {};
    changed();
  }
}

void TerminalProgress::idle() {
  if (pending_ && std::chrono::steady_clock::now() - lastDraw_ >= kRedrawInterval) draw();
}

void TerminalProgress::hide() {
  clearLine();
}

void TerminalProgress::show() {
  if (!displays_.empty()) draw();
}

void TerminalProgress::changed() {
  pending_ = true;
  idle();
}

void TerminalProgress::draw() {
  pending_ = false;
  lastDraw_ = std::chrono::steady_clock::now();
  if (displays_.empty()) return;
  const Display& d = displays_.back();
  std::string line = "\r" + progressLine(d.caption, d.status, d.look, d.percent, columns());
  line += "\x1b[K";
  writeAll(fd_, line);
  onScreen_ = true;
}

void TerminalProgress::clearLine() {
  if (!onScreen_) return;
  writeAll(fd_, "\r\x1b[K");
  onScreen_ = false;
}

int TerminalProgress::columns() const {
  winsize ws{};
  if (ioctl(fd_, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0) return ws.ws_col;
  return 80;
}

}  // namespace vantorel::ui
