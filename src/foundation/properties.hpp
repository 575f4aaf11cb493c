#pragma once
// The property bag every model object keeps its settings in: AGProperties, a list of named,
// typed values (AGProperty) in declaration order, names unique without regard to case. The
// flags say where a value lives besides memory: registry defaults (RegSave, RegFormat), the
// project file (FileSave), copies and synchronisation (Sync).
//
// A bag made from a class's SettingCatalog shares the catalog's declarations and keeps only one
// value per row; settings declared later, deleted rows and declarations edited through an
// AGProperty live in a side table that most bags never need. AGProperty is a view of one slot.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/setting_catalog.hpp"
#include "platform/automation/enumerator.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

class AGProperties;

// One setting. Value is kept exactly as assigned; conversion by DataType happens only where
// values come from outside (registry, project file, settings file).
class AGProperty final : public Object {
 public:
  // A record of its own, in no caller's bag.
  AGProperty();
  AGProperty(Ref<AGProperties> bag, SettingSlot slot) : bag_(std::move(bag)), slot_(slot) {}

  const ClassInfo& classInfo() const noexcept override;

  // Key and Name are the same field. Renaming does not re-key the setting in its bag.
  const std::u16string& name() const noexcept;
  void setName(const std::u16string& name);
  const std::u16string& dataType() const noexcept;
  void setDataType(const std::u16string& dataType);
  const Variant& value() const noexcept;
  void setValue(const Variant& value);
  bool regSave() const noexcept;
  void setRegSave(bool v);
  std::int32_t regFormat() const noexcept;
  void setRegFormat(std::int32_t v);
  bool fileSave() const noexcept;
  void setFileSave(bool v);
  bool sync() const noexcept;
  void setSync(bool v);

 private:
  const SettingRecord& record() const noexcept;
  SettingRecord& editRecord();

  Ref<AGProperties> bag_;
  SettingSlot slot_ = 0;
};

class AGProperties final : public Object {
 public:
  AGProperties();
  // Declares every row of the catalog, values Empty. The catalog must outlive the bag (catalogs
  // are static).
  explicit AGProperties(const SettingCatalog& catalog);
  ~AGProperties() override;

  const ClassInfo& classInfo() const noexcept override;

  // False for an empty name or one already declared (in any case); the existing setting stays.
  bool add(std::u16string_view name, std::u16string_view dataType = u"String", bool regSave = false,
           std::int32_t regFormat = 0, bool fileSave = true, bool sync = true);
  std::int32_t count() const noexcept;
  // False for an empty or unknown name.
  bool remove(std::u16string_view name);
  bool exists(std::u16string_view name) const { return slotOf(name).has_value(); }

  // The slot of the setting of that name (any case); a hash lookup.
  std::optional<SettingSlot> slotOf(std::u16string_view name) const;
  // The value of the setting of that name, or nullptr when none is declared.
  const Variant* findValue(std::u16string_view name) const;
  // The slot of that name, declared as a file-saved, synchronised "String" setting when missing.
  // Nullopt only for the empty name, which can never be a setting.
  std::optional<SettingSlot> declare(std::u16string_view name);

  const Variant& value(SettingSlot slot) const noexcept { return values_[slot]; }
  void setValue(SettingSlot slot, Variant v) { values_[slot] = std::move(v); }
  const SettingRecord& record(SettingSlot slot) const noexcept {
    return side_ ? recordOfChangedBag(slot) : (*catalog_)[slot];
  }
  // Every row of the catalog is declared, none deleted (settings may have been added or edited).
  bool hasEveryCatalogRow() const noexcept;
  // The bag is its catalog's rows as declared: nothing added, deleted or edited.
  bool matchesCatalog() const noexcept { return catalog_ && !side_; }

  // The value of a row of the bag's catalog. A row that a caller deleted is declared again,
  // as Item would, and the new setting's value is returned.
  // Inline for a bag that is its catalog's rows as declared, as nearly every bag is: the row is
  // its slot. Model code and templates read settings this way all the time.
  Variant& setting(SettingSlot catalogRow) {
    return side_ ? settingOfChangedBag(catalogRow) : values_[catalogRow];
  }
  const Variant& setting(SettingSlot catalogRow) const {
    return side_ ? settingOfChangedBag(catalogRow) : values_[catalogRow];
  }

  // Calls fn(slot, record, value) for every setting in declaration order.
  template <class Fn>
  void forEachSetting(Fn&& fn) const {
    for (SettingSlot s = 0; s < values_.size(); ++s) {
      if (isLive(s)) fn(s, record(s), values_[s]);
    }
  }

  // Views of single settings; null when none is declared.
  Ref<AGProperty> find(std::u16string_view name) const;
  // The setting of that name, declared when missing; null only for the empty name.
  Ref<AGProperty> item(std::u16string_view name);
  Ref<AGProperty> item(const char16_t* name) { return item(std::u16string_view(name)); }
  Ref<AGProperty> item(const std::u16string& name) { return item(std::u16string_view(name)); }
  // Item as scripts call it: the index is read as text; an index without text gives Nothing.
  Ref<AGProperty> item(const Variant& index);
  // The setting at a 0-based index in declaration order (0 .. count() - 1).
  Ref<AGProperty> at(std::size_t index) const;
  // The first slot at or after `from` that holds a setting; nothing past the last one.
  std::optional<SettingSlot> nextSetting(SettingSlot from) const;
  // Walks the bag as it stands at each step: a setting deleted before the walk reaches it is
  // skipped, one added during the walk is visited, as in the keyed collection's walk.
  Ref<Enumerator> newEnum() override;

  const SettingCatalog* catalog() const noexcept { return catalog_; }
  // Deletes every setting and declares the catalog's rows again, values Empty: what deleting
  // each setting and declaring the catalog anew does, without growing the bag.
  void reset();

  // The members as scripts call them.
  bool scriptAdd(const std::u16string& name, std::optional<std::u16string> dataType,
                 std::optional<bool> regSave, std::optional<std::int32_t> regFormat,
                 std::optional<bool> fileSave, std::optional<bool> sync);
  Variant scriptDelete(const Variant& index);
  bool scriptPropertyExist(const Variant& index) const;
  Ref<AGProperty> scriptItem(const Variant& index) { return item(index); }

 private:
  friend class AGProperty;
  struct Side;

  bool isLive(SettingSlot slot) const noexcept;
  const SettingRecord& recordOfChangedBag(SettingSlot slot) const noexcept;
  Variant& settingOfChangedBag(SettingSlot catalogRow);
  const Variant& settingOfChangedBag(SettingSlot catalogRow) const;
  Side& side();
  SettingRecord& editRecord(SettingSlot slot);
  SettingSlot appendSlot(SettingRecord record);
  SettingSlot detachedSlot();
  SettingSlot catalogSize() const noexcept { return catalog_ ? catalog_->size() : 0; }
  Ref<AGProperty> view(SettingSlot slot) const;

  const SettingCatalog* catalog_ = nullptr;
  std::vector<Variant> values_;  // one per slot, catalog rows first
  std::unique_ptr<Side> side_;   // only bags that differ from their catalog have one
};

}  // namespace vantorel
