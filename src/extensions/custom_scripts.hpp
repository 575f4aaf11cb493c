#pragma once
// Custom scripts: pieces of the user's own script code that the project stores for a place in
// the generated site, identified by script type, code type, name, control and two object keys
// (as a rule a table and a field). The thread's list (AGPCustomScripts, "CUSTOMSCRIPTS" to
// scripts) keeps them in the order they were added.
//
// Two scripts are the same script when type, code type, name and control match without regard
// to case and both object keys match exactly. The list stores each script under a key built by
// that same rule, so that a look-up, an addition and a re-keying can never disagree about which
// scripts collide, and keys whose parts contain "_" cannot run into one another. curName and
// Key still show the parts joined with "_".
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "foundation/model_collection.hpp"
#include "foundation/properties.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"

namespace vantorel {

struct CustomScriptKeys {
  std::u16string type, codeType, name, ctrlId, l1Key, l2Key;
};

// The parts joined with "_", empty parts kept: what curName and Key show.
std::u16string CustomScriptKey(const CustomScriptKeys& keys);

class AGPCustomScript final : public Object {
 public:
  AGPCustomScript();
  const ClassInfo& classInfo() const noexcept override;

  AGProperties& properties() const { return *properties_; }
  Ref<AGProperties> scriptProperties() const { return properties_; }
  const std::u16string& key() const noexcept { return key_; }
  void setKey(const std::u16string& key) { key_ = key; }

  std::int16_t seq() const;
  void setSeq(std::int16_t seq);
  CustomScriptKeys keys() const;
  void setKeys(const CustomScriptKeys& keys);
  std::u16string code() const;
  void setCode(const std::u16string& code);

  // The rows of the script's settings; one getter and setter per text row, for the member table.
  enum SettingRow : unsigned { kSeq, kType, kCodeType, kName, kCtrlId, kL1Key, kL2Key, kCode };
  template <unsigned Row>
  std::u16string text() const {
    return storedText(properties_->setting(Row));
  }
  template <unsigned Row>
  void setText(const std::u16string& value) {
    properties_->setting(Row) = Variant(value);
  }

 private:
  Ref<AGProperties> properties_;
  std::u16string key_;
};

class AGPCustomScripts final : public ModelCollection<AGPCustomScript> {
 public:
  AGPCustomScripts();
  const ClassInfo& classInfo() const noexcept override;

  const std::u16string& curName() const noexcept { return curName_; }
  std::u16string curSeq() const;

  // False when type, code type or name is empty. A matching script becomes current and gives
  // True; otherwise a new one without code is added. Never raises for a duplicate.
  bool add(const CustomScriptKeys& keys);
  // Moves every script whose first object key is exactly oldName to newName. A script whose
  // new keys another script holds already stays as it was, and the result is then False; the
  // others move all the same.
  bool change(const std::u16string& oldName, const std::u16string& newName);
  bool remove(const CustomScriptKeys& keys);
  bool exists(const CustomScriptKeys& keys) const { return find(storageKey(keys)) != nullptr; }
  // The matching script, made current; nullptr when none.
  AGPCustomScript* scriptItem(const CustomScriptKeys& keys);
  Ref<AGPCustomScript> seq(std::int16_t index) const;

  // The internal key of a script.
  static std::u16string storageKey(const CustomScriptKeys& keys);

  // The members as scripts call them.
  bool scriptAdd(const std::u16string& type, const std::u16string& codeType,
                 const std::u16string& name, std::optional<std::u16string> ctrlId,
                 std::optional<std::u16string> l1Key, std::optional<std::u16string> l2Key);
  bool scriptDelete(const std::u16string& type, const std::u16string& codeType,
                    const std::u16string& name, std::optional<std::u16string> ctrlId,
                    std::optional<std::u16string> l1Key, std::optional<std::u16string> l2Key);
  bool scriptExist(const std::u16string& type, const std::u16string& codeType,
                   const std::u16string& name, std::optional<std::u16string> ctrlId,
                   std::optional<std::u16string> l1Key, std::optional<std::u16string> l2Key);
  Ref<AGPCustomScript> scriptScriptItem(const std::u16string& type, const std::u16string& codeType,
                                        const std::u16string& name,
                                        std::optional<std::u16string> ctrlId,
                                        std::optional<std::u16string> l1Key,
                                        std::optional<std::u16string> l2Key);

 private:
  std::u16string curName_;
  std::int16_t curSeq_ = 0;
};

AGPCustomScripts& SharedCustomScripts();

}  // namespace vantorel
