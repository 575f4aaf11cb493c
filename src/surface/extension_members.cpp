// The script members of extensions and their settings trees, custom scripts and the code base.
#include "extensions/code_base.hpp"
#include "extensions/custom_scripts.hpp"
#include "extensions/ext_entries.hpp"
#include "extensions/extensions.hpp"
#include "platform/automation/bind.hpp"
#include "surface/install_table.hpp"
#include "surface/list_members.hpp"
#include "surface/surface_tables.hpp"

namespace vantorel::surface {

namespace {

// The members every entry class shows, with its own names for the two fixed rows.
template <class T>
void entryMembers(ClassBuilder<T>& b, const char16_t* seqName, const char16_t* nameName) {
  b.template get<&T::scriptProperties>(u"Properties")
      .template prop<&T::name, &T::setName>(u"Key")
      .template prop<&T::seq, &T::setSeq>(seqName)
      .template prop<&T::name, &T::setName>(nameName);
}

template <class T>
void listMembers(ClassBuilder<T>& b, const char16_t* existName, const char16_t* enumName) {
  listHeadMembers<&T::remove, &T::exists>(b, existName)
      .template method<&T::setSeq>(u"SetSeq")
      .template method<&T::newEnum>(enumName)
      .template enumerator<&T::newEnum>();
}

}  // namespace

void installExtensionTables() noexcept {
  installTable<AGPExtDb>(u"AGPExtDb", [](ClassInfo& c) {
    using T = AGPExtDb;
    ClassBuilder<T>(c)
        .get<&T::scriptProperties>(u"Properties")
        .get<&T::scriptTables>(u"Tables")
        .prop<&T::dbName, &T::setDbName>(u"DBName");
  });
  installTable<AGPExtDbs>(u"AGPExtDbs", [](ClassInfo& c) {
    using T = AGPExtDbs;
    ClassBuilder<T>(c)
        .get<&T::curName>(u"curName")
        .method<&T::scriptAdd>(u"Add")
        .method<&T::count>(u"Count")
        .method<&T::remove>(u"Delete")
        .method<&T::item>(u"Item")
        .method<&T::scriptNewEnum>(u"NewEnum_extDb")
        .enumerator<&T::newEnum>();
  });
  installTable<AGPExtProj>(u"AGPExtProj", [](ClassInfo& c) {
    using T = AGPExtProj;
    ClassBuilder<T>(c).get<&T::scriptDb>(u"DB").get<&T::dbCnt>(u"DBCnt").get<&T::scriptProperties>(
        u"Properties");
  });
  installTable<AGPExtension>(u"AGPExtension", [](ClassInfo& c) {
    using T = AGPExtension;
    ClassBuilder<T>(c)
        .get<&T::scriptProperties>(u"Properties")
        .get<&T::isExtended>(u"IsExtended")
        .get<&T::scriptProj>(u"PROJ")
        .prop<&T::seq, &T::setSeq>(u"Seq")
        .prop<&T::name, &T::setName>(u"Key")
        .prop<&T::name, &T::setName>(u"Name")
        .prop<&T::templateFile, &T::setTemplateFile>(u"Template")
        .prop<&T::xmlFile, &T::setXmlFile>(u"XmlFile")
        .prop<&T::enabled, &T::setEnabled>(u"Enabled");
  });
  installTable<AGPExtensions>(u"AGPExtensions", [](ClassInfo& c) {
    using T = AGPExtensions;
    ClassBuilder<T>(c)
        .get<&T::curName>(u"curName")
        .get<&T::curSeq>(u"curSeq")
        .method<&T::add>(u"Add")
        .method<&T::count>(u"Count")
        .method<&T::remove>(u"Delete")
        .method<&T::extensionExist>(u"ExtensionExist")
        .method<&T::item>(u"Item")
        .method<&T::seq>(u"Seq")
        .method<&T::scriptNewEnum>(u"NewEnum_ext")
        .enumerator<&T::newEnum>();
  });
  installTable<AGPExtChart>(u"AGPExtChart", [](ClassInfo& c) {
    ClassBuilder<AGPExtChart> b(c);
    entryMembers(b, u"ChartSeq", u"ChartName");
  });
  installTable<AGPExtField>(u"AGPExtField", [](ClassInfo& c) {
    ClassBuilder<AGPExtField> b(c);
    entryMembers(b, u"FldSeq", u"FldName");
  });
  installTable<AGPExtTable>(u"AGPExtTable", [](ClassInfo& c) {
    using T = AGPExtTable;
    ClassBuilder<T> b(c);
    b.get<&T::scriptProperties>(u"Properties")
        .get<&T::scriptCharts>(u"Charts")
        .get<&T::scriptFields>(u"Fields");
    entryMembers(b, u"TblSeq", u"TblName");
  });
  installTable<AGPExtTables>(u"AGPExtTables", [](ClassInfo& c) {
    using T = AGPExtTables;
    ClassBuilder<T> b(c);
    listMembers(b, u"TableExist", u"NewEnum_extTbl");
    b.method<&T::setItem>(u"SetItem");
  });
  installTable<AGPExtCharts>(u"AGPExtCharts", [](ClassInfo& c) {
    using T = AGPExtCharts;
    ClassBuilder<T> b(c);
    listMembers(b, u"ChartExist", u"NewEnum_extChart");
    b.method<&T::setItemExact>(u"SetItem");
  });
  installTable<AGPExtFields>(u"AGPExtFields", [](ClassInfo& c) {
    using T = AGPExtFields;
    ClassBuilder<T> b(c);
    listMembers(b, u"FieldExist", u"NewEnum_extFld");
    b.method<&T::setItem>(u"SetItem");
  });
  installTable<AGPCustomScript>(u"AGPCustomScript", [](ClassInfo& c) {
    using T = AGPCustomScript;
    ClassBuilder<T>(c)
        .get<&T::scriptProperties>(u"Properties")
        .prop<&T::key, &T::setKey>(u"Key")
        .prop<&T::seq, &T::setSeq>(u"Seq")
        .prop<&T::text<T::kType>, &T::setText<T::kType>>(u"ScriptType")
        .prop<&T::text<T::kCodeType>, &T::setText<T::kCodeType>>(u"ScriptCodeType")
        .prop<&T::text<T::kName>, &T::setText<T::kName>>(u"ScriptName")
        .prop<&T::text<T::kCtrlId>, &T::setText<T::kCtrlId>>(u"ScriptCtrlID")
        .prop<&T::text<T::kL1Key>, &T::setText<T::kL1Key>>(u"ScriptL1Key")
        .prop<&T::text<T::kL2Key>, &T::setText<T::kL2Key>>(u"ScriptL2Key")
        .prop<&T::text<T::kCode>, &T::setText<T::kCode>>(u"ScriptCode");
  });
  installTable<AGPCustomScripts>(u"AGPCustomScripts", [](ClassInfo& c) {
    using T = AGPCustomScripts;
    ClassBuilder<T>(c)
        .get<&T::curName>(u"curName")
        .get<&T::curSeq>(u"curSeq")
        .method<&T::scriptAdd>(u"Add")
        .method<&T::change>(u"Change")
        .method<&T::count>(u"Count")
        .method<&T::scriptDelete>(u"Delete")
        .method<&T::scriptExist>(u"ScriptExist")
        .method<&T::scriptScriptItem>(u"ScriptItem")
        .method<&T::seq>(u"Seq")
        .method<&T::scriptNewEnum>(u"NewEnum_scrpt")
        .enumerator<&T::newEnum>();
  });
  installTable<AGPCodeBase>(u"AGPCodeBase", [](ClassInfo& c) {
    using T = AGPCodeBase;
    ClassBuilder<T>(c)
        .get<&T::curIndex>(u"curIndex")
        .get<&T::Count>(u"Count")
        .method<&T::CodeExist>(u"CodeExist")
        .method<&T::CodeSource>(u"CodeSource")
        .method<&T::scriptLoad>(u"Load");
  });
}

}  // namespace vantorel::surface
