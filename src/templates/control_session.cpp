#include "templates/control_session.hpp"

#include <string_view>

#include "platform/automation/class_info.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/unicode.hpp"
#include "platform/xml/attributes.hpp"

namespace vantorel {

namespace {

struct SessionAttribute {
  std::u16string_view name;  // lower case
  const char* xmlName;
  std::u16string AGSessionFields::*field;
};

constexpr SessionAttribute kAttributes[] = {
    {u"type", "type", &AGSessionFields::SessType},
    {u"value", "value", &AGSessionFields::SessValue},
    {u"parm", "parm", &AGSessionFields::SessParm},
    {u"ifile", "ifile", &AGSessionFields::SessIFile},
    {u"cond", "cond", &AGSessionFields::SessCond},
    {u"extension", "extension", &AGSessionFields::SessExt},
    {u"action", "action", &AGSessionFields::SessAction},
    {u"location", "location", &AGSessionFields::SessLocation},
    {u"loctype", "loctype", &AGSessionFields::SessLocType},
};

}  // namespace

const ClassInfo& AGPSession::classInfo() const noexcept {
  return MemberTable<AGPSession>::get(u"AGPSession");
}

void AGPSession::Load(const xml::Node& element) {
  for (const xml::Attribute attribute : element.attributes()) {
    const std::u16string name = toLower(xml::nameOf(attribute));
    for (const SessionAttribute& a : kAttributes) {
      if (a.name == name) f_.*a.field = xml::valueOf(attribute);
    }
  }
}

void AGPSession::save(xml::Node& element) const {
  for (const SessionAttribute& a : kAttributes) {
    const std::u16string& value = f_.*a.field;
    if (!value.empty()) element.append_attribute(a.xmlName) = toUtf8(value).c_str();
  }
}

void AGPSession::scriptLoad(const Variant& xmlSession) {
  xml::Document doc;
  if (!xmlSession.isString()) return;
  const xml::Node element = xml::parseElementMarkup(doc, xmlSession.stringValue());
  if (element) Load(element);
}

}  // namespace vantorel
