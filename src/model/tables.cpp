#include "model/tables.hpp"

#include "model/model_items.hpp"
#include "model/name_links.hpp"
#include "platform/automation/class_info.hpp"
#include "project/extension_cascade.hpp"
#include "project/language.hpp"

namespace vantorel {

const ClassInfo& AGPTables::classInfo() const noexcept {
  return MemberTable<AGPTables>::get(u"AGPTables");
}

void AGPTables::makeCurrent(AGPTable& table) {
  curName_ = table.tblName();
  curSeq_ = table.tblSeq();
}

bool AGPTables::add(const std::u16string& name) {
  // A table renamed through its own TblName answers to that name.
  return addNamed(
      name, kTblName, HeldName::Refused,
      [&](const std::u16string& stored) { return change(stored, name); },
      [&](AGPTable& table) { table.setTblName(name); }, &AGPTable::setTblSeq, &AGPTable::tblSeq);
}

bool AGPTables::change(const std::u16string& oldName, const std::u16string& newName) {
  // Menus, phrases, extensions and custom scripts know the table by the name it carries, which
  // the caller may have spelt in another case.
  std::u16string stored;
  return changeNamed(
      oldName, newName, Clash::Refused,
      [&](AGPTable& table) {
        stored = table.tblName();
        items().changeKey(oldName, newName);
        table.setTblVar(itemVarName(newName));
        return table.tblSeq();
      },
      [&](AGPTable&) {
        ExtRenameTable(stored, newName);
        renameTableMenus(stored, newName);
        CustomScriptsChange(stored, newName);
        // The user's captions and texts for the table, its charts and its fields must survive
        // the new name.
        renameTablePhrases(stored, newName);
      });
}

void AGPTables::deleteTable(AGPTable& doomed) {
  Ref<AGPTable> table(&doomed);
  // Every name-keyed cascade uses the name the table carries, so that a caller's other spelling
  // of it leaves nothing behind.
  const std::u16string name = table->tblName();
  ignoringErrors([&] { SharedLanguage().DeleteTablePhrase(name); });
  ignoringErrors([&] { table->charts().deleteAll(name); });
  closeSeqGap(table->tblSeq(), &AGPTable::tblSeq, [](AGPTable& t, std::int16_t s) {
    ignoringErrors([&] { t.setTblSeq(lowerSeq(s)); });
  });
  ignoringErrors([&] { ExtDeleteTable(name); });
  ignoringErrors([&] { deleteTableMenus(name); });
  // The fields go now rather than when the last reference to the table is let go: a script may
  // hold the table long after a table of the same name was loaded again.
  ignoringErrors([&] { table->fields().removeAll(name); });
  removeItem(*table);
}

bool AGPTables::remove(const std::u16string& index) {
  AGPTable* table = find(index);
  if (!table) return false;
  deleteTable(*table);
  return true;
}

void AGPTables::removeAll(const std::function<void(AGPTable&)>& before,
                          const std::function<void()>& after) {
  // Equal numbers from the back, so that the usual case deletes the last table every time and
  // nothing is renumbered.
  for (const Ref<AGPTable>& table : highestSeqFirst(&AGPTable::tblSeq, EqualSeqs::LastFirst)) {
    if (!positionOf(*table)) continue;
    before(*table);
    deleteTable(*table);
    after();
  }
}

Ref<AGPTable> AGPTables::item(const Variant& index) {
  AGPTable* table = lookup(index);
  if (!table) return nullptr;
  makeCurrent(*table);
  return Ref<AGPTable>(table);
}

Ref<AGPTable> AGPTables::seq(std::int16_t index) const {
  return Ref<AGPTable>(firstWithSeq(index, &AGPTable::tblSeq));
}

void AGPTables::setItem(const Variant& index) {
  if (AGPTable* table = find(indexText(index))) makeCurrent(*table);
}

void AGPTables::setSeq(std::int16_t index) {
  if (Ref<AGPTable> table = seq(index)) makeCurrent(*table);
}

}  // namespace vantorel
