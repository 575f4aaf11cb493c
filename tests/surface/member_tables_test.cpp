// Every class whose members the automation surface describes answers with its whole table
// once the engine is set up, the same table for each of its objects; a class left out would
// give scripts an object without members.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "extensions/code_base.hpp"
#include "extensions/custom_scripts.hpp"
#include "extensions/ext_entries.hpp"
#include "extensions/extensions.hpp"
#include "fields/field.hpp"
#include "fields/fields.hpp"
#include "foundation/collection_keys.hpp"
#include "foundation/control_items.hpp"
#include "foundation/custom_settings.hpp"
#include "foundation/keyword_list.hpp"
#include "foundation/properties.hpp"
#include "foundation/status.hpp"
#include "foundation/string_builder.hpp"
#include "foundation/super_collection.hpp"
#include "generator/unzip_component.hpp"
#include "model/chart.hpp"
#include "model/charts.hpp"
#include "model/databases.hpp"
#include "model/table.hpp"
#include "model/tables.hpp"
#include "model/trend.hpp"
#include "model/trends.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/object.hpp"
#include "platform/text/unicode.hpp"
#include "project/advanced_filter.hpp"
#include "project/language.hpp"
#include "project/master_detail.hpp"
#include "project/master_details.hpp"
#include "project/menu.hpp"
#include "project/menus.hpp"
#include "schema/schema_record_objects.hpp"
#include "schema/schema_snapshot.hpp"
#include "templates/control.hpp"
#include "templates/control_session.hpp"
#include "templates/control_sessions.hpp"
#include "templates/controls.hpp"
#include "templates/empty_model_list.hpp"
#include "templates/file_cache.hpp"
#include "templates/output_builder.hpp"
#include "templates/script_host.hpp"
#include "templates/stamp_cache.hpp"
#include "templates/template_parser.hpp"
#include "templates/user_script.hpp"

