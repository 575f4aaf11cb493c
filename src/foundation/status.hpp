#pragma once
// AGPStatus: the engine's channel to the user during long operations (a progress display with
// caption, status line, percentage and Cancel), and the keeper of the built-in script texts.
// One instance per thread, Status(), serves everything the engine does on that thread.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"
#include "platform/sys/clock.hpp"
#include "platform/ui/types.hpp"

namespace vantorel {

class AGPStatus : public Object {
 public:
  AGPStatus();
  const ClassInfo& classInfo() const noexcept override;

  void DispStatus(const Variant& text);
  // The owner is the host's window; there is none here, but it must still be a number. Captions
  // and status lines are plain text: this display needs no leading length character.
  void ShowStatus(const Variant& owner, const Variant& caption);
  void ShowStatus2(const Variant& owner, const Variant& caption);
  void ShowStatus3(const Variant& owner, const Variant& caption);
  bool StatusIsCancelled();
  void CloseStatus();
  void SetStatus(const Variant& value);
  // Re-sends the last percentage once at least a second has passed since it was set.
  void Refresh();
  // "VB": the system functions script, "VL": the validation functions script.
  Variant GetSysCode(const Variant& key);

  std::int32_t dialogHandle() const noexcept { return handle_; }
  const Variant& lastValue() const noexcept { return lastValue_; }
  sys::TimePoint lastUpdate() const noexcept { return lastUpdate_; }

 protected:
  void terminate() noexcept override;

 private:
  void show(const Variant& owner, const Variant& caption, ui::ProgressLook look);

  std::int32_t handle_ = 0;
  Variant lastValue_;
  sys::TimePoint lastUpdate_;
};

// The thread's shared instance, created on first use.
AGPStatus& Status();

// Captions and status lines are at most this long; longer ones are shortened.
constexpr std::size_t kMaxStatusLength = 255;
// Keeps the start and ends with "...", never splitting a surrogate pair.
std::u16string limitStatusText(std::u16string_view text);

}  // namespace vantorel
