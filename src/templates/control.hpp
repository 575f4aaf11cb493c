#pragma once
// AGPControl: one "control" element of a template set's control file: what one output (or group
// of outputs) is made from, where it goes, when it runs, and its sessions.
#include <string>

#include "platform/automation/expected.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"
#include "platform/xml/xml_document.hpp"
#include "templates/control_sessions.hpp"

namespace vantorel {

struct AGControlFields {
  std::u16string CtrlID;
  std::u16string CtrlType;
  std::u16string CtrlOFile;
  std::u16string CtrlOFileCompat;
  std::u16string CtrlOExt;
  std::u16string CtrlOFolder;
  std::u16string CtrlOFolderID;
  std::u16string CtrlIFiles;
  std::u16string CtrlIFolder;
  std::u16string CtrlCond;
  std::u16string CtrlTagExt;
  std::u16string CtrlParm;
  bool CtrlSpace = false;
  bool CtrlGen = false;
  std::u16string CtrlExt;
  std::u16string CtrlAction;
  bool CtrlOverwrite = false;
  std::u16string CtrlRemark;
};

class AGPControl final : public Object {
 public:
  AGPControl();
  const ClassInfo& classInfo() const noexcept override;

  Ref<AGPSessions> Sessions() const noexcept { return sessions_; }

#define VANTOREL_CONTROL_PROPERTY(Type, Name) \
  const Type& Name() const noexcept {         \
    return f_.Name;                           \
  }                                           \
  void set##Name(const Type& value) {         \
    f_.Name = value;                          \
  }
#define VANTOREL_CONTROL_FLAG(Name)     \
  bool Name() const noexcept {          \
    return f_.Name;                     \
  }                                     \
  void set##Name(bool value) noexcept { \
    f_.Name = value;                    \
  }
  VANTOREL_CONTROL_PROPERTY(std::u16string, CtrlID)
  VANTOREL_CONTROL_PROPERTY(std::u16string, CtrlType)
  VANTOREL_CONTROL_PROPERTY(std::u16string, CtrlOFile)
  VANTOREL_CONTROL_PROPERTY(std::u16string, CtrlOFileCompat)
  VANTOREL_CONTROL_PROPERTY(std::u16string, CtrlOExt)
  VANTOREL_CONTROL_PROPERTY(std::u16string, CtrlOFolder)
  VANTOREL_CONTROL_PROPERTY(std::u16string, CtrlOFolderID)
  VANTOREL_CONTROL_PROPERTY(std::u16string, CtrlIFiles)
  VANTOREL_CONTROL_PROPERTY(std::u16string, CtrlIFolder)
  VANTOREL_CONTROL_PROPERTY(std::u16string, CtrlCond)
  VANTOREL_CONTROL_PROPERTY(std::u16string, CtrlTagExt)
  VANTOREL_CONTROL_PROPERTY(std::u16string, CtrlParm)
  VANTOREL_CONTROL_FLAG(CtrlSpace)
  VANTOREL_CONTROL_FLAG(CtrlGen)
  VANTOREL_CONTROL_PROPERTY(std::u16string, CtrlExt)
  VANTOREL_CONTROL_PROPERTY(std::u16string, CtrlAction)
  VANTOREL_CONTROL_FLAG(CtrlOverwrite)
  VANTOREL_CONTROL_PROPERTY(std::u16string, CtrlRemark)
#undef VANTOREL_CONTROL_PROPERTY
#undef VANTOREL_CONTROL_FLAG

  // Fills the control from a "control" element (attribute names in any case) and appends its
  // sessions. A "space" or "overwrite" value that is neither Boolean text nor a number leaves
  // the control as it was and fails with the reason.
  Expected<> Load(const xml::Node& element);

  const AGControlFields& fields() const noexcept {
    return f_;
  }
  AGControlFields& fields() noexcept {
    return f_;
  }

  void save(xml::Node& element) const;

  // Scripts hand over the element as its markup text; markup that does not parse loads nothing.
  void scriptLoad(const Variant& xmlControl);

 private:
  AGControlFields f_;
  Ref<AGPSessions> sessions_;
};

namespace templates {

// "/" becomes "\", one leading "\" goes and one trailing "\" is ensured; a value with no folder
// name in it (empty, or only separators) is empty, which callers read as the template folder.
std::u16string normalizeInputFolder(std::u16string_view folder);

}  // namespace templates

}  // namespace vantorel
