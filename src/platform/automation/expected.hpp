#pragma once
// A result that is a value or the failure that kept it from being made, for failures that are
// ordinary (a file that does not load, a check that does not pass) and that the caller reports
// in its own words. The failure is what an AutomationError carries: a text and a number.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "platform/automation/automation_error.hpp"

namespace vantorel {

struct Failure {
  std::u16string text;
  // What kind of failure it was, for callers that tell kinds apart; 0 when it has no number.
  std::int32_t number = 0;

  [[noreturn]] void raise() const { throw AutomationError(number, text); }
};

template <class T = void>
class [[nodiscard]] Expected {
 public:
  // NOLINTBEGIN(google-explicit-constructor): a value or a failure returns as itself.
  Expected(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  Expected(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}
  // NOLINTEND(google-explicit-constructor)

  bool ok() const noexcept { return state_.index() == 0; }
  explicit operator bool() const noexcept { return ok(); }

  // The value; a failure raises as an AutomationError.
  T& value() & {
    if (!ok()) failure().raise();
    return std::get<0>(state_);
  }
  const T& value() const& {
    if (!ok()) failure().raise();
    return std::get<0>(state_);
  }
  T&& value() && { return std::move(value()); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  // Only when !ok().
  Failure& failure() & { return std::get<1>(state_); }
  const Failure& failure() const& { return std::get<1>(state_); }
  Failure&& failure() && { return std::get<1>(std::move(state_)); }

 private:
  std::variant<T, Failure> state_;
};

// Success carries nothing; default-constructed it is a success.
template <>
class [[nodiscard]] Expected<void> {
 public:
  Expected() = default;
  Expected(Failure failure)
      : failure_(std::move(failure)) {}  // NOLINT(google-explicit-constructor)

  bool ok() const noexcept { return !failure_; }
  explicit operator bool() const noexcept { return ok(); }

  // Raises the failure as an AutomationError; nothing on success.
  void value() const {
    if (failure_) failure_->raise();
  }

  // Only when !ok().
  Failure& failure() & { return *failure_; }
  const Failure& failure() const& { return *failure_; }
  Failure&& failure() && { return std::move(*failure_); }

 private:
  std::optional<Failure> failure_;
};

}  // namespace vantorel
