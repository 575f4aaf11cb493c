#pragma once
// The installed extensions as generation sees them: their names, archives and the switch that
// generation turns off for one that cannot be used, the files that an enabled one replaces, and
// the code base generation loads. The
// extensions subsystem installs its view here at start-up; while none is installed there are no
// extensions, generation makes no extension output and loads no code base.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/installed.hpp"

namespace vantorel {

class GenerationExtensions {
 public:
  struct Entry {
    std::u16string name;
    std::u16string templateFile;  // the zipped set, relative to ExtensionsFolder
    bool enabled = false;
  };
  virtual ~GenerationExtensions() = default;
  virtual std::int32_t count() const = 0;
  // The extension with that sequence number (from 1); nothing when there is none.
  virtual std::optional<Entry> seq(std::int32_t index) const = 0;
  virtual bool exists(const std::u16string& name) const = 0;
  virtual void setEnabled(const std::u16string& name, bool enabled) = 0;
  // Loads the code base file into the thread's code base; a bad file keeps the last good one.
  virtual void loadCodeBase(const std::u16string& file) = 0;
};

// Installed<GenerationExtensions> at start-up; the view works on the calling thread's list.

// The archive of an extension: ExtensionsFolder with its template file name; "" (no file) for a
// name that would lead outside that folder.
std::u16string extensionArchivePath(const GenerationExtensions::Entry& extension);

// The path of a template input file. A control of an extension reads its own folder, then the
// template set's; a control of the template set reads the first enabled extension (in sequence
// order) that has the file, else its own folder, whether the file exists there or not.
std::u16string GetTemplateFilePath(std::u16string_view fileName);

}  // namespace vantorel
