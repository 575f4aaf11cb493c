#include "generator/control_item_lists.hpp"

#include <limits>

#include "agp/agp.hpp"
#include "foundation/control_items.hpp"
#include "generator/control_conditions.hpp"
#include "generator/generation_run.hpp"
#include "generator/output_naming.hpp"
#include "model/database.hpp"
#include "model/table.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "templates/control.hpp"
#include "templates/controls.hpp"
#include "templates/script_host.hpp"

namespace vantorel {

namespace {

std::u16string textOf(const Variant& value) {
  if (value.isEmpty() || value.isNull()) return {};
  try {
    return toString(value);
  } catch (const std::exception&) {
    return {};
  }
}

std::u16string tableText(AGPTable& table, TableSetting row) {
  return textOf(table.properties().setting(row));
}

// The tables of the database in TblSeq order; none without a database.
template <class Fn>
void forEachTable(AGP& proj, Fn&& fn) {
  const Ref<AGPDatabase> db = proj.DB();
  if (!db) return;
  AGPTables& tables = db->tables();
  const std::int32_t count = tables.count();
  for (std::int32_t i = 1; i <= count; ++i) {
    if (const Ref<AGPTable> table = tables.seq(static_cast<std::int16_t>(i))) fn(*table);
  }
}

void clearList(AGControlItems& list) {
  for (std::int32_t i = list.Count(); i >= 1; --i) {
    if (const Ref<AGControlItem> item = list.Item(Variant(i))) list.Delete(Variant(item->ItemId()));
  }
}

std::vector<std::u16string> savedEntries(const Variant& setting) {
  const std::u16string saved(trimBlanks(textOf(setting)));
  if (saved.empty()) return {};
  return split(saved, u",");
}

void applyEntries(AGControlItems& list, const std::vector<std::u16string>& entries) {
  for (std::int32_t i = 1; i <= list.Count(); ++i) {
    if (const Ref<AGControlItem> item = list.Item(Variant(i))) SetItemGenFromList(*item, entries);
  }
}

std::u16string choicesOf(AGControlItems& list) {
  std::u16string joined;
  for (std::int32_t i = 1; i <= list.Count(); ++i) {
    const Ref<AGControlItem> item = list.Item(Variant(i));
    if (!item) continue;
    if (!joined.empty()) joined += u',';
    joined += item->ItemId() + u"=" + (item->ItemGen() ? u"1" : u"0");
  }
  return joined;
}

// Every switched-on item once per control of its id whose condition holds.
std::int32_t countItems(GenerationRun& run, AGControlItems& list) {
  AGPControls& controls = *run.templateControls;
  std::int32_t count = 0;
  for (std::int32_t i = 1; i <= list.Count(); ++i) {
    const Ref<AGControlItem> item = list.Item(Variant(i));
    if (!item || !item->ItemGen()) continue;
    for (std::int32_t c = 1; c <= controls.Count(); ++c) {
      const Ref<AGPControl> control = controls.Item(Variant(static_cast<std::int16_t>(c)));
      if (!control || control->CtrlID() != item->ItemId()) continue;
      CurrentControlScope scope(run, control);
      if (EvalCtrlCond(run, control->CtrlCond())) ++count;
    }
  }
  return count;
}

}  // namespace

bool IsListedTable(AGPTable& table) {
  return table.tblGen() || !tableText(table, kTblSysGenUnits).empty();
}

bool IsCtrlForTable(GenerationRun& run, AGPTable& table, std::u16string_view ctrlId,
                    std::u16string_view ctrlType, std::u16string_view cond) {
  bool applies = table.tblGen();
  if (!applies) {
    const std::u16string units = tableText(table, kTblSysGenUnits);
    if (!units.empty()) {
      for (const std::u16string& unit : split(units, u",")) applies |= unit == ctrlId;
    }
  }
  if (!applies) return false;
  const std::u16string type = table.tblType();
  if (equalsNoCase(ctrlType, u"table")) {
    applies = equalsNoCase(type, u"TABLE") || equalsNoCase(type, u"VIEW") ||
              equalsNoCase(type, u"CUSTOMVIEW");
  } else if (equalsNoCase(ctrlType, u"report")) {
    applies = equalsNoCase(type, u"REPORT");
  } else {
    applies = false;
  }
  if (!applies) return false;
  if (const Ref<AGPDatabase> db = run.proj().DB()) db->tables().setItem(Variant(table.tblName()));
  return EvalCtrlCond(run, cond);
}

void ClearControlItems(GenerationRun& run) {
  AGP& proj = run.proj();
  clearList(proj.controlList());
  forEachTable(proj, [](AGPTable& table) {
    if (IsListedTable(table)) clearList(table.controlList());
  });
  run.currentTable = nullptr;
}

void UpdateControlItems(GenerationRun& run) {
  AGP& proj = run.proj();
  AGPControls& controls = *run.templateControls;
  for (std::int32_t i = 1; i <= controls.Count(); ++i) {
    const Ref<AGPControl> control = controls.Item(Variant(static_cast<std::int16_t>(i)));
    if (!control) continue;
    CurrentControlScope scope(run, control);
    const AGControlFields& c = control->fields();
    std::u16string remark = c.CtrlRemark;
    if (!c.CtrlExt.empty()) remark += (remark.empty() ? u"(" : u" (") + c.CtrlExt + u")";

    const std::u16string type = toLower(c.CtrlType);
    if (type == u"function" || type == u"folder" || type == u"field") continue;
    if (type == u"table" || type == u"report") {
      forEachTable(proj, [&](AGPTable& table) {
        run.currentTable = Ref<AGPTable>(&table);
        if (IsListedTable(table) && IsCtrlForTable(run, table, c.CtrlID, c.CtrlType, c.CtrlCond)) {
          const std::u16string name =
              GetOutputFileName(proj, *control, tableText(table, kTblVar), u"");
          table.controlList().Add(c.CtrlID, name, true, remark);
        }
        run.currentTable = nullptr;
      });
      continue;
    }
    if (EvalCtrlCond(run, c.CtrlCond)) {
      proj.controlList().Add(c.CtrlID, GetOutputFileName(proj, *control, u"", u""), true, remark);
    }
  }
  ApplyOtherGenList(proj);
}

void ApplyOtherGenList(AGP& proj) {
  const Variant* saved = proj.properties().findValue(u"OtherGenList");
  applyEntries(proj.controlList(), saved ? savedEntries(*saved) : std::vector<std::u16string>{});
  forEachTable(proj, [](AGPTable& table) {
    const std::vector<std::u16string> entries =
        savedEntries(table.properties().setting(kTblGenList));
    if (!entries.empty()) applyEntries(table.controlList(), entries);
  });
}

void SetItemGenFromList(AGControlItem& item, const std::vector<std::u16string>& entries) {
  if (entries.empty()) return;
  const std::u16string key = item.ItemId() + u"=";
  for (const std::u16string& entry : entries) {
    if (!startsWith(entry, key)) continue;
    item.setItemGen(entry.size() > key.size() && entry[key.size()] == u'1');
    return;
  }
}

void SaveOtherGenList(AGP& proj) {
  AGProperties& bag = proj.properties();
  bag.setValue(*bag.declare(u"OtherGenList"), Variant(choicesOf(proj.controlList())));
  forEachTable(proj, [](AGPTable& table) {
    if (IsListedTable(table)) {
      table.properties().setting(kTblGenList) = Variant(choicesOf(table.controlList()));
    }
  });
}

Variant CountGenItems(GenerationRun& run) {
  AGP& proj = run.proj();
  run.currentTable = nullptr;
  std::int32_t count = countItems(run, proj.controlList());
  forEachTable(proj, [&](AGPTable& table) {
    run.currentTable = Ref<AGPTable>(&table);
    if (const Ref<AGPDatabase> db = proj.DB()) db->tables().setItem(Variant(table.tblName()));
    count += countItems(run, table.controlList());
  });
  run.currentTable = nullptr;
  // A site larger than the 16-bit range still gets its full progress total.
  if (count > std::numeric_limits<std::int16_t>::max()) return Variant(count);
  return Variant(static_cast<std::int16_t>(count));
}

}  // namespace vantorel
