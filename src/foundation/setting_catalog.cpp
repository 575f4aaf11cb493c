#include "foundation/setting_catalog.hpp"

#include <stdexcept>

#include "platform/text/unicode.hpp"

namespace vantorel {

SettingType settingTypeFromName(std::u16string_view dataType) noexcept {
  struct Named {
    std::u16string_view name;
    SettingType type;
  };
  static constexpr Named kTypes[] = {
      {u"Boolean", SettingType::Boolean}, {u"Integer", SettingType::Integer},
      {u"Long", SettingType::Long},       {u"Single", SettingType::Single},
      {u"Double", SettingType::Double},   {u"Variant", SettingType::Variant},
  };
  for (const Named& t : kTypes) {
    if (equalsNoCase(t.name, dataType)) return t.type;
  }
  return SettingType::String;
}

SettingRecord::SettingRecord(const SettingDecl& d)
    : SettingRecord(std::u16string(d.name), std::u16string(d.dataType), d.regSave, d.regFormat,
                    d.fileSave, d.sync) {}

SettingRecord::SettingRecord(std::u16string n, std::u16string dt, bool rs, std::int32_t rf,
                             bool fs, bool sy)
    : name(std::move(n)),
      dataType(std::move(dt)),
      regFormat(rf),
      regSave(rs),
      fileSave(fs),
      sync(sy),
      type(settingTypeFromName(dataType)) {}

SettingCatalog::SettingCatalog(std::initializer_list<SettingDecl> rows) {
  rows_.reserve(rows.size());
  for (const SettingDecl& d : rows) rows_.emplace_back(d);
  for (SettingSlot i = 0; i < rows_.size(); ++i) {
    // A catalog is source code; a repeated name is a programming error found at start-up.
    if (!byName_.emplace(rows_[i].name, i).second) {
      throw std::logic_error("setting declared twice in one catalog");
    }
  }
  // Built whole before the views into it are taken: the vector does not move afterwards.
  utf8Names_.reserve(rows_.size());
  for (const SettingRecord& row : rows_) utf8Names_.push_back(toUtf8(row.name));
  for (SettingSlot i = 0; i < utf8Names_.size(); ++i) byUtf8Name_.emplace(utf8Names_[i], i);
}

std::optional<SettingSlot> SettingCatalog::find(std::u16string_view name) const {
  auto it = byName_.find(name);
  if (it == byName_.end()) return std::nullopt;
  return it->second;
}

std::optional<SettingSlot> SettingCatalog::findUtf8(std::string_view name) const {
  auto it = byUtf8Name_.find(name);
  if (it == byUtf8Name_.end()) return std::nullopt;
  return it->second;
}

}  // namespace vantorel