namespace vantorel {
namespace {

struct SurfaceClass {
  std::u16string name;
  std::u16string firstMember;
  std::function<Ref<Object>()> make;
};

const std::vector<SurfaceClass>& surfaceClasses() {
  static const std::vector<SurfaceClass> classes{
      {u"cKey", u"Name", [] { return Ref<Object>(makeRef<cKey>(u"key", 1)); }},
      {u"CKeys", u"Count", [] { return Ref<Object>(makeRef<CSuperCollection>()->keys()); }},
      {u"AGControlItem", u"Key", [] { return Ref<Object>(makeRef<AGControlItem>()); }},
      {u"AGControlItems", u"Add", [] { return Ref<Object>(makeRef<AGControlItems>()); }},
      {u"CSuperCollection", u"CompareMode",
       [] { return Ref<Object>(makeRef<CSuperCollection>()); }},
      {u"AGPStringBuilder", u"Clear", [] { return Ref<Object>(makeRef<AGPStringBuilder>()); }},
      {u"AGPStatus", u"DispStatus", [] { return Ref<Object>(makeRef<AGPStatus>()); }},
      {u"AGProperty", u"Key", [] { return Ref<Object>(makeRef<AGProperty>()); }},
      {u"AGProperties", u"Add", [] { return Ref<Object>(makeRef<AGProperties>()); }},
      {u"AGPSettings", u"LoadSettings", [] { return Ref<Object>(makeRef<AGPSettings>()); }},
      {u"AGPKeyword", u"curIndex", [] { return Ref<Object>(makeRef<AGPKeyword>()); }},
      {u"AGPMenu", u"MenuAttExist", [] { return Ref<Object>(makeRef<AGPMenu>()); }},
      {u"AGPMenus", u"curIndex", [] { return Ref<Object>(makeRef<AGPMenus>()); }},
      {u"AGPMasterDetail", u"Seq", [] { return Ref<Object>(makeRef<AGPMasterDetail>()); }},
      {u"AGPMasterDetails", u"curMasterTable",
       [] { return Ref<Object>(makeRef<AGPMasterDetails>()); }},
      {u"AGPFilter", u"GroupCount", [] { return Ref<Object>(makeRef<AGPFilter>()); }},
      {u"AGPLanguage", u"GetFileId", [] { return Ref<Object>(makeRef<AGPLanguage>()); }},
      {u"AGPField", u"Properties", [] { return Ref<Object>(makeRef<AGPField>()); }},
      {u"AGPFields", u"curName", [] { return Ref<Object>(makeRef<AGPFields>()); }},
      {u"AGPTable", u"Properties", [] { return Ref<Object>(makeRef<AGPTable>()); }},
      {u"AGPTables", u"curName", [] { return Ref<Object>(makeRef<AGPTables>()); }},
      {u"AGPChart", u"Properties", [] { return Ref<Object>(makeRef<AGPChart>()); }},
      {u"AGPCharts", u"curName", [] { return Ref<Object>(makeRef<AGPCharts>()); }},
      {u"AGPTrend", u"Properties", [] { return Ref<Object>(makeRef<AGPTrend>()); }},
      {u"AGPTrends", u"curName", [] { return Ref<Object>(makeRef<AGPTrends>()); }},
      {u"AGPDatabases", u"curName", [] { return Ref<Object>(makeRef<AGPDatabases>()); }},
      {u"AGPSchema", u"tblcnt", [] { return Ref<Object>(makeRef<AGPSchema>()); }},
      {u"AGSchemaTable", u"TblSync",
       [] { return Ref<Object>(makeRef<AGSchemaTableRecord>(AGSchemaTable{})); }},
      {u"AGSchemaField", u"FldSync",
       [] { return Ref<Object>(makeRef<AGSchemaFieldRecord>(AGSchemaField{})); }},
      {u"AGPControl", u"Sessions", [] { return Ref<Object>(makeRef<AGPControl>()); }},
      {u"AGPControls", u"curIndex", [] { return Ref<Object>(makeRef<AGPControls>()); }},
      {u"AGPSession", u"SessType", [] { return Ref<Object>(makeRef<AGPSession>()); }},
      {u"AGPSessions", u"Load", [] { return Ref<Object>(makeRef<AGPSessions>()); }},
      {u"AGParser", u"BlockType", [] { return Ref<Object>(makeRef<AGParser>()); }},
      {u"AGPFileCache", u"Clear", [] { return Ref<Object>(makeRef<AGPFileCache>()); }},
      {u"AGPCache", u"AddCache", [] { return Ref<Object>(makeRef<AGPCache>()); }},
      {u"StringBuilder", u"Append", [] { return Ref<Object>(makeRef<TemplateOutputBuilder>()); }},
      {u"AGUserScript", u"AddUserModule", [] { return Ref<Object>(makeRef<AGUserScript>()); }},
      {u"AGScript", u"Initialize", [] { return Ref<Object>(makeRef<AGScript>()); }},
      {u"EmptyModelList", u"Count",
       [] { return Ref<Object>(makeRef<EmptyModelList>(u"AGPExtensions")); }},
      {u"UnzipComponent", u"ZipFile", [] { return Ref<Object>(makeRef<UnzipComponent>()); }},
      {u"AGPExtDb", u"Properties", [] { return Ref<Object>(makeRef<AGPExtDb>()); }},
      {u"AGPExtDbs", u"curName", [] { return Ref<Object>(makeRef<AGPExtDbs>()); }},
      {u"AGPExtProj", u"DB", [] { return Ref<Object>(makeRef<AGPExtProj>()); }},
      {u"AGPExtension", u"Properties", [] { return Ref<Object>(makeRef<AGPExtension>()); }},
      {u"AGPExtensions", u"curName", [] { return Ref<Object>(makeRef<AGPExtensions>()); }},
      {u"AGPExtChart", u"Properties", [] { return Ref<Object>(makeRef<AGPExtChart>()); }},
      {u"AGPExtField", u"Properties", [] { return Ref<Object>(makeRef<AGPExtField>()); }},
      {u"AGPExtTable", u"Properties", [] { return Ref<Object>(makeRef<AGPExtTable>()); }},
      {u"AGPExtTables", u"curName", [] { return Ref<Object>(makeRef<AGPExtTables>()); }},
      {u"AGPExtCharts", u"curName", [] { return Ref<Object>(makeRef<AGPExtCharts>()); }},
      {u"AGPExtFields", u"curName", [] { return Ref<Object>(makeRef<AGPExtFields>()); }},
      {u"AGPCustomScript", u"Properties", [] { return Ref<Object>(makeRef<AGPCustomScript>()); }},
      {u"AGPCustomScripts", u"curName", [] { return Ref<Object>(makeRef<AGPCustomScripts>()); }},
      {u"AGPCodeBase", u"curIndex", [] { return Ref<Object>(makeRef<AGPCodeBase>()); }},
  };
  return classes;
}

TEST(MemberTablesTest, EveryClassHasItsInstalledTable) {
  for (const SurfaceClass& c : surfaceClasses()) {
    SCOPED_TRACE(toUtf8(c.name));
    const Ref<Object> one = c.make();
    const Ref<Object> other = c.make();
    const ClassInfo& table = one->classInfo();
    EXPECT_EQ(table.name(), c.name);
    ASSERT_FALSE(table.members().empty());
    EXPECT_EQ(table.members().front().name, c.firstMember);
    EXPECT_NE(table.find(c.firstMember), kDispIdUnknown);
    EXPECT_EQ(&other->classInfo(), &table);
  }
}

}  // namespace
}  // namespace vantorel
