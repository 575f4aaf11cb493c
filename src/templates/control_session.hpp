#pragma once
// AGPSession: one "session" element of a control: a named template section (SessValue) of an
// input file (SessIFile) with its kind, parameter, condition, and the merge settings an extension
// gives it.
#include <optional>
#include <string>

#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"
#include "platform/xml/xml_document.hpp"

namespace vantorel {

struct AGSessionFields {
  std::u16string SessType;
  std::u16string SessValue;
  std::u16string SessParm;
  std::u16string SessIFile;
  std::u16string SessCond;
  std::u16string SessExt;
  std::u16string SessAction;
  std::u16string SessLocation;
  std::u16string SessLocType;
};

class AGPSession final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;

#define VANTOREL_SESSION_PROPERTY(Name)         \
  const std::u16string& Name() const noexcept { \
    return f_.Name;                             \
  }                                             \
  void set##Name(const std::u16string& value) { \
    f_.Name = value;                            \
  }
  VANTOREL_SESSION_PROPERTY(SessType)
  VANTOREL_SESSION_PROPERTY(SessValue)
  VANTOREL_SESSION_PROPERTY(SessParm)
  VANTOREL_SESSION_PROPERTY(SessIFile)
  VANTOREL_SESSION_PROPERTY(SessCond)
  VANTOREL_SESSION_PROPERTY(SessExt)
  VANTOREL_SESSION_PROPERTY(SessAction)
  VANTOREL_SESSION_PROPERTY(SessLocation)
  VANTOREL_SESSION_PROPERTY(SessLocType)
#undef VANTOREL_SESSION_PROPERTY

  // Sets each property whose attribute the element has (names in any case); others stay.
  void Load(const xml::Node& element);

  const AGSessionFields& fields() const noexcept {
    return f_;
  }
  AGSessionFields& fields() noexcept {
    return f_;
  }

  // The element's attributes for the control file, in table order, empty values left out.
  void save(xml::Node& element) const;

  // Scripts hand over the element as its markup text; markup that does not parse loads nothing.
  void scriptLoad(const Variant& xmlSession);

 private:
  AGSessionFields f_;
};

}  // namespace vantorel
