#pragma once
// The per-object entries of an extension's settings tree: one AGPExtTable per table of the
// project, and below it one AGPExtChart per chart and one AGPExtField per field. Each is a bag
// of the extension's own settings for that object, keyed by the object's name without regard
// to case and numbered 1 to Count. The entries read no files: the declaration file decides
// which rows a bag gets, the model's renames and deletions decide their keys.
#include <cstdint>
#include <string>

#include "foundation/model_collection.hpp"
#include "foundation/properties.hpp"
#include "foundation/setting_catalog.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

// What the three kinds of entry share: a bag whose first row is the entry's sequence number
// (never saved) and whose second is its name.
class ExtEntry : public Object {
 public:
  AGProperties& properties() const { return *properties_; }
  Ref<AGProperties> scriptProperties() const { return properties_; }

  std::int16_t seq() const;
  void setSeq(std::int16_t seq);
  std::u16string name() const;
  void setName(const std::u16string& name);

 protected:
  explicit ExtEntry(const SettingCatalog& catalog);
  ~ExtEntry() override = default;

 private:
  Ref<AGProperties> properties_;
};

enum class ExtEntryKind { Table, Chart, Field };

// The collection of one kind of entry. The kinds differ only where the member tables show it:
// what Change makes current and how SetItem matches.
template <class Entry>
class ExtEntryList : public ModelCollection<Entry> {
 public:
  const std::u16string& curName() const noexcept { return curName_; }
  std::int16_t curSeq() const noexcept { return curSeq_; }

  // False for "" and for a name held already; a name an entry carries in its own name row
  // renames that entry.
  bool add(const std::u16string& name);
  // True for two equal names; False, changing nothing, for a missing OldName or a NewName
  // that another entry holds.
  bool change(const std::u16string& oldName, const std::u16string& newName);
  bool remove(const Variant& index);
  bool exists(const Variant& index) const { return this->holdsKey(index); }
  Ref<Entry> item(const Variant& index);
  Ref<Entry> seq(std::int16_t index) const;
  void setItem(const Variant& index);
  void setSeq(std::int16_t index);

 protected:
  ExtEntryList() = default;
  ~ExtEntryList() override = default;

  void makeCurrent(Entry& entry) {
    curName_ = entry.name();
    curSeq_ = entry.seq();
  }

 private:
  std::u16string curName_;
  std::int16_t curSeq_ = 0;
};

class AGPExtChart final : public ExtEntry {
 public:
  AGPExtChart();
  const ClassInfo& classInfo() const noexcept override;
};

class AGPExtField final : public ExtEntry {
 public:
  AGPExtField();
  const ClassInfo& classInfo() const noexcept override;
};

class AGPExtCharts final : public ExtEntryList<AGPExtChart> {
 public:
  const ClassInfo& classInfo() const noexcept override;
  // Unlike the other lists, matches the entry's ChartName exactly, letter case included.
  void setItemExact(const Variant& index);
};

class AGPExtFields final : public ExtEntryList<AGPExtField> {
 public:
  const ClassInfo& classInfo() const noexcept override;
};

class AGPExtTable final : public ExtEntry {
 public:
  AGPExtTable();
  const ClassInfo& classInfo() const noexcept override;

  AGPExtCharts& charts();
  AGPExtFields& fields();
  Ref<AGPExtCharts> scriptCharts() { return Ref<AGPExtCharts>(&charts()); }
  Ref<AGPExtFields> scriptFields() { return Ref<AGPExtFields>(&fields()); }

 private:
  Ref<AGPExtCharts> charts_;
  Ref<AGPExtFields> fields_;
};

class AGPExtTables final : public ExtEntryList<AGPExtTable> {
 public:
  const ClassInfo& classInfo() const noexcept override;
};

}  // namespace vantorel
