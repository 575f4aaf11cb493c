#include "foundation/custom_settings.hpp"

#include <exception>
#include <optional>
#include <string>

#include "foundation/project_context.hpp"
#include "foundation/reg_values.hpp"
#include "foundation/settings_key.hpp"
#include "foundation/value_conversion.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/attributes.hpp"

namespace vantorel {

namespace {

std::u16string configFilePath() {
  try {
    const Variant value = GetRegValue(Variant(std::u16string(u"HKCU")), Variant(settingsKey()),
                                      Variant(std::u16string(u"ConfigFile")));
    if (value.isEmpty() || value.isNull()) return {};
    return toString(value);
  } catch (const std::exception&) {
    return {};  // an unreadable value counts as no file named
  }
}

}  // namespace

AGPSettings::AGPSettings() = default;
AGPSettings::~AGPSettings() = default;

const ClassInfo& AGPSettings::classInfo() const noexcept {
  return MemberTable<AGPSettings>::get(u"AGPSettings");
}

Expected<> AGPSettings::load() {
  const std::u16string path = configFilePath();
  if (loadFrom(path))
    return Failure{u"Unable to load custom setting file: '" + path + u"'. Please check."};
  return {};
}

std::optional<xml::ParseError> AGPSettings::loadFrom(const std::u16string& path) {
  doc_.reset();
  auto doc = std::make_unique<xml::Document>();
  std::optional<xml::ParseError> error = xml::parseFile(*doc, path, xml::ReadMode::Normalised);
  if (!error) doc_ = std::move(doc);
  return error;
}

bool AGPSettings::find(const std::u16string& section, const std::u16string& id,
                       Found& found) const {
  if (!doc_ || section.empty() || id.empty()) return false;
  const std::string sectionName = toUtf8(section);
  const std::string idName = toUtf8(id);
  const xml::Node root = doc_->child("zt-setting");
  for (const xml::Node s : root.children("section")) {
    if (sectionName != s.attribute("name").value()) continue;
    for (const xml::Node setting : s.children("setting")) {
      if (idName != setting.attribute("id").value()) continue;
      found.type = xml::attributeText(setting, "type");
      if (found.type.empty()) found.type = u"String";
      found.value = xml::attributeText(setting, "value");
      return true;
    }
  }
  return false;
}

std::u16string AGPSettings::LoadSettingType(const std::u16string& Section,
                                            const std::u16string& Id) const {
  Found found;
  return find(Section, Id, found) ? found.type : std::u16string();
}

Variant AGPSettings::LoadSettingValue(const std::u16string& Section,
                                      const std::u16string& Id) const {
  Found found;
  if (!find(Section, Id, found)) return Variant();
  return ConvertSetting(Variant(found.value), Variant(found.type));
}

AGPSettings& SharedSettings() {
  Ref<AGPSettings>& shared = projectContext().settings;
  if (!shared) {
    Ref<AGPSettings> settings = makeRef<AGPSettings>();
    // The first lookup loads the file, wherever it comes from, and tells of it there.
    if (Expected<> loaded = settings->load(); !loaded) showSettingsLoadFailure(loaded.failure());
    shared = settings;
  }
  return *shared;
}

}  // namespace vantorel
