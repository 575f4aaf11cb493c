#pragma once
// The Folder object: one folder on disk, named by its absolute path.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/vbscript/objects/fs_item.hpp"

namespace vantorel::vbs {

class FsFiles;
class FsFolders;
class TextStream;

class FsFolder : public FsItem {
 public:
  explicit FsFolder(std::u16string path) : FsItem(std::move(path), true) {}
  const ClassInfo& classInfo() const noexcept override;

  Ref<FsFiles> Files();
  bool IsRootFolder() { return path_ == u"/"; }
  void setName(const std::u16string& name);
  // Nothing for the root.
  Variant ParentFolder();
  Variant Size();
  Ref<FsFolders> SubFolders();
  std::u16string Type() { return u"File folder"; }
  void Copy(const std::u16string& destination, std::optional<bool> overwrite);
  void Delete(std::optional<bool> force);
  Ref<TextStream> CreateTextFile(const std::u16string& name, std::optional<bool> overwrite,
                                 std::optional<bool> unicode);
};

}  // namespace vantorel::vbs
