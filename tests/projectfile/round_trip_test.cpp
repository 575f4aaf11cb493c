// A project with every kind of object the model holds, saved, loaded into a new project object
// and saved again, gives the same bytes; the load put back what was saved.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include "fields/field_settings.hpp"
#include "foundation/project_context.hpp"
#include "foundation/script_text.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/strings.hpp"
#include "projectfile/project_reader.hpp"
#include "projectfile/project_test_support.hpp"
#include "projectfile/project_writer.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

const std::u16string kCode = u"Sub Show()\r\n  s = \"]]>\" & \"<![CDATA[\"\r\nEnd Sub]]>";

class RoundTripTest : public test::ProjectFileTest {
 protected:
  std::u16string exts() const { return fromUtf8((work() / "exts").string()); }

  // A field as a load leaves it: variable name, quotes by type, generation by support.
  static void setField(AGPField& field, std::int16_t type, const char16_t* quote, bool key) {
    AGProperties& p = field.properties();
    p.setting(kFldType) = Variant(type);
    p.setting(kFldIsPrimaryKey) = Variant(key);
    p.setting(kFldAutoIncrement) = Variant(key);
    p.setting(kFldSupport) = p.setting(kFldGenerate) = Variant(true);
    p.setting(kFldQuoteS) = p.setting(kFldQuoteE) = Variant(quote);
    p.setting(kFldVar) = GetVarName(Variant(field.FldName()), Variant(u"x_"));
    if (key) p.setting(kFldAdd) = Variant(false);
  }

  Ref<AGP> buildProject(test::ScriptStore& scripts, test::ExtensionStore& extensions) {
    Ref<AGP> p = makeRef<AGP>();
    p->setProjName(u"Shop Front");
    p->SetV(u"AppHeader", Variant(u"Line 1\r\nLine \"2\" & <3>\ttab"));
    p->SetV(u"BodyTitle", Variant(u"\u00DCber \u2713 \U0001D11E"));
    p->SetV(u"MultiLanguage", Variant(true));
    p->SetV(u"SmtpServer", Variant(u"mail.example.com"));
    p->SetV(u"MyExtraSetting", Variant(u"  kept 'as' is  "));
    AGPDatabase& db = addDatabase(*p, u"shopdb");
    db.SetV(u"DBDBMSName", u"MS Jet");
    db.SetV(u"DBQuoteS", u"[");
    db.SetV(u"DBQuoteE", u"]");

    AGPTable& orders = addTable(db, u"Orders");
    orders.setTblVar(u"Orders");
    orders.SetV(u"TblLoaded", u"True");
    setField(addField(orders, u"ID"), 3, u"", true);
    AGPField& name = addField(orders, u"Name");
    setField(name, 202, u"'", false);
    name.SetV(u"FldTagValues", u"red\r\ngreen|blue\nlf only");
    setField(addField(orders, u"Placed On"), 7, u"#", false);
    AGPChart& chart = addChart(orders, u"Sales");
    chart.setChartVar(u"Sales");
    chart.SetV(u"ChartYFldName", u"ID\r\nName");
    chart.trendlines().add(u"Target");
    addTable(db, u"Customers").setTblVar(u"Customers");

    AGPLanguage& language = SharedLanguage();
    language.SetProjectPhrase(u"en", u"ProjName", u"Shop");
    language.SetTablePhrase(u"en", u"Orders", u"TblCaption", u"Orders & more");
    language.SetChartPhrase(u"de", u"Orders", u"Sales", u"ChartCaption", u"Umsatz");
    language.SetFieldPhrase(u"de", u"Orders", u"Placed On", u"FldCaption", u"Datum");
    AGMenuFields menu = AGPMenus::addDefaults();
    menu.MenuType = u"Table";
    menu.MenuUrl = u"Orders";
    menu.MenuSecurity = u"<admin>";
    SharedMenus().AddMenu(menu);
    language.SetMenuPhrase(u"en", u"1", u"MenuText", u"All orders");
    scripts.add({u"Table", u"Server", u"Show", u"list", u"Orders", u""});
    scripts.setCode({u"Table", u"Server", u"Show"}, kCode);
    test::ExtensionStore::Ext& ext = extensions.exts.emplace_back();
    const std::tuple<AGProperties*, const char16_t*, const char16_t*> extSettings[] = {
        {ext.props.get(), u"Name", u"Calendar"}, {ext.project.get(), u"Start", u"x & y"},
        {ext.database.get(), u"D", u""},         {ext.table.get(), u"TblName", u"Orders"},
        {ext.field.get(), u"FldName", u"ID"},    {ext.field.get(), u"Show", u"1"}};
    for (const auto& [bag, name, value] : extSettings) {
      bag->add(name);
      bag->setValue(*bag->slotOf(name), Variant(value));
    }
    return p;
  }
};

