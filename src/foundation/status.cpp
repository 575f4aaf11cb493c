#include "foundation/status.hpp"

#include <chrono>

#include "foundation/project_context.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/sys/embedded_files.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/ui.hpp"

namespace vantorel {

AGPStatus::AGPStatus() : lastValue_(std::int16_t{0}), lastUpdate_(sys::now()) {}

const ClassInfo& AGPStatus::classInfo() const noexcept {
  return MemberTable<AGPStatus>::get(u"AGPStatus");
}

std::u16string limitStatusText(std::u16string_view text) {
  if (text.size() <= kMaxStatusLength) return std::u16string(text);
  std::size_t keep = kMaxStatusLength - 3;
  if (text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF) --keep;
  return std::u16string(text.substr(0, keep)) + u"...";
}

void AGPStatus::show(const Variant& owner, const Variant& caption, ui::ProgressLook look) {
  (void)toLong(owner);
  std::u16string text = limitStatusText(toString(caption));
  // A display left open here would lose its handle and could never be closed.
  CloseStatus();
  handle_ = ui::openProgress(text, look);
}

void AGPStatus::ShowStatus(const Variant& owner, const Variant& caption) {
  show(owner, caption, ui::ProgressLook::Standard);
}

void AGPStatus::ShowStatus2(const Variant& owner, const Variant& caption) {
  show(owner, caption, ui::ProgressLook::Compact);
}

void AGPStatus::ShowStatus3(const Variant& owner, const Variant& caption) {
  show(owner, caption, ui::ProgressLook::Cancellable);
}

void AGPStatus::DispStatus(const Variant& text) {
  if (handle_ > 0) ui::setProgressStatus(handle_, limitStatusText(toString(text)));
  ui::yieldToHost();
}

void AGPStatus::SetStatus(const Variant& value) {
  if (handle_ > 0) {
    std::int16_t percent = toInteger(value);
    ui::setProgressPercent(handle_, percent);
    // An object would be kept alive by the thread's shared instance; its value is enough.
    lastValue_ = value.isObject() ? Variant(percent) : value;
    lastUpdate_ = sys::now();
  }
  ui::yieldToHost();
}

void AGPStatus::Refresh() {
  auto elapsed = sys::now() - lastUpdate_;
  // A clock set back would otherwise silence the display until it caught up again.
  if (elapsed >= std::chrono::seconds(1) || elapsed < decltype(elapsed)::zero()) {
    Variant last = lastValue_;
    SetStatus(last);
  } else {
    ui::yieldToHost();
  }
}

bool AGPStatus::StatusIsCancelled() {
  return ui::isProgressCancelled(handle_);
}

void AGPStatus::CloseStatus() {
  if (handle_ > 0) {
    ui::closeProgress(handle_);
    handle_ = 0;
  }
}

Variant AGPStatus::GetSysCode(const Variant& key) {
  std::u16string k = toString(key);
  k.resize(2, u' ');
  std::string_view file;
  if (k == u"VB") {
    file = "system.vbs";
  } else if (k == u"VL") {
    file = "validate.vbs";
  } else {
    return Variant(std::u16string());
  }
  std::optional<std::string_view> bytes = sys::embeddedFile(file);
  if (!bytes) return Variant(std::u16string());
  std::u16string text = fromUtf8(*bytes);
  if (!text.empty() && text.front() == u'\uFEFF') text.erase(0, 1);
  return Variant(std::move(text));
}

void AGPStatus::terminate() noexcept {
  try {
    CloseStatus();
  } catch (...) {
  }
}

AGPStatus& Status() {
  return sharedObject<AGPStatus>(projectContext().status);
}

}  // namespace vantorel
