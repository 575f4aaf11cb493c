#include "platform/vbscript/objects/fs_file.hpp"

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/fs/files.hpp"
#include "platform/fs/path.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/vbscript/objects/file_system.hpp"
#include "platform/vbscript/objects/fs_collections.hpp"
#include "platform/vbscript/objects/fs_folder.hpp"
#include "platform/vbscript/objects/text_stream.hpp"

namespace vantorel::vbs {

std::u16string fileTypeName(std::u16string_view name) {
  const std::size_t dot = name.rfind(u'.');
  if (dot == std::u16string_view::npos || dot + 1 == name.size()) return u"File";
  const std::u16string extension = toLower(name.substr(dot + 1));
  static constexpr std::pair<std::u16string_view, std::u16string_view> kKnown[] = {
      {u"txt", u"Text Document"},
      {u"htm", u"HTML Document"},
      {u"html", u"HTML Document"},
      {u"xml", u"XML Document"},
      {u"css", u"Cascading Style Sheet Document"},
      {u"js", u"JScript Script File"},
      {u"vbs", u"VBScript Script File"},
      {u"asp", u"Active Server Page"},
      {u"ini", u"Configuration settings"},
      {u"bmp", u"Bitmap image"},
      {u"gif", u"GIF image"},
      {u"jpg", u"JPEG image"},
      {u"jpeg", u"JPEG image"},
      {u"png", u"PNG image"},
      {u"zip", u"Compressed (zipped) Folder"},
      {u"mdb", u"Microsoft Access Database"},
  };
  for (const auto& [ext, type] : kKnown) {
    if (extension == ext) return std::u16string(type);
  }
  return toUpper(name.substr(dot + 1)) + u" File";
}

const ClassInfo& FsFile::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"File", [](ClassInfo& c) {
    ClassBuilder<FsFile>(c)
        .prop<&FsFile::Attributes, &FsFile::setAttributes>(u"Attributes")
        .get<&FsFile::DateCreated>(u"DateCreated")
        .get<&FsFile::DateLastModified>(u"DateLastModified")
        .get<&FsFile::DateLastAccessed>(u"DateLastAccessed")
        .get<&FsFile::Drive>(u"Drive")
        .prop<&FsFile::Name, &FsFile::setName>(u"Name")
        .get<&FsFile::ParentFolder>(u"ParentFolder")
        .get<&FsFile::Path>(u"Path")
        .get<&FsFile::ShortName>(u"ShortName")
        .get<&FsFile::ShortPath>(u"ShortPath")
        .get<&FsFile::Size>(u"Size")
        .get<&FsFile::Type>(u"Type")
        .method<&FsFile::Copy>(u"Copy")
        .method<&FsFile::Delete>(u"Delete")
        .method<&FsFile::Move>(u"Move")
        .method<&FsFile::OpenAsTextStream>(u"OpenAsTextStream")
        .defaultMember(u"Path");
  });
  return info;
}

void FsFile::setName(const std::u16string& name) {
  requireExists();
  path_ = fso::renameTo(path_, name);
}

Ref<FsFolder> FsFile::ParentFolder() {
  return makeRef<FsFolder>(fs::parentFolder(path_));
}

Variant FsFile::Size() {
  const auto size = fs::fileSize(path_);
  if (!size) raiseVbError(vberr::kFileNotFound);
  return fso::sizeVariant(*size);
}

std::u16string FsFile::Type() {
  return fileTypeName(Name());
}

void FsFile::Copy(const std::u16string& destination, std::optional<bool> overwrite) {
  fso::copyOneFile(path_, destination, overwrite.value_or(true));
}

void FsFile::Delete(std::optional<bool> force) {
  fso::deleteOneFile(path_, force.value_or(false));
}

Ref<TextStream> FsFile::OpenAsTextStream(std::optional<std::int32_t> ioMode,
                                         std::optional<std::int32_t> format) {
  requireExists();
  return fso::openTextFile(path_, ioMode.value_or(fso::kForReading), false,
                           format.value_or(fso::kTristateFalse));
}

}  // namespace vantorel::vbs
