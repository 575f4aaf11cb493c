#pragma once
// The property bag every model object keeps its settings in: AGProperties, a list of named,
// typed values (AGProperty) in declaration order, names unique without regard to case. The
// flags say where a value lives besides memory: registry defaults (RegSave, RegFormat), the
// project file (FileSave), copies and synchronisation (Sync).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/super_collection.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

// One setting: a plain record. Value is kept exactly as assigned; conversion by DataType
// happens only where values come from outside (registry, project file, settings file).
class AGProperty final : public Object {
 public:
  AGProperty() = default;
  AGProperty(std::u16string name, std::u16string dataType, bool regSave, std::int32_t regFormat,
             bool fileSave, bool sync)
      : name_(std::move(name)),
        dataType_(std::move(dataType)),
        regFormat_(regFormat),
        regSave_(regSave),
        fileSave_(fileSave),
        sync_(sync) {}

  const ClassInfo& classInfo() const noexcept override;

  // Key and Name are the same field.
  const std::u16string& name() const noexcept { return name_; }
  void setName(const std::u16string& name) { name_ = name; }
  const std::u16string& dataType() const noexcept { return dataType_; }
  void setDataType(const std::u16string& dataType) { dataType_ = dataType; }
  const Variant& value() const noexcept { return value_; }
  void setValue(const Variant& value) { value_ = value; }
  bool regSave() const noexcept { return regSave_; }
  void setRegSave(bool v) noexcept { regSave_ = v; }
  std::int32_t regFormat() const noexcept { return regFormat_; }
  void setRegFormat(std::int32_t v) noexcept { regFormat_ = v; }
  bool fileSave() const noexcept { return fileSave_; }
  void setFileSave(bool v) noexcept { fileSave_ = v; }
  bool sync() const noexcept { return sync_; }
  void setSync(bool v) noexcept { sync_ = v; }

 private:
  std::u16string name_;
  std::u16string dataType_;
  Variant value_;
  std::int32_t regFormat_ = 0;
  bool regSave_ = false;
  bool fileSave_ = false;
  bool sync_ = false;
};

class AGProperties final : public Object {
 public:
  AGProperties();

  const ClassInfo& classInfo() const noexcept override;

  // False for an empty name or one already declared (in any case); the existing setting stays.
  bool add(std::u16string_view name, std::u16string_view dataType = u"String", bool regSave = false,
           std::int32_t regFormat = 0, bool fileSave = true, bool sync = true);
  std::int32_t count() const noexcept { return items_->count(); }
  // False for an empty or unknown name.
  bool remove(std::u16string_view name);
  bool exists(std::u16string_view name) const { return find(name) != nullptr; }
  // The setting of that name (any case), or nullptr; a hash lookup.
  AGProperty* find(std::u16string_view name) const;
  // The setting of that name, declared as a file-saved, synchronised "String" setting when
  // missing. Null only for the empty name, which can never be a setting.
  AGProperty* item(std::u16string_view name);
  AGProperty* item(const char16_t* name) { return item(std::u16string_view(name)); }
  AGProperty* item(const std::u16string& name) { return item(std::u16string_view(name)); }
  // Item as scripts call it: the index is read as text; an index without text gives Nothing.
  Ref<AGProperty> item(const Variant& index);
  // The setting at a 0-based index in declaration order (0 .. count() - 1).
  AGProperty& at(std::size_t index) const;
  Ref<Enumerator> newEnum() override { return items_->newEnum(); }

 private:
  bool scriptAdd(const std::u16string& name, std::optional<std::u16string> dataType,
                 std::optional<bool> regSave, std::optional<std::int32_t> regFormat,
                 std::optional<bool> fileSave, std::optional<bool> sync);
  Variant scriptDelete(const Variant& index);
  bool scriptPropertyExist(const Variant& index) const;
  Ref<AGProperty> scriptItem(const Variant& index) { return item(index); }

  Ref<CSuperCollection> items_;
};

}  // namespace vantorel
