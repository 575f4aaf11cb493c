#include "foundation/custom_settings.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "foundation/reg_values.hpp"
#include "foundation/settings_key.hpp"
#include "foundation/variant_description.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/unicode.hpp"
#include "platform/ui/recording_backend.hpp"
#include "platform/ui/ui.hpp"
#include "support/temp_home.hpp"

namespace vantorel {
namespace {

using Kind = ui::RecordingBackend::Event::Kind;
using test::describe;

const char kSettingsFile[] = R"(<?xml version="1.0"?>
<zt-setting>
  <section name="Project">
    <setting id="Plain" value="&quot;quoted&quot;"/>
    <setting id="Empty" type="" value="'x'"/>
    <setting id="Flag" type="Boolean" value="1"/>
    <setting id="Count" type="Integer" value="many"/>
    <setting id="Size" type="Long" value="70000"/>
    <setting id="Ratio" type="double" value="0.25"/>
    <setting id="Odd" type="Date" value="3/5/2009"/>
    <setting id="Plain" value="second"/>
  </section>
  <section name="project">
    <setting id="Lower" value="lower"/>
  </section>
  <section name="Project">
    <setting id="Plain" value="later section"/>
    <setting id="Late" type="Long" value="7"/>
  </section>
  <Section name="Project"><setting id="Hidden" value="h"/></Section>
</zt-setting>
)";

class CustomSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::setBackendForTesting(rec); }
  void TearDown() override { ui::setBackendForTesting(nullptr); }

  std::u16string write(const std::string& name, const std::string& text) {
    const auto p = dir.path() / name;
    std::ofstream(p, std::ios::binary) << text;
    return fs::fromNative(p);
  }
  std::vector<std::u16string> boxTexts() const {
    std::vector<std::u16string> out;
    for (const auto& e : rec->events(Kind::Asked)) out.push_back(e.question.text);
    return out;
  }

  std::shared_ptr<ui::RecordingBackend> rec = std::make_shared<ui::RecordingBackend>();
  test::TempDir dir;
  Ref<AGPSettings> settings = makeRef<AGPSettings>();
};

TEST_F(CustomSettingsTest, Lookups) {
  settings->loadFrom(write("s.xml", kSettingsFile));
  ASSERT_TRUE(settings->hasDocument());
  struct Case {
    const char16_t* section;
    const char16_t* id;
    const char* type;
    const char* value;
  };
  const Case cases[] = {
      {u"Project", u"Plain", "String", "String:quoted"},
      {u"Project", u"Empty", "String", "String:x"},
      {u"Project", u"Flag", "Boolean", "Boolean:True"},
      {u"Project", u"Count", "Integer", "Empty"},
      {u"Project", u"Size", "Long", "Long:70000"},
      {u"Project", u"Ratio", "double", "Double:0.25"},
      {u"Project", u"Odd", "Date", "String:3/5/2009"},
      {u"Project", u"Late", "Long", "Long:7"},  // found in the later section of the same name
      {u"project", u"Plain", "", "Empty"},      // section names match with case
      {u"project", u"Lower", "String", "String:lower"},
      {u"Project", u"plain", "", "Empty"},
      {u"Project", u"Missing", "", "Empty"},
      {u"Project", u"Hidden", "", "Empty"},  // element names match with case
      {u"", u"Plain", "", "Empty"},
      {u"Project", u"", "", "Empty"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.section) + "/" + toUtf8(c.id));
    EXPECT_EQ(toUtf8(settings->LoadSettingType(c.section, c.id)), c.type);
    EXPECT_EQ(describe(settings->LoadSettingValue(c.section, c.id)), c.value);
  }
  // Scripts reach the same members by name.
  EXPECT_EQ(describe(settings->call(u"LoadSettingValue", {Variant(std::u16string(u"Project")),
                                                          Variant(std::u16string(u"Flag"))})),
            "Boolean:True");
  EXPECT_TRUE(boxTexts().empty());

  // Another root element: a document, but no sections and no message.
  settings->loadFrom(write("o.xml",
                           "<settings><section name='Project'>"
                           "<setting id='Flag' value='1'/></section></settings>"));
  EXPECT_TRUE(settings->hasDocument());
  EXPECT_EQ(settings->LoadSettingType(u"Project", u"Flag"), u"");
  EXPECT_TRUE(boxTexts().empty());
}

