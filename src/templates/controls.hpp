#pragma once
// AGPControls: a template set's control file, "control.xml": the set's date, version,
// description and author, and its controls in document order. The root element must name the
// product. Extensions add, change and delete controls and sessions through the members below.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/expected.hpp"
#include "platform/automation/object.hpp"
#include "platform/automation/variant.hpp"
#include "templates/control.hpp"

namespace vantorel {

// The numbers of a control file's failures.
inline constexpr std::int32_t kControlFileUnloadable = 1;  // unreadable, malformed or a bad control
inline constexpr std::int32_t kControlFileForeign = 2;     // its root names another product

class AGPControls final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override;

  std::int16_t curIndex() const noexcept { return curIndex_; }
  const std::u16string& ProdDate() const noexcept { return prodDate_; }
  const std::u16string& ProdVersion() const noexcept { return prodVersion_; }
  const std::u16string& ProdDesc() const noexcept { return prodDesc_; }
  const std::u16string& ProdAuthor() const noexcept { return prodAuthor_; }

  // True when the file loaded (loadControlFile).
  bool LoadControls(const std::u16string& file);
  // Replaces the controls and the set's values with the file's. A file with a fault leaves them
  // as they were and fails with the file, the position where known, and the reason; a root
  // element that does not name the product empties the list.
  Expected<> loadControlFile(const std::u16string& file);
  // What the last load accepted but the user should hear of (a control id used twice),
  // one text each, naming file, line and column. The caller says them.
  const std::vector<std::u16string>& loadWarnings() const noexcept { return loadWarnings_; }
  // Appends a copy of ctrl (not CtrlGen, not CtrlRemark) with copies of its sessions, which
  // first take ctrl's CtrlExt; false when a control with its CtrlID exists.
  bool AddControl(const Ref<AGPControl>& ctrl);
  bool DeleteControl(const std::u16string& sId);
  bool ControlExist(const std::u16string& sId) const;
  std::int32_t Count() const noexcept { return static_cast<std::int32_t>(items_.size()); }
  // By position (a number, 1..Count) or by CtrlID (a text); nothing otherwise.
  Ref<AGPControl> Item(const Variant& Index);

  const std::vector<Ref<AGPControl>>& items() const noexcept { return items_; }
  // Writes the controls back as a control file, replacing the file at once (a failed write
  // leaves the old file); throws fs::FileError when it cannot be written.
  void writeControlFile(const std::u16string& file) const;

 private:
  std::optional<std::size_t> find(const std::u16string& sId) const;

  std::vector<Ref<AGPControl>> items_;
  std::int16_t curIndex_ = 0;
  std::u16string rootName_;
  std::vector<std::u16string> loadWarnings_;
  std::u16string prodDate_;
  std::u16string prodVersion_;
  std::u16string prodDesc_;
  std::u16string prodAuthor_;
};

}  // namespace vantorel
