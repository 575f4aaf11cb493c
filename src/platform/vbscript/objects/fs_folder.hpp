#pragma once
// The Folder object: one folder on disk, named by its absolute path.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/automation/object.hpp"

namespace vantorel::vbs {

class FsFiles;
class FsFolders;
class FsDrive;
class TextStream;

class FsFolder : public Object {
 public:
  explicit FsFolder(std::u16string path) : path_(std::move(path)) {}
  const ClassInfo& classInfo() const noexcept override;
  const std::u16string& path() const noexcept { return path_; }

  std::int32_t Attributes();
  void setAttributes(std::int32_t attributes);
  Variant DateCreated();
  Variant DateLastModified();
  Variant DateLastAccessed();
  Ref<FsDrive> Drive();
  Ref<FsFiles> Files();
  bool IsRootFolder() { return path_ == u"/"; }
  std::u16string Name();
  void setName(const std::u16string& name);
  // Nothing for the root.
  Variant ParentFolder();
  std::u16string Path() { return path_; }
  std::u16string ShortName() { return Name(); }
  std::u16string ShortPath() { return path_; }
  Variant Size();
  Ref<FsFolders> SubFolders();
  std::u16string Type() { return u"File folder"; }
  void Copy(const std::u16string& destination, std::optional<bool> overwrite);
  void Delete(std::optional<bool> force);
  void Move(const std::u16string& destination);
  Ref<TextStream> CreateTextFile(const std::u16string& name, std::optional<bool> overwrite,
                                 std::optional<bool> unicode);

 private:
  void requireExists();
  std::u16string path_;
};

}  // namespace vantorel::vbs
