#include "project/advanced_filter.hpp"

#include <cmath>
#include <optional>
#include <utility>

#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "foundation/settings_key.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

namespace {

// The subkey names of key in the current user's hive; false when there are none or the store
// cannot be read.
bool enumerateSubkeys(const std::u16string& key, std::vector<std::u16string>& names) {
  cRegistry& registry = projectContext().registry;
  registry.ClassKey(kHkeyCurrentUser);
  registry.SectionKey(key);
  std::int32_t count = 0;
  names.clear();
  try {
    if (!registry.EnumerateSections(names, count)) return false;
  } catch (const AutomationError&) {
    return false;
  }
  names.resize(static_cast<std::size_t>(count < 0 ? 0 : count));
  return !names.empty();
}

// Reads one value of an option; a conversion that fails raises its error again with the option
// and value named, so that a broken definition can be found.
template <class Convert>
auto readOptionValue(const std::u16string& optionKey, const std::u16string& group,
                     const std::u16string& option, const char16_t* valueName, Convert convert) {
  const Variant value = GetRegValue(Variant(u"HKCU"), Variant(optionKey), Variant(valueName));
  try {
    return convert(value);
  } catch (const AutomationError& e) {
    throw AutomationError(e.number(), e.source(),
                          e.description() + u": the \"" + valueName +
                              u"\" value of advanced filter " + group + u"\\" + option);
  }
}

std::optional<double> numberOf(const Variant& v) {
  try {
    return toDouble(v);
  } catch (const AutomationError&) {
    return std::nullopt;
  }
}

std::optional<std::u16string> textOf(const Variant& v) {
  try {
    return toString(v);
  } catch (const AutomationError&) {
    return std::nullopt;
  }
}

}  // namespace

const ClassInfo& AGPFilter::classInfo() const noexcept {
  return MemberTable<AGPFilter>::get(u"AGPFilter");
}

std::u16string AGPFilter::registryKey() {
  return productRegRoot() + u"\\AdvancedFilters";
}

std::u16string AGPFilter::groupName(const Variant& order) const {
  const std::optional<double> d = numberOf(order);
  if (!d || !(*d > 0) || *d > groupCount_) return {};
  // The number picks its group as an array index would, rounded half to even; what rounds to
  // 0 has no group.
  const auto index = static_cast<std::int64_t>(std::nearbyint(*d));
  if (index < 1 || static_cast<std::size_t>(index) > groupNames_.size()) return {};
  return groupNames_[static_cast<std::size_t>(index - 1)];
}

std::int32_t AGPFilter::optionCount(const Variant& groupName) const {
  const std::optional<std::u16string> group = textOf(groupName);
  if (!group) return 0;
  std::int32_t n = 0;
  for (std::int32_t i = 0; i < optionTotal_; ++i) {
    if (equalsNoCase(options_[static_cast<std::size_t>(i)].GroupName, *group)) ++n;
  }
  return n;
}

const FilterOption* AGPFilter::findOption(const Variant& groupName, const Variant& order) const {
  const std::optional<std::u16string> group = textOf(groupName);
  const std::optional<double> d = numberOf(order);
  if (!group || !d) return nullptr;
  for (std::int32_t i = 0; i < optionTotal_; ++i) {
    const FilterOption& option = options_[static_cast<std::size_t>(i)];
    if (static_cast<double>(option.Order) == *d && equalsNoCase(option.GroupName, *group)) {
      return &option;
    }
  }
  return nullptr;
}

std::u16string AGPFilter::optionName(const Variant& groupName, const Variant& order) const {
  const FilterOption* option = findOption(groupName, order);
  return option ? option->OptionName : std::u16string();
}

std::u16string AGPFilter::expression(const Variant& groupName, const Variant& order) const {
  const FilterOption* option = findOption(groupName, order);
  return option ? option->EvalString : std::u16string();
}

std::vector<FilterOption> AGPFilter::options() const {
  return {options_.begin(), options_.begin() + optionTotal_};
}

void AGPFilter::load() {
  groupCount_ = 0;
  optionTotal_ = 0;
  groupNames_.clear();
  options_.clear();

  const std::u16string root = registryKey();
  std::vector<std::u16string> groups;
  if (!enumerateSubkeys(root, groups)) return;
  groupCount_ = static_cast<std::int32_t>(groups.size());
  groupNames_.assign(groups.size(), std::u16string());

  std::vector<std::u16string> names;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const std::u16string& group = groups[g];
    groupNames_[g] = group;
    const std::u16string groupKey = root + u"\\" + group;
    if (!enumerateSubkeys(groupKey, names)) continue;

    const auto first = static_cast<std::size_t>(optionTotal_);
    const std::size_t n = names.size();
    options_.resize(first + n);
    for (std::size_t k = 0; k < n; ++k) {
      FilterOption& option = options_[first + k];
      const std::u16string optionKey = groupKey + u"\\" + names[k];
      option.GroupName = group;
      option.OptionName = names[k];
      option.EvalString = readOptionValue(optionKey, group, names[k], u"EvalString",
                                          [](const Variant& v) { return toString(v); });
      option.Order = readOptionValue(optionKey, group, names[k], u"Order",
                                     [](const Variant& v) { return toLong(v); });
    }

    // Exchanges only on a strictly greater Order: where options with equal Orders end up is
    // what templates have always been shown, so this exact sort is kept.
    for (std::size_t i = first; i + 1 < first + n; ++i) {
      for (std::size_t j = i + 1; j < first + n; ++j) {
        FilterOption& a = options_[i];
        FilterOption& b = options_[j];
        if (a.Order > b.Order) {
          std::swap(a.OptionName, b.OptionName);
          std::swap(a.EvalString, b.EvalString);
          std::swap(a.Order, b.Order);
        }
      }
    }
    for (std::size_t k = 0; k < n; ++k)
      options_[first + k].Order = static_cast<std::int32_t>(k + 1);
    optionTotal_ += static_cast<std::int32_t>(n);
  }
}

AGPFilter& SharedFilter() {
  return sharedObject<AGPFilter>(projectContext().filter);
}

}  // namespace vantorel
