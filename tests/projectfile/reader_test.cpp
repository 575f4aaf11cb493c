// The reader on hand-written project files: version and extension checks, the converter, the
// node reader's placement rules and fix-ups, its messages and its progress display.
#include <gtest/gtest.h>

#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "projectfile/project_reader.hpp"
#include "projectfile/project_test_support.hpp"
#include "support/test_files.hpp"

namespace vantorel {
namespace {

const std::string kSmallDb =
    "<Database DBName=\"d\"><Table TblName=\"T\"><Field FldName=\"F\"/></Table></Database>";

class ReaderTest : public test::ProjectFileTest {
 protected:
  std::u16string writeFile(const std::string& name, const std::string& body) {
    test::writeFile(work() / name,
                    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + body);
    return workFile(name);
  }
  static Ref<AGP> load(const std::u16string& path) {
    Ref<AGP> p = makeRef<AGP>();
    loadProject(*p, path);
    return p;
  }
  static std::u16string text(AGP& p, const std::u16string& name) { return toString(p.GetV(name)); }
  static std::u16string failed() {
    return projectContext().productTitle + u": Load Project File failed! Please check!";
  }
};

TEST(ReaderRules, VersionsAndExtensions) {
  struct Case {
    std::u16string a, b;
    std::int16_t expected;
  } versions[] = {
      {u"", u"4.0", 0},    {u"4.0.0.7", u"4.0", 0},  {u"4.1.0.2", u"4.0", 1}, {u"3.9", u"4.1", -1},
      {u"5.0", u"4.9", 2}, {u"4.0.1", u"4.0.2", -1}, {u"4.0.3", u"4.0.2", 0},
  };
  for (const Case& c : versions) EXPECT_EQ(CompareVersion(c.a, c.b), c.expected) << toUtf8(c.a);
  EXPECT_THROW(CompareVersion(u"four.0", u"4.0"), AutomationError);
  EXPECT_EQ(projectFileExtension(u"/a/b/shop.VTP"), u"VTP");
  EXPECT_EQ(projectFileExtension(u"C:\\my.projects\\shop"), std::nullopt);
  EXPECT_EQ(projectFileExtension(u"/x/shop.old.vtp"), u"vtp");
}

TEST_F(ReaderTest, ExtensionAndVersionDecideOnConversion) {
  const std::string current = "<Project Version=\"4.0.0.1\">" + kSmallDb + "</Project>";
  struct Case {
    std::string file, body;
    std::u16string message;  // the start of it
  } cases[] = {
      {"caps.VTP", current, u""},
      {"noext", current, u""},
      {"minor-newer.vtp", "<Project Version=\"4.3.0.1\">" + kSmallDb + "</Project>", u""},
      // Foreign and older files need the converter, which cannot be created.
      {"other.xml", current, failed()},
      {"older.vtp", "<Project Version=\"3.9\">" + kSmallDb + "</Project>", failed()},
      {"noversion.vtp", "<Project>" + kSmallDb + "</Project>", failed()},
      {"newer.vtp", "<Project Version=\"5.0\">" + kSmallDb + "</Project>",
       projectContext().productTitle + u": Project file version (5.0) newer than software (4.0.0."},
  };
  for (const Case& c : cases) {
    const Ref<AGP> p = load(writeFile(c.file, c.body));
    EXPECT_TRUE(projectContext().lastErrorText.starts_with(c.message) &&
                c.message.empty() == projectContext().lastErrorText.empty())
        << c.file << ": " << toUtf8(projectContext().lastErrorText);
    EXPECT_EQ(p->DB() != nullptr, c.message.empty()) << c.file;
  }
  // A "." in a folder name does not make the file foreign.
  test::writeFile(work() / "my.projects" / "shop", "\xEF\xBB\xBF" + current);
  load(fromUtf8((work() / "my.projects" / "shop").string()));
  EXPECT_EQ(projectContext().lastErrorText, u"");
}

TEST_F(ReaderTest, ModelElementsAndFixUps) {
  test::ScriptStore scripts;
  test::ExtensionStore extensions;
  const Ref<AGP> p = load(writeFile(
      "model.vtp",
      "<Project Version=\"4.0\" ProjName=\"My Shop\" Unknown=\" spaced \" AutoSync=\"0\">"
      "<Database DBDBMSName=\"MS Jet\"><TABLE tblname=\"Orders\" TblReportType=\"list\">"
      "<Chart ChartName=\"Bare\"/><Chart ChartName=\"Lines\"><Trendline "
      "TrendName=\"Only\"/></Chart>"
      "<Field FldName=\"ID\" FldType=\"3\" FldAutoIncrement=\"1\" FldAdd=\"1\" FldSupport=\"1\" "
      "FldGenerate=\"0\" FldQuoteS=\"x\"/>"
      "<Field FldName=\"When\" FldType=\"7\" FldSupport=\"0\" FldGenerate=\"1\" "
      "FldTagValues=\"a|b\"/>"
      "<Field FldName=\"Odd\" FldType=\"999\" FldQuoteS=\"~\"/><Field FldName=\"ID\" "
      "FldType=\"202\"/>"
      "</TABLE><Table TblName=\"Rpt\" TblReportType=\"List\"/><Table FldName=\"no name\"/>"
      "</Database>"
      "<customscript ScriptType=\"a\" ScriptCodeType=\"b\" "
      "ScriptName=\"c\"><![CDATA[x]]></customscript>"
      "<CustomScript ScriptType=\"a\" ScriptCodeType=\"b\" ScriptName=\"c\">"
      "<![CDATA[one]]]]><![CDATA[>two]]></CustomScript></Project>"));
  ASSERT_EQ(projectContext().lastErrorText, u"");
  EXPECT_EQ(p->DB()->dbName(), u"zt_db");
  EXPECT_EQ(text(*p, u"SmtpServer"), u"localhost");
  EXPECT_EQ(text(*p, u"SmtpServerPort"), u"25");
  EXPECT_EQ(p->ProjVar(), u"My_Shop");
  EXPECT_EQ(text(*p, u"Unknown"), u" spaced ");
  EXPECT_EQ(text(*p, u"Version"), u"4.0");

  AGPTables& tables = p->DB()->tables();
  ASSERT_EQ(tables.count(), 2);
  AGPTable& orders = *tables.find(u"Orders");
  EXPECT_EQ(orders.GetV(u"TblReportType"), u"rpt");
  EXPECT_EQ(orders.GetV(u"TblLoaded"), u"True");
  EXPECT_EQ(tables.find(u"Rpt")->GetV(u"TblReportType"), u"List");
  // A table takes its load-time defaults before the file's attributes.
  EXPECT_EQ(tables.find(u"Rpt")->GetV(u"TblCaption"), u"Rpt");
  EXPECT_EQ(tables.find(u"Rpt")->GetV(u"TblRptSrc"), u"Rpt");
  EXPECT_EQ(tables.find(u"Rpt")->GetV(u"TblSrchType"), u"BASIC");
  EXPECT_EQ(orders.charts().item(Variant(u"Bare"))->trendlines().count(), 4);
  EXPECT_EQ(orders.charts().item(Variant(u"Bare"))->trendlines().at(3).trendName(), u"Trendline4");
  EXPECT_EQ(orders.charts().item(Variant(u"Lines"))->trendlines().count(), 1);
  ASSERT_EQ(orders.fields().count(), 3);  // the second ID was skipped
  const auto field = [&](const char16_t* f, const char16_t* s) {
    return toString(orders.fields().find(f)->GetV(s));
  };
  EXPECT_EQ(field(u"ID", u"FldType"), u"3");
  EXPECT_EQ(field(u"ID", u"FldQuoteS"), u"");
  EXPECT_EQ(field(u"ID", u"FldAdd"), u"False");
  EXPECT_EQ(field(u"ID", u"FldGenerate"), u"True");
  EXPECT_EQ(field(u"ID", u"FldVar"), u"x_ID");
  EXPECT_EQ(field(u"When", u"FldQuoteE"), u"#");
  EXPECT_EQ(field(u"When", u"FldGenerate"), u"False");
  EXPECT_EQ(field(u"When", u"FldTagValues"), u"a\r\nb");
  EXPECT_EQ(field(u"Odd", u"FldQuoteS"), u"~");
  ASSERT_EQ(scripts.entries.size(), 1u);
  EXPECT_EQ(scripts.entries[0].code, u"one]]>two");
  EXPECT_EQ(extensions.installedLoads, 1);  // the file names no extensions

  const Ref<AGP> sql = load(writeFile(
      "sql.vtp",
      "<Project Version=\"4.0\"><Database DBDBMSName=\"Microsoft SQL Server\">"
      "<Table TblName=\"T\"><Field FldName=\"D\" FldType=\"7\"/></Table></Database></Project>"));
  EXPECT_EQ(toString(sql->DB()->tables().find(u"T")->fields().find(u"D")->GetV(u"FldQuoteS")),
            u"'");
}

TEST_F(ReaderTest, MessagesOfFilesThatAreNoProject) {
  struct Case {
    std::string body;
    std::u16string message;
    bool settingsRead;
  } cases[] = {
      {"<Projekt Version=\"4.0\" ProjName=\"P\"/>",
       projectContext().productTitle + u": Invalid Project File!", false},
      {"<Project Version=\"4.0\" ProjName=\"P\"/>",
       projectContext().productTitle + u": No Database Information in Project File!", true},
      {"<Project Version=\"4.0\" ProjName=\"P\">" + kSmallDb +
           "<CustomScript ScriptType=\"a\" ScriptCodeType=\"b\" "
           "ScriptName=\"c\">code</CustomScript>"
           "</Project>",
       failed(), true},
  };
  test::ScriptStore scripts;
  for (const Case& c : cases) {
    const Ref<AGP> p = load(writeFile("msg.vtp", c.body));
    EXPECT_EQ(projectContext().lastErrorText, c.message) << c.body;
    EXPECT_EQ(text(*p, u"ProjName") == u"P", c.settingsRead) << c.body;
  }
}

// Bytes that are not UTF-8 used to become U+FFFD without a word, and the next save made the loss
// permanent. The declared encoding is honoured; undeclared invalid bytes refuse the load.
TEST_F(ReaderTest, EncodingIsHonouredAndInvalidBytesRefused) {
  const std::string body =
      "<Project Version=\"4.0\" ProjName=\"Caf\xE9\">" + kSmallDb + "</Project>";
  struct Case {
    const char* what;
    std::string bytes;
    std::u16string message;  // empty: loads
    std::u16string name;
  } cases[] = {
      {"windows-1252", "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n" + body, u"",
       u"Caf\u00E9"},
      {"ISO-8859-1", "<?xml version='1.0' encoding='ISO-8859-1'?>" + body, u"", u"Caf\u00E9"},
      {"UTF-8, valid",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Project Version=\"4.0\" "
       "ProjName=\"Caf\xC3\xA9\">" +
           kSmallDb + "</Project>",
       u"", u"Caf\u00E9"},
      {"undeclared Latin-1", body, failed() + u"\r\nline 1, column 37: invalid UTF-8 byte sequence",
       u""},
      {"declared UTF-8, Latin-1 bytes",
       "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + body,
       failed() + u"\r\nline 2, column 37: invalid UTF-8 byte sequence", u""},
      {"unknown encoding", "<?xml version=\"1.0\" encoding=\"x-nothing\"?>" + body,
       failed() + u"\r\nunsupported encoding \"x-nothing\"", u""},
  };
  for (const Case& c : cases) {
    test::writeFile(work() / "enc.vtp", c.bytes);
    const Ref<AGP> p = load(workFile("enc.vtp"));
    EXPECT_EQ(projectContext().lastErrorText, c.message) << c.what;
    if (c.message.empty()) {
      EXPECT_EQ(text(*p, u"ProjName"), c.name) << c.what;
    }
  }
}

// A named template set that is missing keeps its name: the user's default set standing in would
// overwrite the site with foreign pages, and the next save would make the swap for good. Only a
// project that names no set takes the user's default.
TEST_F(ReaderTest, AMissingTemplateSetKeepsItsName) {
  const std::string missing = (work() / "gone" / "set.zip").string();
  const Ref<AGP> named =
      load(writeFile("named.vtp", "<Project Version=\"4.0\" Template=\"" + missing + "\">" +
                                      kSmallDb + "</Project>"));
  EXPECT_EQ(toUtf8(projectContext().lastErrorText), "");
  EXPECT_EQ(toUtf8(text(*named, u"Template")), missing);
  const Ref<AGP> unnamed = load(writeFile(
      "unnamed.vtp", "<Project Version=\"4.0\" Template=\"\">" + kSmallDb + "</Project>"));
  EXPECT_EQ(text(*unnamed, u"Template"),
            toString(GetRegValue(u"HKCU", projectContext().projectKey, u"Template")));
}

TEST_F(ReaderTest, ProgressFollowsTheTables) {
  const Ref<AGP> p = load(writeFile("progress.vtp",
                                    "<Project Version=\"4.0\"><Database><Table "
                                    "TblName=\"A\"/><Table TblName=\"B\"/></Database></Project>"));
  using Kind = ui::RecordingBackend::Event::Kind;
  std::vector<std::string> seen;
  for (const auto& e : ui_->events()) {
    if (e.kind == Kind::Opened || e.kind == Kind::Status) seen.push_back(toUtf8(e.text));
    if (e.kind == Kind::Percent) seen.push_back(std::to_string(e.percent) + "%");
    if (e.kind == Kind::Closed) seen.push_back("closed");
  }
  EXPECT_EQ(seen,
            (std::vector<std::string>{"Loading Project File...", "Loading TABLE/VIEW \"A\"...",
                                      "50%", "Loading TABLE/VIEW \"B\"...", "100%", "closed"}));
}

TEST_F(ReaderTest, SettingADeletedRowIsDeclaredAgain) {
  Ref<AGP> p = makeRef<AGP>();
  ASSERT_TRUE(p->properties().remove(u"AppHeader"));
  ASSERT_TRUE(p->properties().add(u"Extra"));  // as many settings as the catalog has rows
  loadProject(*p, writeFile("thin.vtp", "<Project Version=\"4.0\" AppHeader=\"again\">" + kSmallDb +
                                            "</Project>"));
  EXPECT_EQ(projectContext().lastErrorText, u"");
  EXPECT_EQ(text(*p, u"AppHeader"), u"again");
}

// Whole numbers are read without text in between; every text, whole number or not, must come out
// as the general conversion of that text to the setting's type makes it.
TEST_F(ReaderTest, NumbersComeOutAsTheGeneralConversionMakesThem) {
  const char* const texts[] = {"0",      "7",      "-2",     "007",     "32767", "32768",
                               "-32768", "-32769", "999999", "1234567", "-0",    "+5",
                               " 5",     "5.5",    "1e3",    "&#x31;2", "--1",   "-"};
  const auto expected = [](SettingType type, const std::u16string& text) {
    try {
      const Variant v(text);
      if (type == SettingType::Integer) return Variant(toInteger(v));
      if (type == SettingType::Long) return Variant(toLong(v));
      return Variant(toDouble(v));
    } catch (const std::exception&) {
      return Variant();
    }
  };
  for (const char* written : texts) {
    const std::string t = written;
    const Ref<AGP> p = load(
        writeFile("n.vtp",
                  "<Project Version=\"4.0\"><Database><Table TblName=\"T\"><Field FldName=\"F\" "
                  "FldTagSize=\"" +
                      t + "\" FldSize=\"" + t +
                      "\"/><Chart ChartName=\"C\">"
                      "<Trendline TrendName=\"L\" TrendStartValue=\"" +
                      t +
                      "\"/></Chart></Table>"
                      "</Database></Project>"));
    ASSERT_EQ(projectContext().lastErrorText, u"") << written;
    AGPTable& table = *p->DB()->tables().find(u"T");
    const std::u16string text = fromUtf8(t == "&#x31;2" ? "12" : t);
    const AGProperties& field = table.fields().find(u"F")->properties();
    const AGProperties& trend = table.charts().item(Variant(u"C"))->trendlines().at(0).properties();
    const struct {
      const Variant* got;
      SettingType type;
    } read[] = {{field.findValue(u"FldTagSize"), SettingType::Integer},
                {field.findValue(u"FldSize"), SettingType::Long},
                {trend.findValue(u"TrendStartValue"), SettingType::Double}};
    for (const auto& r : read) {
      const Variant want = expected(r.type, text);
      ASSERT_NE(r.got, nullptr);
      EXPECT_EQ(r.got->type(), want.type()) << written;
      EXPECT_TRUE(r.got->isEmpty() || toString(*r.got) == toString(want)) << written;
    }
  }
}

}  // namespace
}  // namespace vantorel
