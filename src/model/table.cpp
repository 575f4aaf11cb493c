#include "model/table.hpp"

#include "foundation/project_context.hpp"
#include "foundation/registry_defaults.hpp"
#include "foundation/setting_access.hpp"
#include "foundation/setting_members.hpp"
#include "model/model_items.hpp"
#include "model/name_links.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

const SettingCatalog& tableCatalog() {
  static const SettingCatalog catalog{
      {u"TblSync", u"Boolean", false, 0, false, false},
      {u"TblSyncMessage", u"String", false, 0, false, false},
      {u"TblSeq", u"Integer", false, 0, false, false},
      {u"TblSchema", u"String", false, 0, true, false},
      {u"TblName", u"String", false, 0, true, false},
      {u"TblType", u"String", false, 0, true, false},
      {u"TblKey", u"String", false, 0, false, false},
      {u"TblGen", u"Boolean", false, 0, true, true},
      {u"TblGenList", u"String", false, 0, true, true},
      {u"TblList", u"Boolean", false, 0, true, true},
      {u"TblView", u"Boolean", false, 0, true, true},
      {u"TblInlineEdit", u"Boolean", true, 1, true, true},
      {u"TblEdit", u"Boolean", false, 0, true, true},
      {u"TblAdd", u"Boolean", false, 0, true, true},
      {u"TblAnonymous", u"Integer", true, 4, true, true},
      {u"TblDelete", u"Boolean", false, 0, true, true},
      {u"TblCaption", u"String", false, 0, true, true},
      {u"TblVar", u"String", false, 0, true, false},
      {u"TblUpdatable", u"Boolean", false, 0, true, false},
      {u"TblSQL", u"String", false, 0, true, false},
      {u"TblError", u"String", false, 0, true, false},
      {u"TblSrchType", u"String", false, 0, true, true},
      {u"TblDefault", u"Boolean", false, 0, true, true},
      {u"TblCopy", u"Boolean", false, 0, true, true},
      {u"TblFilter", u"String", false, 0, true, false},
      {u"TblUserIDFld", u"String", false, 0, true, true},
      {u"TblSecurity", u"String", false, 0, true, true},
      {u"TblMasterTbl", u"String", false, 0, true, true},
      {u"TblMasterFld", u"String", false, 0, true, true},
      {u"TblDetailFld", u"String", false, 0, true, true},
      {u"TblSysGenUnits", u"String", false, 0, false, false},
      {u"TblSysGenOption", u"String", false, 0, false, false},
      {u"TblUserGenOption", u"String", false, 0, false, false},
      {u"TblOverwrite", u"Boolean", true, 1, true, true},
      {u"TblLoaded", u"Boolean", false, 0, true, true},
      {u"TblRptShowDetails", u"Boolean", true, 1, true, true},
      {u"TblRptShowGrandTotal", u"Boolean", true, 1, true, true},
      {u"TblReportType", u"String", false, 0, true, true},
      {u"TblShowReport", u"Boolean", true, 1, true, true},
      {u"TblRptShowPageTotal", u"Boolean", true, 1, true, true},
      {u"TblRowSum", u"Boolean", true, 1, true, true},
      {u"TblShowEmptyRows", u"Boolean", true, 1, true, true},
      {u"TblCustomSQL", u"String", false, 0, true, false},
      {u"TblCustomError", u"String", false, 0, true, false},
      {u"TblRptSrc", u"String", false, 0, true, true},
      {u"TblUseGlobal", u"Boolean", true, 1, true, true},
      {u"TblRecPerPage", u"Integer", true, 4, true, true},
      {u"TblRecPerPageList", u"String", true, 1, true, true},
      {u"TblPrinterFriendly", u"Boolean", true, 1, true, true},
      {u"TblExportHtml", u"Boolean", true, 1, true, true},
      {u"TblExportWord", u"Boolean", true, 1, true, true},
      {u"TblExportExcel", u"Boolean", true, 1, true, true},
      {u"TblExportXml", u"Boolean", true, 1, true, true},
      {u"TblExportCsv", u"Boolean", true, 1, true, true},
      {u"TblExportEmail", u"Boolean", true, 1, true, true},
      {u"TblExportType", u"String", true, 1, true, true},
      {u"TblRecPerRow", u"Integer", true, 4, true, true},
      {u"TblMultiDelete", u"Boolean", true, 1, true, true},
      {u"TblSortType", u"Integer", true, 4, true, true},
      {u"TblPagerStyle", u"Integer", true, 4, true, true},
      {u"TblTopPageLink", u"Boolean", true, 1, true, true},
      {u"TblBottomPageLink", u"Boolean", true, 1, true, true},
      {u"TblLinkOnLeft", u"Boolean", true, 1, true, true},
      {u"TblShowBlankListPage", u"Boolean", false, 0, true, true},
  };
  return catalog;
}
static_assert(kTblShowBlankListPage + 1 == 64);

AGPTable::AGPTable() {
  loadRegistryDefaults(properties(), projectContext().tableKey, MissingDefault::TypedZero);
}

const ClassInfo& AGPTable::classInfo() const noexcept {
  return MemberTable<AGPTable>::get(u"AGPTable");
}

AGProperties& AGPTable::properties() {
  if (!properties_) properties_ = makeRef<AGProperties>(tableCatalog());
  return *properties_;
}

std::u16string AGPTable::GetV(const std::u16string& name) {
  return toString(getSettingText(properties(), name));
}

Variant AGPTable::SetV(const std::u16string& name, const std::u16string& value) {
  setSettingConverted(properties(), name, Variant(value));
  return Variant();
}

AGPCharts& AGPTable::charts() {
  if (!charts_) charts_ = makeRef<AGPCharts>();
  return *charts_;
}

AGPFields& AGPTable::fields() {
  if (!fields_) fields_ = makeRef<AGPFields>();
  return *fields_;
}

std::u16string AGPTable::tblName() {
  return storedText(properties().setting(kTblName));
}

void AGPTable::setTblName(const std::u16string& name) {
  properties().setting(kTblName) = Variant(name);
}

std::int16_t AGPTable::tblSeq() {
  return storedSeq(properties().setting(kTblSeq));
}

void AGPTable::setTblSeq(std::int16_t seq) {
  properties().setting(kTblSeq) = Variant(seq);
}

std::u16string AGPTable::tblType() {
  return storedText(properties().setting(kTblType));
}

void AGPTable::setTblVar(const std::u16string& name) {
  properties().setting(kTblVar) = Variant(name);
}

bool AGPTable::tblGen() {
  return toBool(properties().setting(kTblGen));
}

void AGPTable::setTblGen(bool generate) {
  properties().setting(kTblGen) = Variant(generate);
  showTableMenus(tblName(), generate);
}

void AGPTable::terminate() noexcept {
  // Charts before fields, each from the highest sequence number down; the name is the one the
  // table carries now.
  const std::u16string name = tblName();
  if (charts_) {
    try {
      charts_->deleteAll(name);
    } catch (...) {
    }
  }
  if (fields_) {
    try {
      fields_->removeAll(name);
    } catch (...) {
    }
  }
}

AGControlItems& AGPTable::controlList() {
  if (!controlList_) controlList_ = makeRef<AGControlItems>();
  return *controlList_;
}

}  // namespace vantorel
