// AGPTable.LoadTableDefault: the settings a table, view, custom view or report takes from its
// name and kind once its definition has been read. Everything else in the bag (the user's
// defaults, what the caller set) stays as it is.
#include "foundation/captions.hpp"
#include "foundation/project_context.hpp"
#include "foundation/script_text.hpp"
#include "model/table.hpp"

namespace vantorel {

void AGPTable::LoadTableDefault() {
  AGProperties& bag = properties();
  const std::u16string name = tblName();
  // Exact upper-case texts: a kind in another case is neither a table nor a report.
  const std::u16string type = tblType();
  const bool isTable = type == u"TABLE";
  const bool isReport = type == u"REPORT";

  bag.setting(kTblCaption) = Variant(NameToCaption(name));
  bag.setting(kTblVar) = GetVarName(Variant(name), Variant(u""));
  bag.setting(kTblDefault) = Variant(false);
  bag.setting(kTblList) = Variant(true);
  for (SettingSlot page : {kTblAdd, kTblView, kTblEdit, kTblDelete}) {
    bag.setting(page) = Variant(isTable);
  }
  if (isTable) bag.setting(kTblSQL) = Variant(u"");
  bag.setting(kTblCopy) = Variant(isTable);
  bag.setting(kTblUpdatable) = Variant(!isReport);
  bag.setting(kTblSrchType) = Variant(isReport ? u"NONE" : u"BASIC");
  bag.setting(kTblSecurity) = Variant(projectContext().currentSecDefault);
  // A report keeps what its creator chose; the others start out not generated. The bag is
  // written directly, so the table's menu entries keep their state.
  if (!isReport) {
    bag.setting(kTblGen) = Variant(false);
    bag.setting(kTblRptSrc) = Variant(name);
    bag.setting(kTblReportType) = Variant(u"rpt");
  }
}

}  // namespace vantorel
