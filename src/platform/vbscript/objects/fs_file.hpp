#pragma once
// The File object: one file on disk, named by its absolute path.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/vbscript/objects/fs_item.hpp"

namespace vantorel::vbs {

class FsFolder;
class TextStream;

class FsFile : public FsItem {
 public:
  explicit FsFile(std::u16string path) : FsItem(std::move(path), false) {}
  const ClassInfo& classInfo() const noexcept override;

  void setName(const std::u16string& name);
  Ref<FsFolder> ParentFolder();
  Variant Size();
  std::u16string Type();
  void Copy(const std::u16string& destination, std::optional<bool> overwrite);
  void Delete(std::optional<bool> force);
  Ref<TextStream> OpenAsTextStream(std::optional<std::int32_t> ioMode,
                                   std::optional<std::int32_t> format);
};

// What Explorer calls files of this name ("Text Document", "ZIP File").
std::u16string fileTypeName(std::u16string_view name);

}  // namespace vantorel::vbs
