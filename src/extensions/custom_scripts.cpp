#include "extensions/custom_scripts.hpp"

#include "foundation/project_context.hpp"
#include "model/model_items.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/text/case_fold.hpp"

namespace vantorel {

namespace {

const SettingCatalog& scriptCatalog() {
  static const SettingCatalog catalog{
      {u"Seq", u"Integer", false, 0, false, false},
      {u"ScriptType", u"String", false, 0, true, true},
      {u"ScriptCodeType", u"String", false, 0, true, true},
      {u"ScriptName", u"String", false, 0, true, true},
      {u"ScriptCtrlID", u"String", false, 0, true, true},
      {u"ScriptL1Key", u"String", false, 0, true, true},
      {u"ScriptL2Key", u"String", false, 0, true, true},
      {u"ScriptCode", u"String", false, 0, false, true},
  };
  return catalog;
}

// Each part behind its length, so that no text of one part can pass for a separator.
void appendPart(std::u16string& key, std::u16string_view part) {
  const std::string digits = std::to_string(part.size());
  key.append(digits.begin(), digits.end());
  key.push_back(u':');
  key.append(part);
}

CustomScriptKeys keysOf(const std::u16string& type, const std::u16string& codeType,
                        const std::u16string& name, const std::optional<std::u16string>& ctrlId,
                        const std::optional<std::u16string>& l1Key,
                        const std::optional<std::u16string>& l2Key) {
  return {type,
          codeType,
          name,
          ctrlId.value_or(std::u16string()),
          l1Key.value_or(std::u16string()),
          l2Key.value_or(std::u16string())};
}

bool refused(const CustomScriptKeys& keys) {
  return keys.type.empty() || keys.codeType.empty() || keys.name.empty();
}

}  // namespace

std::u16string CustomScriptKey(const CustomScriptKeys& k) {
  return k.type + u"_" + k.codeType + u"_" + k.name + u"_" + k.ctrlId + u"_" + k.l1Key + u"_" +
         k.l2Key;
}

// ---- AGPCustomScript ----

AGPCustomScript::AGPCustomScript() : properties_(makeRef<AGProperties>(scriptCatalog())) {}

const ClassInfo& AGPCustomScript::classInfo() const noexcept {
  return MemberTable<AGPCustomScript>::get(u"AGPCustomScript");
}

std::int16_t AGPCustomScript::seq() const {
  return storedSeq(properties_->setting(kSeq));
}

void AGPCustomScript::setSeq(std::int16_t seq) {
  properties_->setting(kSeq) = Variant(seq);
}

CustomScriptKeys AGPCustomScript::keys() const {
  return {text<kType>(),   text<kCodeType>(), text<kName>(),
          text<kCtrlId>(), text<kL1Key>(),    text<kL2Key>()};
}

void AGPCustomScript::setKeys(const CustomScriptKeys& keys) {
  setText<kType>(keys.type);
  setText<kCodeType>(keys.codeType);
  setText<kName>(keys.name);
  setText<kCtrlId>(keys.ctrlId);
  setText<kL1Key>(keys.l1Key);
  setText<kL2Key>(keys.l2Key);
}

std::u16string AGPCustomScript::code() const {
  return text<kCode>();
}

void AGPCustomScript::setCode(const std::u16string& code) {
  setText<kCode>(code);
}

// ---- AGPCustomScripts ----

AGPCustomScripts::AGPCustomScripts() {
  // The storage key carries its own case rule.
  items().setCompareMode(0);
}

const ClassInfo& AGPCustomScripts::classInfo() const noexcept {
  return MemberTable<AGPCustomScripts>::get(u"AGPCustomScripts");
}

std::u16string AGPCustomScripts::storageKey(const CustomScriptKeys& k) {
  std::u16string key;
  appendPart(key, toLower(k.type));
  appendPart(key, toLower(k.codeType));
  appendPart(key, toLower(k.name));
  appendPart(key, toLower(k.ctrlId));
  appendPart(key, k.l1Key);
  appendPart(key, k.l2Key);
  return key;
}

std::u16string AGPCustomScripts::curSeq() const {
  return seqText(curSeq_);
}

bool AGPCustomScripts::add(const CustomScriptKeys& keys) {
  if (refused(keys)) return false;
  if (scriptItem(keys)) {
    curName_ = CustomScriptKey(keys);
    return true;
  }
  const std::int16_t seq = nextSeq(count());
  auto script = makeRef<AGPCustomScript>();
  script->setKeys(keys);
  append(script, storageKey(keys));
  script->setSeq(seq);
  curName_ = CustomScriptKey(keys);
  curSeq_ = seq;
  return true;
}

bool AGPCustomScripts::change(const std::u16string& oldName, const std::u16string& newName) {
  if (oldName.empty() || newName.empty()) return false;
  if (oldName == newName) return true;
  bool allMoved = true;
  for (std::int32_t i = 0; i < count(); ++i) {
    AGPCustomScript& script = at(static_cast<std::size_t>(i));
    CustomScriptKeys keys = script.keys();
    if (keys.l1Key != oldName) continue;
    const std::u16string oldKey = storageKey(keys);
    keys.l1Key = newName;
    const std::u16string newKey = storageKey(keys);
    if (find(newKey)) {
      allMoved = false;
      continue;
    }
    items().changeKey(oldKey, newKey);
    script.setText<AGPCustomScript::kL1Key>(newName);
    script.setKey(CustomScriptKey(keys));
  }
  return allMoved;
}

bool AGPCustomScripts::remove(const CustomScriptKeys& keys) {
  if (refused(keys)) return false;
  AGPCustomScript* script = scriptItem(keys);
  if (!script) return false;
  Ref<AGPCustomScript> hold(script);
  closeSeqGap(script->seq(), &AGPCustomScript::seq, [](AGPCustomScript& s, std::int16_t n) {
    ignoringErrors([&] { s.setSeq(lowerSeq(n)); });
  });
  removeItem(*script);
  return true;
}

AGPCustomScript* AGPCustomScripts::scriptItem(const CustomScriptKeys& keys) {
  AGPCustomScript* script = find(storageKey(keys));
  if (!script) return nullptr;
  curSeq_ = script->seq();
  curName_ = CustomScriptKey(keys);
  return script;
}

Ref<AGPCustomScript> AGPCustomScripts::seq(std::int16_t index) const {
  return Ref<AGPCustomScript>(firstWithSeq(index, &AGPCustomScript::seq));
}

bool AGPCustomScripts::scriptAdd(const std::u16string& type, const std::u16string& codeType,
                                 const std::u16string& name, std::optional<std::u16string> ctrlId,
                                 std::optional<std::u16string> l1Key,
                                 std::optional<std::u16string> l2Key) {
  return add(keysOf(type, codeType, name, ctrlId, l1Key, l2Key));
}

bool AGPCustomScripts::scriptDelete(const std::u16string& type, const std::u16string& codeType,
                                    const std::u16string& name,
                                    std::optional<std::u16string> ctrlId,
                                    std::optional<std::u16string> l1Key,
                                    std::optional<std::u16string> l2Key) {
  return remove(keysOf(type, codeType, name, ctrlId, l1Key, l2Key));
}

bool AGPCustomScripts::scriptExist(const std::u16string& type, const std::u16string& codeType,
                                   const std::u16string& name, std::optional<std::u16string> ctrlId,
                                   std::optional<std::u16string> l1Key,
                                   std::optional<std::u16string> l2Key) {
  return exists(keysOf(type, codeType, name, ctrlId, l1Key, l2Key));
}

Ref<AGPCustomScript> AGPCustomScripts::scriptScriptItem(const std::u16string& type,
                                                        const std::u16string& codeType,
                                                        const std::u16string& name,
                                                        std::optional<std::u16string> ctrlId,
                                                        std::optional<std::u16string> l1Key,
                                                        std::optional<std::u16string> l2Key) {
  return Ref<AGPCustomScript>(scriptItem(keysOf(type, codeType, name, ctrlId, l1Key, l2Key)));
}

AGPCustomScripts& SharedCustomScripts() {
  return sharedObject<AGPCustomScripts>(projectContext().customScripts);
}

}  // namespace vantorel
