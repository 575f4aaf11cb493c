#pragma once
// AGPTable: a table, view, custom view or report of the project's database, its 64 settings
// in a bag declared from the table catalog and defaulted from the user's TableKey when the
// table is made, its fields and its charts. Releasing a table deletes its charts, then its
// fields, each with its menu entries, phrases and extension settings.
#include <cstdint>
#include <string>

#include "fields/fields.hpp"
#include "foundation/control_items.hpp"
#include "foundation/properties.hpp"
#include "foundation/setting_catalog.hpp"
#include "model/charts.hpp"
#include "platform/automation/object.hpp"

namespace vantorel {

enum TableSetting : SettingSlot {
  kTblSync,
  kTblSyncMessage,
  kTblSeq,
  kTblSchema,
  kTblName,
  kTblType,
  kTblKey,
  kTblGen,
  kTblGenList,
  kTblList,
  kTblView,
  kTblInlineEdit,
  kTblEdit,
  kTblAdd,
  kTblAnonymous,
  kTblDelete,
  kTblCaption,
  kTblVar,
  kTblUpdatable,
  kTblSQL,
  kTblError,
  kTblSrchType,
  kTblDefault,
  kTblCopy,
  kTblFilter,
  kTblUserIDFld,
  kTblSecurity,
  kTblMasterTbl,
  kTblMasterFld,
  kTblDetailFld,
  kTblSysGenUnits,
  kTblSysGenOption,
  kTblUserGenOption,
  kTblOverwrite,
  kTblLoaded,
  kTblRptShowDetails,
  kTblRptShowGrandTotal,
  kTblReportType,
  kTblShowReport,
  kTblRptShowPageTotal,
  kTblRowSum,
  kTblShowEmptyRows,
  kTblCustomSQL,
  kTblCustomError,
  kTblRptSrc,
  kTblUseGlobal,
  kTblRecPerPage,
  kTblRecPerPageList,
  kTblPrinterFriendly,
  kTblExportHtml,
  kTblExportWord,
  kTblExportExcel,
  kTblExportXml,
  kTblExportCsv,
  kTblExportEmail,
  kTblExportType,
  kTblRecPerRow,
  kTblMultiDelete,
  kTblSortType,
  kTblPagerStyle,
  kTblTopPageLink,
  kTblBottomPageLink,
  kTblLinkOnLeft,
  kTblShowBlankListPage,
};

const SettingCatalog& tableCatalog();

class AGPTable final : public Object {
 public:
  // Declares the catalog and reads the registry defaults.
  AGPTable();

  const ClassInfo& classInfo() const noexcept override;

  AGProperties& properties();
  Ref<AGProperties> scriptProperties() { return Ref<AGProperties>(&properties()); }
  // Any setting by name as text; an undeclared name is declared as a saved "String" row.
  std::u16string GetV(const std::u16string& name);
  // Converted by the row's type; an undeclared name is declared and keeps the text as given.
  Variant SetV(const std::u16string& name, const std::u16string& value);
  AGPCharts& charts();
  Ref<AGPCharts> scriptCharts() { return Ref<AGPCharts>(&charts()); }
  AGPFields& fields();
  Ref<AGPFields> scriptFields() { return Ref<AGPFields>(&fields()); }
  // The table's output files, created empty on first use.
  AGControlItems& controlList();
  Ref<AGControlItems> scriptControlList() { return Ref<AGControlItems>(&controlList()); }

  // Key and TblName are one setting; the collection key does not follow them.
  std::u16string tblName();
  void setTblName(const std::u16string& name);
  std::int16_t tblSeq();
  void setTblSeq(std::int16_t seq);
  std::u16string tblType();
  void setTblVar(const std::u16string& name);
  bool tblGen();
  // Also shows or hides the table's menu entry and its charts' entries.
  void setTblGen(bool generate);

  // The settings that follow from the table's name and kind, given once its definition is read
  // (by every schema loader, synchronisation and the project-file reader); see table_defaults.cpp.
  void LoadTableDefault();

 protected:
  void terminate() noexcept override;

 private:
  Ref<AGProperties> properties_;
  Ref<AGPCharts> charts_;
  Ref<AGPFields> fields_;
  Ref<AGControlItems> controlList_;
};

}  // namespace vantorel
