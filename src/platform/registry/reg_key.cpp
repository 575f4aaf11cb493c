#include "platform/registry/reg_key.hpp"

#include <algorithm>

#include "platform/registry/reg_error.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel::reg {

namespace {

bool hasUnwritableCharacter(std::u16string_view name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    char16_t c = name[i];
    if (c == u'\0' || c == u'\r' || c == u'\n') return true;
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF) {
        ++i;
        continue;
      }
      return true;
    }
    if (c >= 0xDC00 && c <= 0xDFFF) return true;
  }
  return false;
}

}  // namespace

void checkKeyName(std::u16string_view name) {
  if (name.empty()) throw RegStoreError("A registry key name cannot be empty");
  if (name.find(u'\\') != std::u16string_view::npos || hasUnwritableCharacter(name)) {
    throw RegStoreError("The registry key name '" + toUtf8(name) +
                        "' holds a character a key name cannot have");
  }
}

void checkValueName(std::u16string_view name) {
  if (hasUnwritableCharacter(name)) {
    throw RegStoreError("The registry value name '" + toUtf8(name) +
                        "' holds a character a value name cannot have");
  }
}

std::vector<std::u16string_view> splitKeyPath(std::u16string_view path) {
  std::vector<std::u16string_view> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(u'\\', start);
    if (end == std::u16string_view::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

RegKey::RegKey(std::u16string name) : name_(std::move(name)) {}

RegKey::RegKey(const RegKey& other) : name_(other.name_), values_(other.values_) {
  children_.reserve(other.children_.size());
  for (const auto& child : other.children_) children_.push_back(std::make_unique<RegKey>(*child));
}

RegKey& RegKey::operator=(const RegKey& other) {
  if (this != &other) {
    RegKey copy(other);
    *this = std::move(copy);
  }
  return *this;
}

RegKey::~RegKey() = default;

const RegValue* RegKey::findValue(std::u16string_view name) const noexcept {
  for (const auto& value : values_) {
    if (equalsNoCase(value.name, name)) return &value;
  }
  return nullptr;
}

bool RegKey::setValue(RegValue value) {
  checkValueName(value.name);
  for (auto& existing : values_) {
    if (!equalsNoCase(existing.name, value.name)) continue;
    if (existing.type == value.type && existing.data == value.data) return false;
    existing.type = value.type;
    existing.data = std::move(value.data);
    return true;
  }
  values_.push_back(std::move(value));
  return true;
}

bool RegKey::deleteValue(std::u16string_view name) {
  auto it = std::find_if(values_.begin(), values_.end(),
                         [&](const RegValue& v) { return equalsNoCase(v.name, name); });
  if (it == values_.end()) return false;
  values_.erase(it);
  return true;
}

std::size_t RegKey::lowerBound(std::u16string_view name) const noexcept {
  auto it = std::lower_bound(children_.begin(), children_.end(), name,
                             [](const std::unique_ptr<RegKey>& k, std::u16string_view n) {
                               return compareNoCase(k->name_, n) < 0;
                             });
  return static_cast<std::size_t>(it - children_.begin());
}

const RegKey* RegKey::findChild(std::u16string_view name) const noexcept {
  std::size_t i = lowerBound(name);
  if (i < children_.size() && equalsNoCase(children_[i]->name_, name)) return children_[i].get();
  return nullptr;
}

RegKey* RegKey::findChild(std::u16string_view name) noexcept {
  return const_cast<RegKey*>(static_cast<const RegKey*>(this)->findChild(name));
}

RegKey& RegKey::ensureChild(std::u16string_view name) {
  std::size_t i = lowerBound(name);
  if (i < children_.size() && equalsNoCase(children_[i]->name_, name)) return *children_[i];
  checkKeyName(name);
  auto it = children_.insert(children_.begin() + static_cast<std::ptrdiff_t>(i),
                             std::make_unique<RegKey>(std::u16string(name)));
  return **it;
}

bool RegKey::removeChild(std::u16string_view name) {
  std::size_t i = lowerBound(name);
  if (i < children_.size() && equalsNoCase(children_[i]->name_, name)) {
    children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
  }
  return false;
}

const RegKey* RegKey::findPath(std::u16string_view path) const {
  const RegKey* key = this;
  for (auto part : splitKeyPath(path)) {
    key = key->findChild(part);
    if (!key) return nullptr;
  }
  return key;
}

RegKey* RegKey::findPath(std::u16string_view path) {
  return const_cast<RegKey*>(static_cast<const RegKey*>(this)->findPath(path));
}

RegKey& RegKey::ensurePath(std::u16string_view path) {
  RegKey* key = this;
  for (auto part : splitKeyPath(path)) key = &key->ensureChild(part);
  return *key;
}

bool operator==(const RegKey& a, const RegKey& b) {
  if (a.name_ != b.name_ || a.values_ != b.values_ || a.children_.size() != b.children_.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.children_.size(); ++i) {
    if (!(*a.children_[i] == *b.children_[i])) return false;
  }
  return true;
}

}  // namespace vantorel::reg
