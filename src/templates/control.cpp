#include "templates/control.hpp"

#include <string_view>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/attributes.hpp"

namespace vantorel {

namespace {

struct ControlAttribute {
  std::u16string_view name;  // lower case
  const char* xmlName;
  std::u16string AGControlFields::*text = nullptr;
  bool AGControlFields::*flag = nullptr;
};

constexpr ControlAttribute kAttributes[] = {
    {u"id", "id", &AGControlFields::CtrlID},
    {u"type", "type", &AGControlFields::CtrlType},
    {u"ifiles", "ifiles", &AGControlFields::CtrlIFiles},
    {u"ifolder", "ifolder", &AGControlFields::CtrlIFolder},
    {u"ofile", "ofile", &AGControlFields::CtrlOFile},
    {u"ofilecompat", "ofilecompat", &AGControlFields::CtrlOFileCompat},
    {u"oext", "oext", &AGControlFields::CtrlOExt},
    {u"ofolder", "ofolder", &AGControlFields::CtrlOFolder},
    {u"ofolderid", "ofolderid", &AGControlFields::CtrlOFolderID},
    {u"cond", "cond", &AGControlFields::CtrlCond},
    {u"tagext", "tagext", &AGControlFields::CtrlTagExt},
    {u"parm", "parm", &AGControlFields::CtrlParm},
    {u"space", "space", nullptr, &AGControlFields::CtrlSpace},
    {u"extension", "extension", &AGControlFields::CtrlExt},
    {u"action", "action", &AGControlFields::CtrlAction},
    {u"overwrite", "overwrite", nullptr, &AGControlFields::CtrlOverwrite},
    {u"remark", "remark", &AGControlFields::CtrlRemark},
};

}  // namespace

namespace templates {

std::u16string normalizeInputFolder(std::u16string_view folder) {
  std::u16string out = replaceAll(folder, u"/", u"\\");
  if (out.find_first_not_of(u'\\') == std::u16string::npos) return {};
  if (out.front() == u'\\') out.erase(0, 1);
  if (out.back() != u'\\') out.push_back(u'\\');
  return out;
}

}  // namespace templates

AGPControl::AGPControl() : sessions_(makeRef<AGPSessions>()) {}

const ClassInfo& AGPControl::classInfo() const noexcept {
  return MemberTable<AGPControl>::get(u"AGPControl");
}

Expected<> AGPControl::Load(const xml::Node& element) {
  AGControlFields loaded = f_;
  loaded.CtrlCond.clear();
  loaded.CtrlSpace = true;
  loaded.CtrlOverwrite = true;
  for (const xml::Attribute attribute : element.attributes()) {
    const std::u16string name = toLower(xml::nameOf(attribute));
    for (const ControlAttribute& a : kAttributes) {
      if (a.name != name) continue;
      const std::u16string value = xml::valueOf(attribute);
      if (a.flag) {
        const std::optional<bool> flag = xml::booleanText(value);
        if (!flag) {
          return Failure{u"the attribute \"" + std::u16string(a.name) + u"\" of control \"" +
                         loaded.CtrlID + u"\" is \"" + value +
                         u"\", neither true, false nor a number"};
        }
        loaded.*a.flag = *flag;
      } else if (a.text == &AGControlFields::CtrlIFolder) {
        loaded.CtrlIFolder = templates::normalizeInputFolder(value);
      } else {
        loaded.*a.text = value;
      }
    }
  }
  f_ = std::move(loaded);
  sessions_->Load(element);
  return {};
}

void AGPControl::save(xml::Node& element) const {
  for (const ControlAttribute& a : kAttributes) {
    if (a.flag) {
      // Both flags are true unless the file says otherwise.
      if (!(f_.*a.flag)) element.append_attribute(a.xmlName) = "false";
      continue;
    }
    const std::u16string& value = f_.*a.text;
    if (!value.empty() || a.name == u"id" || a.name == u"type") {
      element.append_attribute(a.xmlName) = toUtf8(value).c_str();
    }
  }
  for (const Ref<AGPSession>& session : sessions_->items()) {
    xml::Node child = element.append_child("session");
    session->save(child);
  }
}

void AGPControl::scriptLoad(const Variant& xmlControl) {
  if (!xmlControl.isString()) return;
  xml::Document doc;
  const xml::Node element = xml::parseElementMarkup(doc, xmlControl.stringValue());
  if (!element) return;
  if (Expected<> filled = Load(element); !filled) {
    raiseVbError(vberr::kTypeMismatch, std::move(filled.failure().text));
  }
}

}  // namespace vantorel
