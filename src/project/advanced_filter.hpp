#pragma once
// AGPFilter: the advanced filters, named filter expressions kept per user in the registry, read
// into groups of options for the template scripts (which see the object as "FILTERS").
//
// Layout below the current user's registryKey(): one subkey per group, below it one subkey per
// option holding "EvalString" (the expression, handed on as it is) and "Order" (a number, or
// text holding one: the option's place within its group).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

struct FilterOption {
  std::u16string GroupName;
  std::u16string OptionName;
  std::u16string EvalString;
  // After loading, the option's 1-based position within its group.
  std::int32_t Order = 0;
};

class AGPFilter final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;

  // productRegRoot() & "\AdvancedFilters". Formed here rather than taken from the project's
  // start-up, so that a filter loaded before any project exists still reads the right key.
  static std::u16string registryKey();

  std::int32_t groupCount() const noexcept { return groupCount_; }
  // Lookups never raise: an argument that is no number (or no text, for group names), an
  // unknown group or an Order no option has gives "" or 0.
  // The name of group number `order` (1-based, in the order the registry lists the groups).
  std::u16string groupName(const Variant& order) const;
  // Group names compare without regard to case, Orders as numbers.
  std::int32_t optionCount(const Variant& groupName) const;
  std::u16string optionName(const Variant& groupName, const Variant& order) const;
  std::u16string expression(const Variant& groupName, const Variant& order) const;

  // Replaces everything read before with the current user's filters. A missing or empty key
  // gives no groups. An "Order" that is no number raises type mismatch (13), one beyond a Long
  // overflow (6), naming the option; the groups counted stay, and options() holds only the
  // groups completed before.
  void load();

  // The options of the groups read, group by group, each group's in ascending Order.
  std::vector<FilterOption> options() const;

 private:
  const FilterOption* findOption(const Variant& groupName, const Variant& order) const;

  std::vector<std::u16string> groupNames_;
  std::vector<FilterOption> options_;
  std::int32_t groupCount_ = 0;
  std::int32_t optionTotal_ = 0;
};

// The thread's one filter object, created empty on first use and never released by the engine.
AGPFilter& SharedFilter();

}  // namespace vantorel
