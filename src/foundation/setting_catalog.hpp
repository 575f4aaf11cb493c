#pragma once
// The declarations of one class's settings: name, data type and the four flags, in declaration
// order. Every object of the class shares its catalog and keeps only the values, so a model of
// thousands of fields does not carry a hundred declarations per field.
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/text/case_fold.hpp"

namespace vantorel {

// Position of a setting in its bag: catalog rows first, in catalog order.
using SettingSlot = std::uint32_t;

// How a setting's value is read and written by the typed accessors; String for unknown names.
enum class SettingType : std::uint8_t { String, Boolean, Integer, Long, Single, Double, Variant };

SettingType settingTypeFromName(std::u16string_view dataType) noexcept;

// One row as a class's source code declares it.
struct SettingDecl {
  std::u16string_view name;
  std::u16string_view dataType;
  bool regSave;
  std::int32_t regFormat;
  bool fileSave;
  bool sync;
};

// One declaration as a bag holds it.
struct SettingRecord {
  std::u16string name;
  std::u16string dataType;
  std::int32_t regFormat = 0;
  bool regSave = false;
  bool fileSave = false;
  bool sync = false;
  SettingType type = SettingType::String;

  SettingRecord() = default;
  explicit SettingRecord(const SettingDecl& d);
  SettingRecord(std::u16string name, std::u16string dataType, bool regSave, std::int32_t regFormat,
                bool fileSave, bool sync);
};

class SettingCatalog {
 public:
  SettingCatalog(std::initializer_list<SettingDecl> rows);
  SettingCatalog(const SettingCatalog&) = delete;
  SettingCatalog& operator=(const SettingCatalog&) = delete;

  SettingSlot size() const noexcept { return static_cast<SettingSlot>(rows_.size()); }
  const SettingRecord& operator[](SettingSlot slot) const noexcept { return rows_[slot]; }
  // Without regard to case.
  std::optional<SettingSlot> find(std::u16string_view name) const;

  // A row's name in UTF-8, as a project file writes it and a saved file reads it back.
  const std::string& utf8Name(SettingSlot slot) const noexcept { return utf8Names_[slot]; }
  // The row whose UTF-8 name is exactly that (case as declared); nullopt for any other text.
  std::optional<SettingSlot> findUtf8(std::string_view name) const;

 private:
  std::vector<SettingRecord> rows_;
  std::unordered_map<std::u16string_view, SettingSlot, NoCaseHash, NoCaseEqual> byName_;
  std::vector<std::string> utf8Names_;
  std::unordered_map<std::string_view, SettingSlot> byUtf8Name_;
};

}  // namespace vantorel
