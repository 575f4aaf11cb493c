#include "agp/late_members.hpp"

#include <array>
#include <cstddef>
#include <string>
#include <utility>

#include "platform/automation/automation_error.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

namespace {

constexpr std::array<std::u16string_view, 32> kNames{
    u"CustomViewConnStr",
    u"LoadCustomView",
    u"ChangeCustomViewToView",
    u"CheckDB",
    u"SynchronizeDB",
    u"SyncCustom",
    u"SyncReport",
    u"Extensions",
    u"CodeBase",
    u"customscripts",
    u"AddExtension",
    u"GetExtDefault",
    u"SetExtProjAtt",
    u"GetExtProjAtt",
    u"SetExtDbAtt",
    u"GetExtDbAtt",
    u"SetExtTblAtt",
    u"GetExtTblAtt",
    u"SetExtChartAtt",
    u"GetExtChartAtt",
    u"SetExtFldAtt",
    u"GetExtFldAtt",
    u"AddExtendedChart",
    u"AddExtendedField",
    u"CopyChartToExtensions",
    u"DeleteExtension",
    u"AddCustomScript",
    u"UpdateCustomScript",
    u"DeleteCustomScript",
    u"LoadCodeBase",
    u"CodeBaseExist",
    u"LoadCustomScriptCode",
};

std::array<MethodThunk, kNames.size()>& entries() noexcept {
  static std::array<MethodThunk, kNames.size()> installed{};
  return installed;
}

template <std::size_t I>
Variant lateThunk(Object& self, CallArgs args) {
  const MethodThunk entry = entries()[I];
  if (!entry) {
    throw AutomationError(445, u"AGP", u"AGP." + std::u16string(kNames[I]) + u" is not available");
  }
  return entry(self, args);
}

template <std::size_t... I>
constexpr std::array<MethodThunk, sizeof...(I)> makeThunks(std::index_sequence<I...>) {
  return {&lateThunk<I>...};
}

constexpr std::array<MethodThunk, kNames.size()> kThunks =
    makeThunks(std::make_index_sequence<kNames.size()>());

}  // namespace

std::span<const std::u16string_view> lateMemberNames() noexcept {
  return kNames;
}

bool installLateMember(std::u16string_view name, MethodThunk entry) noexcept {
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (equalsNoCase(kNames[i], name)) {
      entries()[i] = entry;
      return true;
    }
  }
  return false;
}

void defineLateMembers(ClassInfo& info) {
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    MemberInfo& m = info.define(kNames[i]);
    m.method = kThunks[i];
    m.get = kThunks[i];
  }
}

}  // namespace vantorel
