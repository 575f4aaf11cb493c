#include "project/project_catalogue.hpp"

#include <cstdint>

#include "foundation/locale_charset.hpp"
#include "foundation/project_context.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

static_assert(kProjSettingCount == 137);

const SettingCatalog& projectCatalog() {
  static const SettingCatalog catalog{
      {u"ProjName", u"String", false, 0, true, true},
      {u"ProjVar", u"String", false, 0, false, false},
      {u"MultiLanguage", u"Boolean", true, 1, true, true},
      {u"DefaultLanguageFile", u"String", true, 1, true, true},
      {u"LanguageFiles", u"String", true, 1, true, true},
      {u"SyncLog", u"String", false, 0, false, false},
      {u"AppCompat", u"Boolean", true, 1, true, true},
      {u"AppHeader", u"String", true, 1, true, true},
      {u"AppFooter", u"String", true, 1, true, true},
      {u"AppLogin", u"String", true, 1, true, true},
      {u"AppLogout", u"String", true, 1, true, true},
      {u"AppDefault", u"String", true, 1, true, true},
      {u"AppCssFolder", u"String", true, 1, false, true},
      {u"AppChartCssFile", u"String", true, 1, false, true},
      {u"AppExportMenu", u"Boolean", true, 1, true, true},
      {u"AppCompatVersion", u"Integer", true, 4, true, true},
      {u"AppRelatedProject", u"String", false, 0, true, true},
      {u"SQLQuote", u"String", false, 0, true, true},
      {u"CodePage", u"Long", true, 4, true, true},
      {u"LCID", u"Long", true, 4, true, true},
      {u"Cache", u"Boolean", true, 1, true, true},
      {u"IncFiles", u"String", false, 0, true, true},
      {u"IncVirtuals", u"String", false, 0, true, true},
      {u"CharSet", u"String", true, 1, true, true},
      {u"CSS", u"String", true, 1, true, true},
      {u"OutputNameType", u"String", true, 1, true, true},
      {u"OutputNameExt", u"String", true, 1, true, true},
      {u"OutputNameLCase", u"Boolean", true, 1, true, true},
      {u"BodyTitle", u"String", true, 1, true, true},
      {u"BodyFont", u"String", true, 1, true, true},
      {u"BodySize", u"String", true, 1, true, true},
      {u"BodyBgColor", u"String", true, 1, true, true},
      {u"BodyTextColor", u"String", true, 1, true, true},
      {u"BodyLnkColor", u"String", true, 1, true, true},
      {u"BodyVLnkColor", u"String", true, 1, true, true},
      {u"BodyALnkColor", u"String", true, 1, true, true},
      {u"BodyLeftMargin", u"Integer", true, 4, true, true},
      {u"BodyTopMargin", u"Integer", true, 4, true, true},
      {u"ApplicationTheme", u"String", true, 1, true, true},
      {u"HeaderColor", u"String", true, 1, true, true},
      {u"HeaderLogo", u"String", true, 1, true, true},
      {u"HeaderHeight", u"Integer", true, 4, true, true},
      {u"MenuColor", u"String", true, 1, true, true},
      {u"FooterColor", u"String", true, 1, true, true},
      {u"FooterFontColor", u"String", true, 1, true, true},
      {u"FooterText", u"String", true, 1, true, true},
      {u"TblWidth", u"String", true, 1, true, true},
      {u"TblPadding", u"Integer", true, 4, true, true},
      {u"TblBorder", u"Integer", true, 4, true, true},
      {u"TblSpacing", u"Integer", true, 4, true, true},
      {u"TblBgColor", u"String", true, 1, true, true},
      {u"TblHdrFontColor", u"String", true, 1, true, true},
      {u"TblHdrColor", u"String", true, 1, true, true},
      {u"TblAltColor", u"Boolean", true, 1, true, true},
      {u"TblAltColor1", u"String", true, 1, true, true},
      {u"TblAltColor2", u"String", true, 1, true, true},
      {u"Template", u"String", true, 1, true, true},
      {u"Destination", u"String", false, 0, true, true},
      {u"SecType", u"String", false, 0, true, true},
      {u"SecLoginID", u"String", false, 0, true, true},
      {u"SecPasswd", u"String", false, 0, true, true},
      {u"SecTbl", u"String", false, 0, true, true},
      {u"SecLoginIDFld", u"String", false, 0, true, true},
      {u"SecPasswdFld", u"String", false, 0, true, true},
      {u"SecEmailFld", u"String", false, 0, true, true},
      {u"SecForgetPwdPage", u"Boolean", false, 0, true, true},
      {u"SecChangePwdPage", u"Boolean", false, 0, true, true},
      {u"SecChangeEmail", u"Boolean", false, 0, true, true},
      {u"SecRegisterPage", u"Boolean", false, 0, true, true},
      {u"SecRegisterActivate", u"Boolean", true, 1, true, true},
      {u"SecRegisterActivateFld", u"String", false, 0, true, true},
      {u"SecRegisterEmail", u"Boolean", false, 0, true, true},
      {u"SecSenderEmail", u"String", false, 0, true, true},
      {u"SmtpServer", u"String", true, 1, true, true},
      {u"SmtpServerPort", u"Long", true, 4, true, true},
      {u"MemoCRLFReplace", u"Boolean", true, 1, true, true},
      {u"SessTimeOut", u"Integer", true, 4, true, true},
      {u"ServerScriptTimeout", u"Integer", true, 4, true, true},
      {u"defaultDateFormat", u"Integer", true, 1, true, true},
      {u"DateSeparator", u"String", true, 1, true, true},
      {u"XMLEncoding", u"String", true, 1, true, true},
      {u"RptColColor", u"String", true, 1, true, true},
      {u"RptGrpColor1", u"String", true, 1, true, true},
      {u"RptGrpColor2", u"String", true, 1, true, true},
      {u"RptGrpColor3", u"String", true, 1, true, true},
      {u"RptGrpColor4", u"String", true, 1, true, true},
      {u"RptGrpSummaryColor1", u"String", true, 1, true, true},
      {u"RptGrpSummaryColor2", u"String", true, 1, true, true},
      {u"RptGrpSummaryColor3", u"String", true, 1, true, true},
      {u"RptGrpSummaryColor4", u"String", true, 1, true, true},
      {u"RptPageTotalColor", u"String", true, 1, true, true},
      {u"RptGrandTotalColor", u"String", true, 1, true, true},
      {u"EditBackColor", u"String", true, 1, true, true},
      {u"EditForeColor", u"String", true, 1, true, true},
      {u"PagerBackColor", u"String", true, 1, true, true},
      {u"FooterBackColor", u"String", true, 1, true, true},
      {u"UploadPath", u"String", true, 1, true, true},
      {u"UseCss", u"Boolean", true, 1, true, true},
      {u"CssStyles", u"String", false, 0, true, true},
      {u"AutoSync", u"Boolean", false, 0, true, true},
      {u"CreateVDir", u"Boolean", false, 0, true, true},
      {u"AutoBrowse", u"Boolean", false, 0, true, true},
      {u"BodyStyle", u"String", false, 0, true, true},
      {u"OtherGenList", u"String", false, 0, true, true},
      {u"OtherGen", u"Boolean", false, 0, true, true},
      {u"OtherExpanded", u"Boolean", false, 0, true, true},
      {u"DynamicLoadDB", u"Boolean", true, 1, true, true},
      {u"OptionExplicit", u"Boolean", true, 1, true, true},
      {u"MD5Password", u"Boolean", true, 1, true, true},
      {u"CaseSensitivePassword", u"Boolean", true, 1, true, true},
      {u"ServerValidate", u"Boolean", true, 1, true, true},
      {u"ClientValidate", u"Boolean", true, 1, true, true},
      {u"RecPerPage", u"Integer", true, 4, true, true},
      {u"RecPerPageList", u"String", true, 1, true, true},
      {u"PrinterFriendly", u"Boolean", true, 1, true, true},
      {u"ExportHtml", u"Boolean", true, 1, true, true},
      {u"ExportWord", u"Boolean", true, 1, true, true},
      {u"ExportExcel", u"Boolean", true, 1, true, true},
      {u"ExportXml", u"Boolean", true, 1, true, true},
      {u"ExportCsv", u"Boolean", true, 1, true, true},
      {u"ExportEmail", u"Boolean", true, 1, true, true},
      {u"ExportType", u"String", true, 1, true, true},
      {u"RecPerRow", u"Integer", true, 4, true, true},
      {u"MultiDelete", u"Boolean", true, 1, true, true},
      {u"SortType", u"Integer", true, 4, true, true},
      {u"PagerStyle", u"Integer", true, 4, true, true},
      {u"TopPageLink", u"Boolean", true, 1, true, true},
      {u"BottomPageLink", u"Boolean", true, 1, true, true},
      {u"LinkOnLeft", u"Boolean", true, 1, true, true},
      {u"RepeatColumns", u"Integer", true, 4, true, true},
      {u"AppRootFolder", u"String", true, 1, true, true},
      {u"RecipientEmail", u"String", true, 1, true, true},
      {u"SMTPServerUsername", u"String", true, 1, true, true},
      {u"SMTPServerPassword", u"String", true, 1, true, true},
      {u"FavIcon", u"String", true, 1, true, true},
      {u"LoginOption", u"String", true, 1, true, true},
      {u"ChartMenuItems", u"Boolean", true, 1, true, true},
  };
  return catalog;
}

