#pragma once
// AGPSettings: typed values for settings that no object declares, read from the user's custom
// settings file:
//   <zt-setting>
//     <section name="Project">
//       <setting id="MySetting" type="Boolean" value="1"/>
//     </section>
//   </zt-setting>
// Element and attribute names, section names and ids all match exactly (with case).
#include <memory>
#include <optional>
#include <string>

#include "platform/automation/expected.hpp"
#include "platform/automation/object.hpp"
#include "platform/xml/xml_document.hpp"

namespace vantorel {

class AGPSettings : public Object {
 public:
  AGPSettings();
  ~AGPSettings() override;
  const ClassInfo& classInfo() const noexcept override;

  // Re-reads the file named by the registry value "ConfigFile" under settingsKey(); shows
  // nothing. A missing or malformed file leaves no document and fails with the text the user is
  // to be told.
  Expected<> load();
  // The setting's type name ("String" when its type is empty); empty when not found.
  std::u16string LoadSettingType(const std::u16string& Section, const std::u16string& Id) const;
  // The setting's value converted by its type (ConvertSetting); Empty when not found.
  Variant LoadSettingValue(const std::u16string& Section, const std::u16string& Id) const;

  // Reads the file at a path known already, showing nothing; why it did not load, when it did
  // not, and then no document remains.
  std::optional<xml::ParseError> loadFrom(const std::u16string& path);
  bool hasDocument() const noexcept { return doc_ != nullptr; }

 private:
  struct Found {
    std::u16string type;
    std::u16string value;
  };
  bool find(const std::u16string& section, const std::u16string& id, Found& found) const;

  std::unique_ptr<xml::Document> doc_;
};

// The thread's one instance, created (and its file loaded, a failure shown) on first use.
AGPSettings& SharedSettings();

// For the entry points that load the settings file: the box that tells of a failed load.
void showSettingsLoadFailure(const Failure& failure);

}  // namespace vantorel
