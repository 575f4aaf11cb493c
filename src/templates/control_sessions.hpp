#pragma once
// AGPSessions: the sessions of one control in document order, keyed (exactly) by SessValue.
// Extensions insert theirs next to a named session and change or delete existing ones.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"
#include "platform/xml/xml_document.hpp"
#include "templates/control_session.hpp"

namespace vantorel {

class AGPSessions final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;

  // Appends one session per "session" child (any case) of a control element.
  void Load(const xml::Node& control);
  // Inserts a copy of the session in front of the first whose SessValue is loc, behind it when
  // loctype is "after", else at the end. Always true.
  bool AddSession(const Ref<AGPSession>& session, const std::u16string& loc,
                  const std::u16string& loctype);
  bool ChangeSession(const std::u16string& sValue, const Ref<AGPSession>& session);
  bool DeleteSession(const std::u16string& sValue);
  bool SessionExist(const std::u16string& sValue) const;
  std::int32_t Count() const noexcept { return static_cast<std::int32_t>(items_.size()); }
  // Nothing outside 1..Count.
  Ref<AGPSession> Item(std::int16_t Index) const;

  const std::vector<Ref<AGPSession>>& items() const noexcept { return items_; }

  Variant scriptLoad(const Variant& xmlControl);

 private:
  std::optional<std::size_t> find(const std::u16string& sValue) const;
  // The count is a 16-bit Integer to scripts; past it an insert raises overflow.
  void checkRoom() const;

  std::vector<Ref<AGPSession>> items_;
};

}  // namespace vantorel
