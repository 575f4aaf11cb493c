#include "sync/rename_question.hpp"

#include <cstddef>
#include <optional>

#include "platform/ui/ui.hpp"

namespace vantorel {

namespace {

constexpr char16_t kNone[] = u"(none)";

}  // namespace

std::vector<std::u16string> ShowMapDialog(const std::u16string& title, const std::u16string& prompt,
                                          const std::u16string& newCaption,
                                          const std::u16string& oldCaption,
                                          const std::vector<std::u16string>& newNames,
                                          const std::vector<std::u16string>& oldNames,
                                          bool* cancelled) {
  if (cancelled) *cancelled = false;
  std::vector<std::u16string> result = newNames;
  std::vector<std::u16string> offered = oldNames;
  for (std::size_t k = 0; k < newNames.size() && !offered.empty(); ++k) {
    std::vector<std::u16string> items{kNone};
    items.insert(items.end(), offered.begin(), offered.end());
    const std::u16string text =
        prompt + u"\n" + newCaption + u": " + newNames[k] + u"\n" + oldCaption + u":";
    const std::optional<std::size_t> chosen = ui::pickOne(text, title, items, 0);
    // Cancel stands for the whole dialog: nothing is paired, not even the earlier choices.
    if (!chosen) {
      if (cancelled) *cancelled = true;
      return newNames;
    }
    if (*chosen == 0 || *chosen >= items.size()) continue;
    result[k] = items[*chosen];
    offered.erase(offered.begin() + static_cast<std::ptrdiff_t>(*chosen - 1));
  }
  return result;
}

}  // namespace vantorel
