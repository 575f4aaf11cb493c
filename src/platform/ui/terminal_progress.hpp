#pragma once
// The progress display on a terminal: one line, redrawn in place, showing the newest open
// display. Redraws are held back to about ten a second so that chatty loops cost nothing.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/types.hpp"

namespace vantorel::ui {

class TerminalProgress {
 public:
  explicit TerminalProgress(int fd) : fd_(fd) {}

  void opened(int handle, std::u16string_view caption, ProgressLook look);
  void status(int handle, std::u16string_view text);
  void percent(int handle, int value);
  void closed(int handle);
  // Draws a held-back change once its time has come.
  void idle();
  // Clears the line so that a prompt can use the terminal, and draws it again afterwards.
  void hide();
  void show();

 private:
  struct Display {
    int handle;
    std::u16string caption;
    std::u16string status;
    ProgressLook look;
    int percent;
  };
  Display* find(int handle);
  void changed();
  void draw();
  void clearLine();
  int columns() const;

  int fd_;
  std::vector<Display> displays_;  // the last one is drawn
  bool pending_ = false;
  bool onScreen_ = false;
  std::chrono::steady_clock::time_point lastDraw_{};
};

// The line for one display, fitted into `width` columns (one column per code point).
std::string progressLine(std::u16string_view caption, std::u16string_view status, ProgressLook look,
                         int percent, int width);

// Writes all of `bytes`, retrying after signals; a broken terminal is not the engine's concern.
void writeAll(int fd, std::string_view bytes);

}  // namespace vantorel::ui
