#include "templates/control_sessions.hpp"

#include <limits>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/xml/attributes.hpp"

namespace vantorel {

const ClassInfo& AGPSessions::classInfo() const noexcept {
  return MemberTable<AGPSessions>::get(u"AGPSessions");
}

void AGPSessions::checkRoom() const {
  if (items_.size() >= static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) {
    raiseVbError(vberr::kOverflow);
  }
}

void AGPSessions::Load(const xml::Node& control) {
  for (const xml::Node child : control.children()) {
    if (!xml::isElementNamed(child, u"session")) continue;
    checkRoom();
    auto session = makeRef<AGPSession>();
    session->Load(child);
    items_.push_back(std::move(session));
  }
}

Variant AGPSessions::scriptLoad(const Variant& xmlControl) {
  if (!xmlControl.isString()) return Variant();
  xml::Document doc;
  if (const xml::Node element = xml::parseElementMarkup(doc, xmlControl.stringValue())) {
    Load(element);
  }
  return Variant();
}

std::optional<std::size_t> AGPSessions::find(const std::u16string& sValue) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i]->SessValue() == sValue) return i;
  }
  return std::nullopt;
}

bool AGPSessions::AddSession(const Ref<AGPSession>& session, const std::u16string& loc,
                             const std::u16string& loctype) {
  if (!session) raiseVbError(vberr::kObjectVariableNotSet);
  checkRoom();
  std::size_t position = items_.size();
  if (const std::optional<std::size_t> at = find(loc))
    position = *at + (loctype == u"after" ? 1 : 0);
  auto copy = makeRef<AGPSession>();
  const AGSessionFields& from = session->fields();
  AGSessionFields& to = copy->fields();
  to.SessType = from.SessType;
  to.SessValue = from.SessValue;
  // The compiler reads the parameter of every session (an include passes it on); a merged
  // session without it would silently lose it.
  to.SessParm = from.SessParm;
  to.SessIFile = from.SessIFile;
  to.SessCond = from.SessCond;
  to.SessExt = from.SessExt;
  to.SessAction = from.SessAction;
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(position), std::move(copy));
  return true;
}

bool AGPSessions::ChangeSession(const std::u16string& sValue, const Ref<AGPSession>& session) {
  if (!session) raiseVbError(vberr::kObjectVariableNotSet);
  const std::optional<std::size_t> at = find(sValue);
  if (!at) return false;
  AGSessionFields& target = items_[*at]->fields();
  const AGSessionFields& from = session->fields();
  if (!from.SessIFile.empty()) target.SessIFile = from.SessIFile;
  if (!from.SessCond.empty()) target.SessCond = from.SessCond;
  target.SessExt = from.SessExt;
  target.SessAction = from.SessAction;
  return true;
}

bool AGPSessions::DeleteSession(const std::u16string& sValue) {
  const std::optional<std::size_t> at = find(sValue);
  if (!at) return false;
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(*at));
  return true;
}

bool AGPSessions::SessionExist(const std::u16string& sValue) const {
  return find(sValue).has_value();
}

Ref<AGPSession> AGPSessions::Item(std::int16_t Index) const {
  if (Index < 1 || Index > Count()) return nullptr;
  return items_[static_cast<std::size_t>(Index - 1)];
}

}  // namespace vantorel
