#pragma once
// cRegistry: the engine's one way into the registry stores. Callers set ClassKey, SectionKey and
// ValueKey (and ValueType before a write) and then call a member; any call in between may change
// them, so they are set again before every operation.
//
// ClassKey selects the store: kHkeyCurrentUser the user's registry.reg, kHkeyLocalMachine the
// machine-wide machine.reg (read only: every write to it fails with error 26001),
// kHkeyClassesRoot the user's classes.reg. Any other ClassKey reaches no store: reads give
// Default, writes fail with 26001.
//
// Errors are AutomationError with source kRegistryErrorSource. A store file that cannot be read
// or parsed raises an error that names the file, line and column (26001, or kRegEnumError from
// EnumerateSections); a write never replaces such a file.
//
// Text is kept as full Unicode in the stores; nothing is narrowed to a code page.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/variant.hpp"

namespace vantorel::reg {
class RegKey;
struct RegValue;
}

namespace vantorel {

// Root key handles, numbered as the registry's programming interface numbers them.
inline constexpr std::int32_t kHkeyClassesRoot = static_cast<std::int32_t>(0x80000000u);
inline constexpr std::int32_t kHkeyCurrentUser = static_cast<std::int32_t>(0x80000001u);
inline constexpr std::int32_t kHkeyLocalMachine = static_cast<std::int32_t>(0x80000002u);

// Value types.
inline constexpr std::int32_t kRegSz = 1;
inline constexpr std::int32_t kRegExpandSz = 2;
inline constexpr std::int32_t kRegBinary = 3;
inline constexpr std::int32_t kRegDword = 4;
inline constexpr std::int32_t kRegDwordBigEndian = 5;
inline constexpr std::int32_t kRegMultiSz = 7;

// Error numbers and source.
inline constexpr std::int32_t kRegistryError = 26001;
inline constexpr std::int32_t kRegEnumError = static_cast<std::int32_t>(0x800469AAu);
inline constexpr std::int32_t kRegAssociationListError = static_cast<std::int32_t>(0x800469ACu);
inline constexpr std::int32_t kRegAssociationClassError = static_cast<std::int32_t>(0x800469ADu);
inline constexpr char16_t kRegistryErrorSource[] = u"vantorel4.cRegistry";

class cRegistry {
 public:
  // SectionKey can be opened under ClassKey.
  bool KeyExists() const;
  // Creates SectionKey and any missing parents; True, or raises 26001.
  bool CreateKey();
  // Deletes SectionKey with everything below it; True, or raises 26001 (also for a missing key
  // and for the hive itself).
  bool DeleteKey();
  // Deletes ValueKey in SectionKey; True, or raises 26001 when the key or the value is missing.
  bool DeleteValue();

  // Reads ValueKey in SectionKey and sets ValueType to its type; Default when the key or the
  // value is missing (ValueType then keeps its last value). Strings come back without their
  // terminator (multi-strings keep NUL separators and one trailing NUL), expandable strings
  // expanded (a %NAME% naming no variable stays as it is), numbers as Long (type 5 with its
  // bytes reversed), any other type as a Byte array from 0 holding exactly the stored bytes.
  Variant Value();
  // A stored value as Value reads it: text (expanded for expandable strings), a number, bytes.
  static Variant valueOf(const reg::RegValue& value);
  // Writes ValueKey in SectionKey, creating the key when missing, by ValueType: 1 or 2 as text
  // (stored as type 2 when a '%' has a further '%' at least two places after it, else 1);
  // 3 a Byte array, all its elements (anything else raises 26001); 4 or 5 an Integer or Long,
  // stored as type 4 (any other value writes nothing and raises nothing); 7 as text with NUL
  // separators, as a read returns it; any other ValueType a Byte array as that type's raw bytes
  // (anything else writes nothing). So whatever a read returns, written back with the ValueType
  // it set, is stored as it was (expandable strings apart, which come back expanded).
  // A store that cannot be written raises 26001.
  void Value(const Variant& value);

