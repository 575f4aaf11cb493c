#include "platform/automation/vb_errors.hpp"

#include <algorithm>
#include <iterator>

namespace vantorel {

namespace vberr {

namespace {

constexpr bool before(const ErrorEntry& a, const ErrorEntry& b) noexcept {
  return a.number < b.number;
}
// The lookup searches by halves, so the table keeps to number order with each number once.
static_assert(std::adjacent_find(std::begin(kErrorTable), std::end(kErrorTable),
                                 [](const ErrorEntry& a, const ErrorEntry& b) {
                                   return !before(a, b);
                                 }) == std::end(kErrorTable));

const ErrorEntry* findEntry(std::int32_t number) noexcept {
  const auto* end = std::end(kErrorTable);
  const auto* it =
      std::lower_bound(std::begin(kErrorTable), end, ErrorEntry{number, {}, {}}, before);
  return it != end && it->number == number ? it : nullptr;
}

}  // namespace

std::u16string_view errorText(std::int32_t number) noexcept {
  const ErrorEntry* e = findEntry(number);
  return e ? e->text : std::u16string_view();
}

std::u16string_view errorText(std::int32_t number, ErrorKind kind) noexcept {
  const ErrorEntry* e = findEntry(number);
  return e && e->kind == kind ? e->text : std::u16string_view();
}

}  // namespace vberr

std::u16string vbErrorDescription(std::int32_t number) {
  return std::u16string(vberr::errorText(number, vberr::ErrorKind::Runtime));
}

namespace vbs {

std::u16string compileErrorDescription(std::int32_t number) {
  return std::u16string(vberr::errorText(number, vberr::ErrorKind::Compile));
}

}  // namespace vbs

}  // namespace vantorel
