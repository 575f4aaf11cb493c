#pragma once
// A registry key: its values in insertion order and its subkeys sorted without regard to case.
// Names compare with the invariant case fold and keep the spelling they were created with.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/reg_value.hpp"

namespace vantorel::reg {

class RegKey {
 public:
  explicit RegKey(std::u16string name = {});
  RegKey(const RegKey& other);  // deep copy
  RegKey& operator=(const RegKey& other);
  RegKey(RegKey&&) noexcept = default;
  RegKey& operator=(RegKey&&) noexcept = default;
  ~RegKey();

  const std::u16string& name() const noexcept { return name_; }

  const std::vector<RegValue>& values() const noexcept { return values_; }
  const RegValue* findValue(std::u16string_view name) const noexcept;
  // A value of the same name is replaced where it stands and keeps its spelling; a new one goes
  // last. True when anything changed. Throws RegStoreError for a name a store cannot hold.
  bool setValue(RegValue value);
  bool deleteValue(std::u16string_view name);

  std::size_t childCount() const noexcept { return children_.size(); }
  const RegKey& child(std::size_t index) const { return *children_.at(index); }
  const RegKey* findChild(std::u16string_view name) const noexcept;
  RegKey* findChild(std::u16string_view name) noexcept;
  // Creates the subkey when missing. Throws RegStoreError for a name a store cannot hold.
  RegKey& ensureChild(std::u16string_view name);
  // Removes the subkey and everything below it.
  bool removeChild(std::u16string_view name);

  // Paths are backslash-separated below this key; empty elements are skipped, so "" is this
  // key itself.
  const RegKey* findPath(std::u16string_view path) const;
  RegKey* findPath(std::u16string_view path);
  RegKey& ensurePath(std::u16string_view path);

  friend bool operator==(const RegKey& a, const RegKey& b);

 private:
  std::size_t lowerBound(std::u16string_view name) const noexcept;

  std::u16string name_;
  std::vector<RegValue> values_;
  std::vector<std::unique_ptr<RegKey>> children_;  // sorted by compareNoCase
};

// The elements of a backslash-separated key path, empty ones left out.
std::vector<std::u16string_view> splitKeyPath(std::u16string_view path);

// Names a store file can hold: a key name is non-empty, has no backslash, and neither holds a
// NUL, a line break or an unpaired surrogate. Throw RegStoreError otherwise.
void checkKeyName(std::u16string_view name);
void checkValueName(std::u16string_view name);

}  // namespace vantorel::reg