  // The value names (EnumerateValues) or subkey names (EnumerateSections) of SectionKey.
  // names[i - 1] is name number i of 1..count; count == names.size(). Values come in the order
  // they were created, subkeys sorted without regard to case. A missing key gives count 0.
  // Both return True.
  bool EnumerateValues(std::vector<std::u16string>& names, std::int32_t& count);
  bool EnumerateSections(std::vector<std::u16string>& names, std::int32_t& count);

  // Registers a file type under HKEY_CLASSES_ROOT: ".ext" names the class, the class key holds
  // the description, and shell verbs open (always), print, add (install) and new run the
  // program with "%1" (and /p, /a, /n). Empty verb texts get "&Open", "&Print", "&Install ext",
  // "&New". An iconIndex above -1 sets DefaultIcon.
  void CreateEXEAssociation(std::u16string_view programPath, std::u16string_view className,
                            std::u16string_view classDescription, std::u16string_view extension,
                            std::u16string_view openText = {}, bool print = false,
                            std::u16string_view printText = {}, bool newVerb = false,
                            std::u16string_view newText = {}, bool install = false,
                            std::u16string_view installText = {}, std::int32_t iconIndex = -1);
  // verbs holds triples (verb name, menu text, command) added below an existing class; raises
  // kRegAssociationListError when its size is not a multiple of 3 and kRegAssociationClassError
  // when the class is not registered.
  void CreateAdditionalEXEAssociations(std::u16string_view className,
                                       std::span<const Variant> verbs);

  // SectionKey holds a value named ValueKey.
  bool ValueExists() const;

  // Between BeginBatch and CommitBatch the values Value writes to that ClassKey's store collect
  // and reach its file in one replace, however many there are (one write per value would
  // rewrite the whole file each time); reads through this accessor see them at once. Any other
  // kind of write sends what collected first. Batches nest; the outermost commit sends.
  // DiscardBatch drops what was not sent, so a failed series writes nothing.
  void BeginBatch(std::int32_t classKey);
  void CommitBatch();
  void DiscardBatch() noexcept;

  std::int32_t ValueType() const noexcept { return valueType_; }
  void ValueType(std::int32_t type) noexcept { valueType_ = type; }
  std::int32_t ClassKey() const noexcept { return classKey_; }
  void ClassKey(std::int32_t key) noexcept { classKey_ = key; }
  const std::u16string& SectionKey() const noexcept { return sectionKey_; }
  void SectionKey(std::u16string key) { sectionKey_ = std::move(key); }
  const std::u16string& ValueKey() const noexcept { return valueKey_; }
  void ValueKey(std::u16string key) { valueKey_ = std::move(key); }
  const Variant& Default() const noexcept { return default_; }
  void Default(const Variant& value) { default_ = value; }

 private:
  static std::uint32_t SwapEndian(std::uint32_t value) noexcept;
  static std::u16string ExpandEnvStr(std::u16string_view text);
  void setDefaultText(std::u16string section, const std::u16string& text);
  struct Batch;
  std::shared_ptr<const reg::RegKey> hive(std::int32_t classKey, std::int32_t errorNumber) const;
  void sendBatch();

  std::int32_t classKey_ = 0;
  std::u16string sectionKey_;
  std::u16string valueKey_;
  Variant storedValue_;  // the last value written successfully
  Variant default_;
  std::int32_t valueType_ = 0;
  std::shared_ptr<Batch> batch_;
};

// Holds a batch of the user's store open for a scope; what is not committed is dropped.
class RegistryBatch {
 public:
  explicit RegistryBatch(cRegistry& registry, std::int32_t classKey = kHkeyCurrentUser)
      : registry_(registry) {
    registry_.BeginBatch(classKey);
  }
  ~RegistryBatch() {
    if (!done_) registry_.DiscardBatch();
  }
  RegistryBatch(const RegistryBatch&) = delete;
  RegistryBatch& operator=(const RegistryBatch&) = delete;
  void commit() {
    done_ = true;
    registry_.CommitBatch();
  }

 private:
  cRegistry& registry_;
  bool done_ = false;
};

}  // namespace vantorel
