#include "model/tables.hpp"

#include <algorithm>
#include <utility>

#include "model/model_items.hpp"
#include "model/name_links.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "project/extension_cascade.hpp"
#include "project/language.hpp"

namespace vantorel {

AGPTables::AGPTables() : items_(makeRef<CSuperCollection>()) {
  items_->setCompareMode(1);
}

const ClassInfo& AGPTables::classInfo() const noexcept {
  using T = AGPTables;
  static const ClassInfo info(u"AGPTables", [](ClassInfo& c) {
    ClassBuilder<T>(c)
        .get<&T::curName>(u"curName")
        .get<&T::curSeq>(u"curSeq")
        .method<&T::add>(u"Add")
        .method<&T::change>(u"Change")
        .method<&T::count>(u"Count")
        .method<&T::remove>(u"Delete")
        .method<&T::tableExist>(u"TableExist")
        .method<&T::item>(u"Item")
        .method<&T::seq>(u"Seq")
        .method<&T::setItem>(u"SetItem")
        .method<&T::setSeq>(u"SetSeq")
        .method<&T::scriptNewEnum>(u"NewEnum_tbl")
        .enumerator<&T::newEnum>();
  });
  return info;
}

AGPTable& AGPTables::at(std::size_t index) const {
  return itemAt<AGPTable>(*items_, index);
}

AGPTable* AGPTables::find(const std::u16string& name) const {
  return keyedItem<AGPTable>(*items_, name);
}

bool AGPTables::tableExist(const Variant& index) const {
  return find(indexText(index)) != nullptr;
}

bool AGPTables::add(const std::u16string& name) {
  if (name.empty() || find(name)) return false;
  // A table renamed through its own TblName answers to that name.
  if (auto stored = storedNameMatching<AGPTable>(*items_, name, kTblName)) {
    return change(*stored, name);
  }
  const std::int16_t seq = nextSeq(count());
  auto table = makeRef<AGPTable>();
  table->setTblName(name);
  items_->add(Variant(table), name);
  table->setTblSeq(seq);
  curName_ = name;
  curSeq_ = seq;
  return true;
}

bool AGPTables::change(const std::u16string& oldName, const std::u16string& newName) {
  if (oldName.empty() || newName.empty()) return false;
  if (oldName == newName) return true;
  AGPTable* table = find(oldName);
  if (!table) return false;
  if (!equalsNoCase(oldName, newName) && find(newName)) return false;
  Ref<AGPTable> hold(table);
  // Menus, phrases, extensions and custom scripts know the table by the name it carries, which
  // the caller may have spelt in another case.
  const std::u16string stored = table->tblName();
  items_->changeKey(oldName, newName);
  table->setTblVar(itemVarName(newName));
  curName_ = newName;
  curSeq_ = table->tblSeq();
  ExtRenameTable(stored, newName);
  renameTableMenus(stored, newName);
  CustomScriptsChange(stored, newName);
  // The user's captions and texts for the table, its charts and its fields must survive the
  // new name.
  renameTablePhrases(stored, newName);
  return true;
}

void AGPTables::deleteAt(std::size_t index) {
  Ref<AGPTable> table(&at(index));
  // Every name-keyed cascade uses the name the table carries, so that a caller's other spelling
  // of it leaves nothing behind.
  const std::u16string name = table->tblName();
  ignoringErrors([&] { SharedLanguage().DeleteTablePhrase(name); });
  ignoringErrors([&] { table->charts().deleteAll(name); });
  const std::int16_t removed = table->tblSeq();
  for (std::size_t i = 0, n = static_cast<std::size_t>(count()); i < n; ++i) {
    AGPTable& t = at(i);
    const std::int16_t s = t.tblSeq();
    if (s >= removed) ignoringErrors([&] { t.setTblSeq(lowerSeq(s)); });
  }
  ignoringErrors([&] { ExtDeleteTable(name); });
  ignoringErrors([&] { deleteTableMenus(name); });
  // The fields go now rather than when the last reference to the table is let go: a script may
  // hold the table long after a table of the same name was loaded again.
  ignoringErrors([&] { table->fields().removeAll(name); });
  if (auto pos = positionOf(*items_, *table)) removeAt(*items_, *pos);
}

bool AGPTables::remove(const std::u16string& index) {
  AGPTable* table = find(index);
  if (!table) return false;
  if (auto pos = positionOf(*items_, *table)) deleteAt(*pos);
  return true;
}

std::vector<Ref<AGPTable>> AGPTables::teardownOrder() const {
  std::vector<std::pair<std::int16_t, Ref<AGPTable>>> order;
  for (std::size_t i = 0, n = static_cast<std::size_t>(count()); i < n; ++i) {
    order.emplace_back(at(i).tblSeq(), Ref<AGPTable>(&at(i)));
  }
  // Highest number first; equal numbers from the back, so that the usual case deletes the last
  // table every time and nothing is renumbered.
  std::reverse(order.begin(), order.end());
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<Ref<AGPTable>> tables;
  tables.reserve(order.size());
  for (auto& entry : order) tables.push_back(std::move(entry.second));
  return tables;
}

void AGPTables::removeAll(const std::function<void(AGPTable&)>& before,
                          const std::function<void()>& after) {
  for (const Ref<AGPTable>& table : teardownOrder()) {
    const std::optional<std::size_t> pos = positionOf(*items_, *table);
    if (!pos) continue;
    before(*table);
    deleteAt(*pos);
    after();
  }
}

Ref<AGPTable> AGPTables::item(const Variant& index) {
  auto* table = static_cast<AGPTable*>(lookupItem(*items_, index));
  if (!table) return nullptr;
  curName_ = table->tblName();
  curSeq_ = table->tblSeq();
  return Ref<AGPTable>(table);
}

Ref<AGPTable> AGPTables::seq(std::int16_t index) const {
  for (std::size_t i = 0, n = static_cast<std::size_t>(count()); i < n; ++i) {
    AGPTable& table = at(i);
    if (table.tblSeq() == index) return Ref<AGPTable>(&table);
  }
  return nullptr;
}

void AGPTables::setItem(const Variant& index) {
  if (AGPTable* table = find(indexText(index))) {
    curName_ = table->tblName();
    curSeq_ = table->tblSeq();
  }
}

void AGPTables::setSeq(std::int16_t index) {
  if (Ref<AGPTable> table = seq(index)) {
    curName_ = table->tblName();
    curSeq_ = table->tblSeq();
  }
}

}  // namespace vantorel