TEST_F(RoundTripTest, SaveLoadSaveGivesTheSameBytes) {
  {
    test::ScriptStore scripts;
    test::ExtensionStore extensions;
    saveProject(*buildProject(scripts, extensions), workFile("shop.vtp"));
    ASSERT_EQ(projectContext().lastErrorText, u"");
  }
  SetUp();  // a new session: no menus or phrases in the thread
  test::ScriptStore scripts;
  test::ExtensionStore extensions;
  Ref<AGP> loaded = makeRef<AGP>();
  loadProject(*loaded, workFile("shop.vtp"));
  ASSERT_EQ(projectContext().lastErrorText, u"");
  saveProject(*loaded, workFile("again.vtp"));
  const std::string first = test::readFile(work() / "shop.vtp");
  const std::string second = test::readFile(work() / "again.vtp");
  EXPECT_TRUE(first == second) << test::firstDifference(first, second);

  // What a symmetric mistake of writer and reader would hide in the bytes.
  AGPTable& orders = *loaded->DB()->tables().find(u"Orders");
  EXPECT_EQ(toString(orders.fields().find(u"Name")->GetV(u"FldTagValues")),
            u"red\r\ngreen\r\nblue\nlf only");
  EXPECT_EQ(toString(loaded->GetV(u"AppHeader")), u"Line 1\r\nLine \"2\" & <3>\ttab");
  EXPECT_EQ(toString(loaded->GetV(u"BodyTitle")), u"\u00DCber \u2713 \U0001D11E");
  EXPECT_EQ(toString(loaded->GetV(u"MyExtraSetting")), u"  kept 'as' is  ");
  EXPECT_EQ(orders.charts().item(Variant(u"Sales"))->trendlines().count(), 1);
  ASSERT_EQ(scripts.entries.size(), 1u);
  EXPECT_EQ(scripts.entries[0].code, kCode);
  EXPECT_EQ(SharedLanguage().GetFieldPhrase(u"de", u"Orders", u"Placed On", u"FldCaption"),
            u"Datum");
  EXPECT_EQ(SharedMenus().Count(), 1);
  ASSERT_EQ(extensions.exts.size(), 1u);
  EXPECT_EQ(toString(*extensions.exts[0].project->findValue(u"Start")), u"x & y");
  EXPECT_EQ(toString(*extensions.exts[0].field->findValue(u"Show")), u"1");
  EXPECT_EQ(extensions.installedLoads, 0);
}

