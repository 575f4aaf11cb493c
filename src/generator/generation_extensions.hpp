#pragma once
// The installed extensions as generation sees them: their names, archives and the switch that
// generation turns off for one that cannot be used. The extensions subsystem installs its list
// here; while none is installed there are no extensions, and generation makes no extension
// output.
#include <cstdint>
#include <optional>
#include <string>

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
};

// Per thread; the caller keeps the list alive while it is installed. nullptr uninstalls.
void setGenerationExtensions(GenerationExtensions* extensions) noexcept;
GenerationExtensions* generationExtensions() noexcept;

// The archive of an extension: ExtensionsFolder with its template file name.
std::u16string extensionArchivePath(const GenerationExtensions::Entry& extension);

}  // namespace vantorel