void applyProjectFixedValues(AGProperties& bag) {
  bag.setting(kProjIncFiles) = Variant(u"");
  bag.setting(kProjIncVirtuals) = Variant(u"");
  bag.setting(kProjSecType) = Variant(u"None");
  bag.setting(kProjSecLoginID) = Variant(u"");
  bag.setting(kProjSecPasswd) = Variant(u"");
  bag.setting(kProjSecTbl) = Variant(u"");
  bag.setting(kProjSecLoginIDFld) = Variant(u"");
  bag.setting(kProjSecPasswdFld) = Variant(u"");
  bag.setting(kProjAutoSync) = Variant(true);
  bag.setting(kProjAutoBrowse) = Variant(false);
  bag.setting(kProjCreateVDir) = Variant(false);
  Variant& encoding = bag.setting(kProjXMLEncoding);
  // Compared as text, so Empty counts as empty.
  if (encoding.isEmpty() || (encoding.isString() && encoding.stringValue().empty())) {
    InitLocaleCharset();
    encoding = Variant(projectContext().systemCharset);
  }
  bag.setting(kProjOtherGen) = Variant(true);
  bag.setting(kProjLinkOnLeft) = Variant(false);
  bag.setting(kProjPagerStyle) = Variant(static_cast<std::int16_t>(2));
  bag.setting(kProjMultiDelete) = Variant(false);
}

void copyDateFormatSetting(AGProperties& bag) {
  const Variant& value = bag.setting(kProjDefaultDateFormat);
  std::int16_t format = 0;
  try {
    if (value.isNumericType() || (value.isString() && parseNumber(value.stringValue()))) {
      format = toInteger(value);
    }
  } catch (const AutomationError&) {
  }
  projectContext().currentDateFormat = format;
}

}  // namespace vantorel