TEST_F(CustomSettingsTest, UnloadableFilesShowTheMessageAndFindNothing) {
  const std::u16string good = write("good.xml", kSettingsFile);
  const std::u16string paths[] = {
      u"",
      fs::fromNative(dir.path() / "missing.xml"),
      write("empty.xml", ""),
      write("broken.xml", "<zt-setting><section name='Project'>"),
      fs::fromNative(dir.path()),
  };
  for (const std::u16string& path : paths) {
    settings->loadFrom(good);
    ASSERT_TRUE(settings->hasDocument());
    rec->clearEvents();
    // The box comes from LoadSettings, which reads the file the registry names.
    SetRegValue(Variant(std::u16string(u"HKCU")), Variant(settingsKey()),
                Variant(std::u16string(u"ConfigFile")), kRegSz, Variant(path));
    EXPECT_FALSE(settings->call(u"LoadSettings", {}).boolValue());
    EXPECT_FALSE(settings->hasDocument());
    EXPECT_EQ(settings->LoadSettingType(u"Project", u"Flag"), u"");
    EXPECT_TRUE(settings->LoadSettingValue(u"Project", u"Flag").isEmpty());
    ASSERT_EQ(boxTexts().size(), 1u);
    EXPECT_EQ(boxTexts()[0], u"Unable to load custom setting file: '" + path + u"'. Please check.");
    EXPECT_EQ(rec->events(Kind::Asked)[0].question.buttons,
              std::vector<ui::Answer>{ui::Answer::OK});
  }
}

TEST_F(CustomSettingsTest, TheLoaderItselfShowsNothing) {
  const std::u16string missing = fs::fromNative(dir.path() / "missing.xml");
  SetRegValue(Variant(std::u16string(u"HKCU")), Variant(settingsKey()),
              Variant(std::u16string(u"ConfigFile")), kRegSz, Variant(missing));
  const Expected<> loaded = settings->load();
  ASSERT_FALSE(loaded.ok());
  EXPECT_EQ(loaded.failure().text,
            u"Unable to load custom setting file: '" + missing + u"'. Please check.");
  SetRegValue(Variant(std::u16string(u"HKCU")), Variant(settingsKey()),
              Variant(std::u16string(u"ConfigFile")), kRegSz,
              Variant(write("good.xml", kSettingsFile)));
  EXPECT_TRUE(settings->load().ok());
  EXPECT_TRUE(boxTexts().empty());
}

TEST_F(CustomSettingsTest, SharedInstanceReadsTheRegistryOnce) {
  const std::u16string path = write("shared.xml", kSettingsFile);
  std::thread([&] {
    SetRegValue(Variant(std::u16string(u"HKCU")), Variant(settingsKey()),
                Variant(std::u16string(u"ConfigFile")), kRegSz, Variant(path));
    EXPECT_EQ(describe(SharedSettings().LoadSettingValue(u"Project", u"Size")), "Long:70000");
    EXPECT_EQ(&SharedSettings(), &SharedSettings());
    // The file is read at creation only, until LoadSettings asks again.
    std::filesystem::remove(std::filesystem::path(toUtf8(path)));
    EXPECT_EQ(describe(SharedSettings().LoadSettingValue(u"Project", u"Size")), "Long:70000");
    EXPECT_FALSE(SharedSettings().call(u"LoadSettings", {}).boolValue());
    EXPECT_TRUE(SharedSettings().LoadSettingValue(u"Project", u"Size").isEmpty());
  }).join();
  ASSERT_EQ(boxTexts().size(), 1u);
  EXPECT_EQ(settingsKey(), u"Software\\Vantorel\\4.0\\Settings");
}

TEST_F(CustomSettingsTest, RandomAndTruncatedFilesNeverCrash) {
  const std::string valid = kSettingsFile;
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    std::string text = valid.substr(0, rng() % (valid.size() + 1));
    for (int i = static_cast<int>(rng() % 4); i > 0 && !text.empty(); --i) {
      text[rng() % text.size()] = static_cast<char>(rng() % 256);
    }
    settings->loadFrom(write("fuzz.xml", text));
    const std::u16string type = settings->LoadSettingType(u"Project", u"Flag");
    const Variant value = settings->LoadSettingValue(u"Project", u"Flag");
    if (!settings->hasDocument()) {
      EXPECT_EQ(type, u"");
      EXPECT_TRUE(value.isEmpty());
    }
  }
}

}  // namespace
}  // namespace vantorel
