#pragma once
// The File object: one file on disk, named by its absolute path.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/automation/object.hpp"

namespace vantorel::vbs {

class FsFolder;
class FsDrive;
class TextStream;

class FsFile : public Object {
 public:
  explicit FsFile(std::u16string path) : path_(std::move(path)) {}
  const ClassInfo& classInfo() const noexcept override;
  const std::u16string& path() const noexcept { return path_; }

  std::int32_t Attributes();
  void setAttributes(std::int32_t attributes);
  Variant DateCreated();
  Variant DateLastModified();
  Variant DateLastAccessed();
  Ref<FsDrive> Drive();
  std::u16string Name();
  void setName(const std::u16string& name);
  Ref<FsFolder> ParentFolder();
  std::u16string Path() { return path_; }
  std::u16string ShortName() { return Name(); }
  std::u16string ShortPath() { return path_; }
  Variant Size();
  std::u16string Type();
  void Copy(const std::u16string& destination, std::optional<bool> overwrite);
  void Delete(std::optional<bool> force);
  void Move(const std::u16string& destination);
  Ref<TextStream> OpenAsTextStream(std::optional<std::int32_t> ioMode,
                                   std::optional<std::int32_t> format);

 private:
  void requireExists();
  std::u16string path_;
};

// What Explorer calls files of this name ("Text Document", "ZIP File").
std::u16string fileTypeName(std::u16string_view name);

}  // namespace vantorel::vbs
