#pragma once
// Where generation finds the input files of a template control: the template set's folder, an
// extension's template folder, or an enabled extension's replacement of a template-set file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantorel {

// The installed extensions as template lookup sees them. The extensions subsystem registers its
// list; without one there are no extensions.
class InstalledExtensions {
 public:
  struct Entry {
    std::u16string name;  // the extension's folder name
    bool enabled = false;
  };
  virtual ~InstalledExtensions() = default;
  virtual std::int32_t count() const = 0;
  // The extension with that sequence number (from 1), nothing when there is none.
  virtual std::optional<Entry> seq(std::int16_t index) const = 0;
};

// Process-wide, registered at start-up; the view reads the calling thread's list. The caller
// keeps `extensions` alive while it is registered; nullptr unregisters. Returns the view
// registered before.
const InstalledExtensions* setInstalledExtensions(const InstalledExtensions* extensions) noexcept;

// The folder an extension is unpacked into, below the extensions' work folder; nothing while
// that folder is unknown or when the name would lead outside it.
std::optional<std::u16string> ExtensionFolder(std::u16string_view name);
// The folder a control's input files are read from: the template set's for a control of the
// set, its extension's for one an extension added (empty when that extension has no folder).
std::u16string ControlSourceFolder(std::u16string_view extension);

// The path of a template input file. A control of an extension reads its own folder, then the
// template set's; a control of the template set reads the first enabled extension (in sequence
// order) that has the file, else its own folder, whether the file exists there or not.
std::u16string GetTemplateFilePath(std::u16string_view fileName);

// The name of a template file's working folders (its unpacked set and compiled templates): the
// file's name and a digest of its full path, so that two sets of one name in different folders
// never share (or fight over) one cache. Empty for an empty path.
std::u16string TemplateWorkName(std::u16string_view templateFile);
// TemplateWorkName of the current template: of TemplateFile while TemplateName is still the
// name that file gave, else TemplateName itself (set without a file, as tests and hosts may).
std::u16string CurrentTemplateWorkName();

// The trimmed path with "\" appended unless it already ends with "\" or "/"; empty stays empty.
std::u16string AddBackslash(std::u16string_view path);

}  // namespace vantorel