// Through the extensions subsystem the file's extensions and custom scripts come back as they
// were saved, and a second load of the same file in the thread adds no second copy of them.
TEST_F(RoundTripTest, ExtensionsAndScriptsSurviveThroughTheirSubsystem) {
  test::writeFile(work() / "exts" / "cal.xml",
                  "<Project><attribute name=\"Start\" default=\"x &amp; y\"/><Database>"
                  "<attribute name=\"D\"/><Table><attribute name=\"Rows\" type=\"Integer\" "
                  "default=\"5\"/><Field><attribute name=\"Show\" type=\"Boolean\"/></Field>"
                  "<Chart><attribute name=\"numDivLines\" type=\"Integer\"/></Chart></Table>"
                  "</Database></Project>");
  Ref<AGP> p = makeRef<AGP>();
  projectContext().extensionsFolder = exts();
  AGPDatabase& db = addDatabase(*p, u"shopdb");
  AGPTable& orders = addTable(db, u"Orders");
  orders.SetV(u"TblLoaded", u"True");
  addField(orders, u"ID");
  addChart(orders, u"Sales").SetV(u"ChartNumGridLines", u"4");
  ASSERT_TRUE(toBool(
      p->call(u"AddExtension", {Variant(u"Calendar"), Variant(u"cal.zip"), Variant(u"cal.xml")})));
  ASSERT_TRUE(toBool(p->call(u"SetExtFldAtt", {Variant(u"Calendar"), Variant(u"Orders"),
                                               Variant(u"ID"), Variant(u"Show"), Variant(true)})));
  // Scripts of the project, a table and a field.
  const char16_t* const scripts[][6] = {
      {u"Table", u"Server", u"Show", u"list", u"Orders", u""},
      {u"VB", u"Project", u"Start", u"", u"", u""},
      {u"VB", u"Field", u"Check", u"edit", u"Orders", u"ID"},
  };
  for (const auto& k : scripts) {
    ASSERT_TRUE(toBool(
        p->call(u"AddCustomScript", {Variant(k[0]), Variant(k[1]), Variant(k[2]), Variant(k[3]),
                                     Variant(k[4]), Variant(k[5]), Variant(kCode)})));
  }
  saveProject(*p, workFile("shop.vtp"));
  ASSERT_EQ(projectContext().lastErrorText, u"");

  // The first load also brings in the user's defaults, so the extension block is compared with
  // the original and the whole file with the next round's.
  for (int load = 0; load < 2; ++load) {
    if (load == 0) SetUp();  // a new session: no extensions or scripts in the thread
    Ref<AGP> loaded = makeRef<AGP>();
    projectContext().extensionsFolder = exts();
    loadProject(*loaded, workFile("shop.vtp"));
    ASSERT_EQ(projectContext().lastErrorText, u"");
    saveProject(*loaded, workFile(load == 0 ? "kept1.vtp" : "kept2.vtp"));
    EXPECT_EQ(
        toInteger(loaded->call(u"GetExtChartAtt", {Variant(u"Calendar"), Variant(u"Orders"),
                                                   Variant(u"Sales"), Variant(u"numDivLines")})),
        4);
  }
  const auto block = [](const std::string& file) {
    const std::size_t from = file.find("<Extension ");
    const std::size_t to = file.rfind("</CustomScript>");
    return from == std::string::npos || to == std::string::npos ? std::string()
                                                                : file.substr(from, to - from);
  };
  const std::string first = test::readFile(work() / "shop.vtp");
  const std::string kept1 = test::readFile(work() / "kept1.vtp");
  const std::string kept2 = test::readFile(work() / "kept2.vtp");
  EXPECT_NE(block(first), "");
  EXPECT_TRUE(block(first) == block(kept1)) << test::firstDifference(block(first), block(kept1));
  EXPECT_TRUE(kept1 == kept2) << test::firstDifference(kept1, kept2);
  EXPECT_NE(first.find("<ExtField FldName=\"ID\" Show=\"1\"/>"), std::string::npos) << first;
}

// A project of several megabytes reaches the file in many pieces as the model is walked: it
// loads back whole and saves to the same bytes; a file system that refuses the write part-way
// leaves the old file, no new backup copy and no temporary.
TEST_F(RoundTripTest, ALargeProjectIsWrittenWholeOrNotAtAll) {
  constexpr int kTables = 150;
  constexpr int kFields = 30;
  Ref<AGP> p = makeRef<AGP>();
  AGPDatabase& db = addDatabase(*p, u"wide");
  for (int t = 0; t < kTables; ++t) {
    AGPTable& table = addTable(db, u"T" + toU16(t));
    for (int f = 0; f < kFields; ++f) {
      addField(table, u"F" + toU16(f)).SetV(u"FldCaption", u"<" + toU16(f) + u"> & \"\u00E9\"");
    }
  }
  saveProject(*p, workFile("wide.vtp"));
  ASSERT_GT(std::filesystem::file_size(work() / "wide.vtp"), 4u << 20);

  // A load fills in the project's defaults; from then on a load and a save change nothing.
  const auto loadAndSave = [&](const char* from, const char* to) {
    Ref<AGP> loaded = makeRef<AGP>();
    loadProject(*loaded, workFile(from));
    EXPECT_EQ(projectContext().lastErrorText, u"");
    EXPECT_EQ(loaded->DB()->tables().count(), kTables);
    EXPECT_EQ(loaded->DB()->tables().find(u"T149")->fields().count(), kFields);
    saveProject(*loaded, workFile(to));
    return loaded;
  };
  loadAndSave("wide.vtp", "again.vtp");
  const Ref<AGP> loaded = loadAndSave("again.vtp", "wide.vtp");
  const std::string first = test::readFile(work() / "wide.vtp");
  const std::string second = test::readFile(work() / "again.vtp");
  EXPECT_TRUE(first == second) << test::firstDifference(first, second);

  const std::filesystem::path backups(toUtf8(projectContext().backupFolder));
  const std::vector<std::string> backupsBefore = test::fileNames(backups);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  const auto previous = signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = first.size() / 2;
  setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_THROW(saveProject(*loaded, workFile("wide.vtp")), AutomationError);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, previous);
  EXPECT_TRUE(test::readFile(work() / "wide.vtp") == first);
  EXPECT_EQ(test::fileNames(work()), (std::vector<std::string>{"again.vtp", "wide.vtp"}));
  EXPECT_EQ(test::fileNames(backups), backupsBefore);
}

}  // namespace
}  // namespace vantorel
