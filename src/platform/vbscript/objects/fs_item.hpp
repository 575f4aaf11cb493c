#pragma once
// What the File and Folder objects share: an item on disk, named by its absolute path, with the
// members that read the same for both.
#include <cstdint>
#include <string>
#include <utility>

#include "platform/automation/object.hpp"

namespace vantorel::vbs {

class FsDrive;

class FsItem : public Object {
 public:
  const std::u16string& path() const noexcept { return path_; }

  std::int32_t Attributes();
  void setAttributes(std::int32_t attributes);
  Variant DateCreated();
  Variant DateLastModified();
  Variant DateLastAccessed();
  Ref<FsDrive> Drive();
  std::u16string Name();
  std::u16string Path() { return path_; }
  std::u16string ShortName() { return Name(); }
  std::u16string ShortPath() { return path_; }
  void Move(const std::u16string& destination);

 protected:
  FsItem(std::u16string path, bool folder) : path_(std::move(path)), folder_(folder) {}
  // 53 for a missing file, 76 for a missing folder.
  void requireExists();
  std::int32_t missingError() const noexcept;

  std::u16string path_;

 private:
  bool folder_;
};

}  // namespace vantorel::vbs
