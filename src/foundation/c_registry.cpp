#include "foundation/c_registry.hpp"

#include <functional>
#include <memory>
#include <optional>

#include "foundation/project_context.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/registry/reg_error.hpp"
#include "platform/registry/reg_hives.hpp"
#include "platform/sys/environment.hpp"
#include "platform/text/strings.hpp"
#include "platform/text/unicode.hpp"

namespace vantorel {

namespace {

[[noreturn]] void raiseError(std::int32_t number, std::u16string description) {
  throw AutomationError(number, kRegistryErrorSource, std::move(description));
}

std::shared_ptr<reg::RegStore> storeOf(std::int32_t classKey) {
  switch (classKey) {
    case kHkeyClassesRoot:
      return reg::hiveStore(reg::RegHive::ClassesRoot);
    case kHkeyCurrentUser:
      return reg::hiveStore(reg::RegHive::CurrentUser);
    case kHkeyLocalMachine:
      return reg::hiveStore(reg::RegHive::LocalMachine);
    default:
      return nullptr;
  }
}

// The hive of classKey; nothing when it reaches no store. Store failures raise errorNumber.
// During a bulk load the current user's hive is the load's one snapshot (ProjectContext), until
// a write makes it stale for the reads that follow.
std::shared_ptr<const reg::RegKey> readHive(std::int32_t classKey, std::int32_t errorNumber) {
  auto store = storeOf(classKey);
  if (!store) return nullptr;
  ProjectContext& context = projectContext();
  const bool pinned =
      classKey == kHkeyCurrentUser && context.userHivePinned && !context.userHiveWritten;
  if (pinned && context.pinnedUserHive) return context.pinnedUserHive;
  try {
    std::shared_ptr<const reg::RegKey> hive = store->snapshot();
    if (pinned) context.pinnedUserHive = hive;
    return hive;
  } catch (const reg::RegStoreError& e) {
    raiseError(errorNumber, fromUtf8(e.what()));
  }
}

// Applies change to the hive of classKey. A hive that cannot be written raises 26001 with
// description, and with the store's own reason when there is one.
void writeHive(std::int32_t classKey, const std::u16string& description,
               const std::function<bool(reg::RegKey&)>& change) {
  auto store = storeOf(classKey);
  if (!store || store->readOnly()) raiseError(kRegistryError, description);
  // A pinned snapshot would hide the write from the reads after it.
  if (projectContext().userHivePinned) projectContext().userHiveWritten = true;
  try {
    store->update(change);
  } catch (const reg::RegStoreError& e) {
    raiseError(kRegistryError, description + u" (" + fromUtf8(e.what()) + u")");
  }
}

// A string holding a '%' with a further '%' at least two places after it.
bool looksExpandable(std::u16string_view text) {
  std::size_t first = text.find(u'%');
  return first != std::u16string_view::npos &&
         text.find(u'%', first + 2) != std::u16string_view::npos;
}

bool isByteArray(const Variant& value) {
  return value.isArray() && value.arrayValue().elementType() == VarType::Byte;
}

// Every element of a byte array, whatever its bounds.
std::vector<std::uint8_t> bytesOf(const Variant& value) {
  std::vector<std::uint8_t> bytes;
  for (const Variant& element : value.arrayValue().elements()) {
    bytes.push_back(element.type() == VarType::Byte ? element.byteValue() : toByte(element));
  }
  return bytes;
}

// The value as an error message shows it; never raises.
std::u16string textForMessage(const Variant& value) {
  if (value.isArray() || value.isNull()) return {};
  try {
    return toString(value);
  } catch (const AutomationError&) {
    return {};
  }
}

// Sets data (when there is one) below the section, which is made when missing; whether the hive
// changed.
bool setIn(reg::RegKey& root, const std::u16string& section,
           const std::optional<reg::RegValue>& data) {
  bool existed = root.findPath(section) != nullptr;
  reg::RegKey& key = root.ensurePath(section);
  bool changed = data && key.setValue(*data);
  return changed || !existed;
}

std::u16string joinedPath(std::u16string_view a, std::u16string_view b) {
  return std::u16string(a) + u"\\" + std::u16string(b);
}

}  // namespace

struct cRegistry::Batch {
  std::int32_t classKey = 0;
  int depth = 1;
  // The values in the order written, each with its section.
  std::vector<std::pair<std::u16string, std::optional<reg::RegValue>>> values;
  // The hive as it will be once they are sent; made at the first value.
  std::shared_ptr<reg::RegKey> view;
};

std::shared_ptr<const reg::RegKey> cRegistry::hive(std::int32_t classKey,
                                                   std::int32_t errorNumber) const {
  if (batch_ && batch_->classKey == classKey && batch_->view) return batch_->view;
  return readHive(classKey, errorNumber);
}

void cRegistry::sendBatch() {
  if (!batch_ || batch_->values.empty()) return;
  const std::shared_ptr<Batch> batch = batch_;
  auto values = std::move(batch->values);
  batch->values.clear();
  batch->view.reset();
  writeHive(batch->classKey, u"Failed to set registry values", [&](reg::RegKey& root) {
    bool changed = false;
    for (const auto& [section, data] : values) changed = setIn(root, section, data) || changed;
    return changed;
  });
}

void cRegistry::BeginBatch(std::int32_t classKey) {
  if (batch_) {
    ++batch_->depth;
    return;
  }
  batch_ = std::make_shared<Batch>();
  batch_->classKey = classKey;
}

void cRegistry::CommitBatch() {
  if (!batch_ || --batch_->depth > 0) return;
  // Gone whether or not the write succeeds: a failure must not leave later writes collecting.
  try {
    sendBatch();
  } catch (...) {
    batch_.reset();
    throw;
  }
  batch_.reset();
}

void cRegistry::DiscardBatch() noexcept {
  if (batch_ && --batch_->depth == 0) batch_.reset();
}

bool cRegistry::ValueExists() const {
  auto hive = this->hive(classKey_, kRegistryError);
  const reg::RegKey* key = hive ? hive->findPath(sectionKey_) : nullptr;
  return key && key->findValue(valueKey_) != nullptr;
}

std::uint32_t cRegistry::SwapEndian(std::uint32_t value) noexcept {
  return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

std::u16string cRegistry::ExpandEnvStr(std::u16string_view text) {
  return sys::expandEnvironment(text);
}

bool cRegistry::KeyExists() const {
  auto hive = this->hive(classKey_, kRegistryError);
  return hive && hive->findPath(sectionKey_) != nullptr;
}

bool cRegistry::CreateKey() {
  sendBatch();
  writeHive(classKey_, u"Failed to create registry Key: '" + sectionKey_, [&](reg::RegKey& root) {
    bool existed = root.findPath(sectionKey_) != nullptr;
    root.ensurePath(sectionKey_);
    return !existed;
  });
  return true;
}

bool cRegistry::DeleteKey() {
  std::u16string description =
      u"Failed to delete registry Key: '" + toU16(classKey_) + u"',Section: '" + sectionKey_;
  auto parts = reg::splitKeyPath(sectionKey_);
  // The hive itself cannot be deleted.
  if (parts.empty()) raiseError(kRegistryError, description);
  bool found = false;
  sendBatch();
  writeHive(classKey_, description, [&](reg::RegKey& root) {
    std::u16string parentPath;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i)
      parentPath = joinedPath(parentPath, parts[i]);
    reg::RegKey* parent = root.findPath(parentPath);
    found = parent && parent->removeChild(parts.back());
    return found;
  });
  if (!found) raiseError(kRegistryError, description);
  return true;
}

bool cRegistry::DeleteValue() {
  std::u16string openDescription = u"Failed to open key '" + toU16(classKey_) + u"',Section: '" +
                                   sectionKey_ + u"' for delete access";
  bool keyFound = false, valueFound = false;
  sendBatch();
  writeHive(classKey_, openDescription, [&](reg::RegKey& root) {
    reg::RegKey* key = root.findPath(sectionKey_);
    keyFound = key != nullptr;
    valueFound = keyFound && key->deleteValue(valueKey_);
    return valueFound;
  });
  if (!keyFound) raiseError(kRegistryError, openDescription);
  if (!valueFound) {
    raiseError(kRegistryError, u"Failed to delete registry Key: '" + toU16(classKey_) +
                                   u"',Section: '" + sectionKey_ + u"',Key: '" + valueKey_);
  }
  return true;
}

Variant cRegistry::Value() {
  auto hive = this->hive(classKey_, kRegistryError);
  const reg::RegKey* key = hive ? hive->findPath(sectionKey_) : nullptr;
  const reg::RegValue* value = key ? key->findValue(valueKey_) : nullptr;
  if (!value) return default_;
  valueType_ = static_cast<std::int32_t>(value->type);
  return valueOf(*value);
}

Variant cRegistry::valueOf(const reg::RegValue& value) {
  switch (value.type) {
    case reg::kRegSz:
    case reg::kRegMultiSz:
      // Zero bytes read as "", and data without a terminator loses nothing.
      return Variant(reg::textOfStringData(value.data));
    case reg::kRegExpandSz:
      return Variant(ExpandEnvStr(reg::textOfStringData(value.data)));
    case reg::kRegDword:
      // A size other than 4 reads its first bytes, the rest as zero.
      return Variant(static_cast<std::int32_t>(reg::dwordOf(value.data)));
    case reg::kRegDwordBigEndian:
      return Variant(static_cast<std::int32_t>(SwapEndian(reg::dwordOf(value.data))));
    default: {
      std::vector<Variant> bytes;
      bytes.reserve(value.data.size());
      for (std::uint8_t b : value.data) bytes.emplace_back(b);
      return Variant(SafeArray::fromValues(std::move(bytes), VarType::Byte));
    }
  }
}

void cRegistry::Value(const Variant& value) {
  auto description = [&] {
    return u"Failed to set registry value Key: '" + toU16(classKey_) + u"',Section: '" +
           sectionKey_ + u"',Key: '" + valueKey_ + u"' to value: '" + textForMessage(value) + u"'";
  };
  auto store = storeOf(classKey_);
  if (!store || store->readOnly()) raiseError(kRegistryError, description());

  std::optional<reg::RegValue> data;
  switch (valueType_) {
    case kRegSz:
    case kRegExpandSz: {
      std::u16string text = toString(value);
      std::uint32_t type = looksExpandable(text) ? reg::kRegExpandSz : reg::kRegSz;
      data = reg::RegValue{valueKey_, type, reg::stringData(text)};
      break;
    }
    case kRegBinary: {
      if (!isByteArray(value)) {
        // Raised without a source or description of its own, so the project's name and the
        // generic text stand in, as they do for any such error.
        throw AutomationError(kRegistryError, u"vantorel4",
                              u"Application-defined or object-defined error");
      }
      data = reg::RegValue{valueKey_, reg::kRegBinary, bytesOf(value)};
      break;
    }
    case kRegDword:
    case kRegDwordBigEndian:
      if (value.type() == VarType::Integer) {
        data = reg::RegValue{valueKey_, reg::kRegDword,
                             reg::dwordData(static_cast<std::uint32_t>(
                                 static_cast<std::int32_t>(value.integerValue())))};
      } else if (value.type() == VarType::Long) {
        data = reg::RegValue{valueKey_, reg::kRegDword,
                             reg::dwordData(static_cast<std::uint32_t>(value.longValue()))};
      }
      break;
    case kRegMultiSz: {
      // Entries are already NUL-separated with one trailing NUL, as a read returns them.
      data = reg::RegValue{valueKey_, reg::kRegMultiSz, reg::stringData(toString(value))};
      break;
    }
    default:
      // So that a value of any other type, read as its bytes, is copied exactly.
      if (isByteArray(value)) {
        data = reg::RegValue{valueKey_, static_cast<std::uint32_t>(valueType_), bytesOf(value)};
      }
      break;
  }

  if (batch_ && batch_->classKey == classKey_) {
    if (!batch_->view) {
      const std::shared_ptr<const reg::RegKey> current = readHive(classKey_, kRegistryError);
      batch_->view = std::make_shared<reg::RegKey>(current ? *current : reg::RegKey());
    }
    // Applied to the view now, so that a name the store cannot hold raises here.
    setIn(*batch_->view, sectionKey_, data);
    batch_->values.push_back({sectionKey_, std::move(data)});
    storedValue_ = value;
    return;
  }
  writeHive(classKey_, description(),
            [&](reg::RegKey& root) { return setIn(root, sectionKey_, data); });
  storedValue_ = value;
}

bool cRegistry::EnumerateValues(std::vector<std::u16string>& names, std::int32_t& count) {
  names.clear();
  count = 0;
  auto hive = this->hive(classKey_, kRegistryError);
  const reg::RegKey* key = hive ? hive->findPath(sectionKey_) : nullptr;
  if (key) {
    for (const auto& value : key->values()) names.push_back(value.name);
  }
  count = static_cast<std::int32_t>(names.size());
  return true;
}

bool cRegistry::EnumerateSections(std::vector<std::u16string>& names, std::int32_t& count) {
  names.clear();
  count = 0;
  auto hive = this->hive(classKey_, kRegEnumError);
  const reg::RegKey* key = hive ? hive->findPath(sectionKey_) : nullptr;
  if (key) {
    for (std::size_t i = 0; i < key->childCount(); ++i) names.push_back(key->child(i).name());
  }
  count = static_cast<std::int32_t>(names.size());
  return true;
}

void cRegistry::setDefaultText(std::u16string section, const std::u16string& text) {
  classKey_ = kHkeyClassesRoot;
  valueType_ = kRegSz;
  valueKey_.clear();
  sectionKey_ = std::move(section);
  Value(Variant(text));
}

void cRegistry::CreateEXEAssociation(std::u16string_view programPath, std::u16string_view className,
                                     std::u16string_view classDescription,
                                     std::u16string_view extension, std::u16string_view openText,
                                     bool print, std::u16string_view printText, bool newVerb,
                                     std::u16string_view newText, bool install,
                                     std::u16string_view installText, std::int32_t iconIndex) {
  std::u16string path(trimBlanks(programPath));
  if (!startsWith(path, u"\"")) path.insert(0, u"\"");
  if (!endsWith(path, u"\"")) path += u"\"";
  const std::u16string name(className);
  auto textOr = [](std::u16string_view text, std::u16string fallback) {
    return text.empty() ? fallback : std::u16string(text);
  };

  setDefaultText(u"." + std::u16string(extension), name);
  setDefaultText(name, std::u16string(classDescription));
  setDefaultText(name + u"\\shell\\open", textOr(openText, u"&Open"));
  setDefaultText(name + u"\\shell\\open\\command", path + u" \"%1\"");
  if (print) {
    setDefaultText(name + u"\\shell\\print", textOr(printText, u"&Print"));
    setDefaultText(name + u"\\shell\\print\\command", path + u" /p \"%1\"");
  }
  if (install) {
    setDefaultText(name + u"\\shell\\add",
                   textOr(installText, u"&Install " + std::u16string(extension)));
    setDefaultText(name + u"\\shell\\add\\command", path + u" /a \"%1\"");
  }
  if (newVerb) {
    setDefaultText(name + u"\\shell\\new", textOr(newText, u"&New"));
    setDefaultText(name + u"\\shell\\new\\command", path + u" /n \"%1\"");
  }
  if (iconIndex > -1) setDefaultText(name + u"\\DefaultIcon", path + u"," + toU16(iconIndex));
}

void cRegistry::CreateAdditionalEXEAssociations(std::u16string_view className,
                                                std::span<const Variant> verbs) {
  if (verbs.size() % 3 != 0) {
    raiseError(kRegAssociationListError,
               u"Invalid parameter list passed to CreateAdditionalEXEAssociations - expected "
               u"Name/Text/Command");
  }
  classKey_ = kHkeyClassesRoot;
  sectionKey_ = std::u16string(className);
  if (!KeyExists()) {
    raiseError(kRegAssociationClassError,
               u"Error - attempt to create additional associations before class defined.");
  }
  for (std::size_t i = 0; i < verbs.size(); i += 3) {
    std::u16string verbKey = std::u16string(className) + u"\\shell\\" + toString(verbs[i]);
    classKey_ = kHkeyClassesRoot;
    valueType_ = kRegSz;
    valueKey_.clear();
    sectionKey_ = verbKey;
    Value(verbs[i + 1]);
    sectionKey_ = verbKey + u"\\command";
    Value(verbs[i + 2]);
  }
}

}  // namespace vantorel
