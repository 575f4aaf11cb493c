#pragma once
// A list of extensions installed as generation's view of them, for tests that give generation
// extensions of their own.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "generator/generation_extensions.hpp"

namespace vantorel::test {

// The extensions subsystem's list as generation sees it.
class ExtensionList : public GenerationExtensions {
 public:
  std::int32_t count() const override { return static_cast<std::int32_t>(entries.size()); }
  std::optional<Entry> seq(std::int32_t index) const override {
    if (index < 1 || index > count()) return std::nullopt;
    return entries[static_cast<std::size_t>(index - 1)];
  }
  bool exists(const std::u16string& name) const override {
    for (const Entry& e : entries) {
      if (e.name == name) return true;
    }
    return false;
  }
  void setEnabled(const std::u16string& name, bool enabled) override {
    for (Entry& e : entries) {
      if (e.name == name) e.enabled = enabled;
    }
  }
  void loadCodeBase(const std::u16string&) override {}
  std::vector<Entry> entries;
};

// Installs the list for its lifetime and puts back the view installed before.
class InstalledExtensionList : public ExtensionList {
 public:
  InstalledExtensionList() : previous_(Installed<GenerationExtensions>::install(this)) {}
  ~InstalledExtensionList() override { Installed<GenerationExtensions>::install(previous_); }
  InstalledExtensionList(const InstalledExtensionList&) = delete;
  InstalledExtensionList& operator=(const InstalledExtensionList&) = delete;

 private:
  GenerationExtensions* previous_;
};

}  // namespace vantorel::test
