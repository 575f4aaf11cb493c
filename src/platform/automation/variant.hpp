#pragma once
// Variant: the one value type of automation and of scripts. Strings are shared immutable
// buffers and arrays are shared until written, so copying a Variant is cheap.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/automation/numeric_types.hpp"
#include "platform/automation/ref.hpp"

namespace vantorel {

class Object;
class SafeArray;

// The numbers are those of VBScript's VarType.
enum class VarType : std::uint16_t {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Object = 9,
  Error = 10,
  Boolean = 11,
  Variant = 12,
  DataObject = 13,
  Decimal = 14,
  Byte = 17,
  Array = 8192,
};

// Integer, Long, Single, Double, Currency, Decimal or Byte: the subtypes that hold a number.
constexpr bool isNumericVarType(VarType type) noexcept {
  switch (type) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Decimal:
    case VarType::Byte:
      return true;
    default:
      return false;
  }
}

// The error code automation passes for an optional argument that was left out.
constexpr std::int32_t kParamNotFound = static_cast<std::int32_t>(0x80020004u);

namespace detail {
// The empty string is stored as a null rep, so that the many empty settings of a model cost
// no allocation.
const std::u16string& emptyString() noexcept;

struct DecimalRep {
  std::size_t refs;
  Decimal value;
};

struct StringRep {
  // The count of holders in the low 63 bits. The top bit is set only by the byte functions: the
  // string holds an odd number of bytes, so the high byte of its last unit is padding, which
  // everything that reads the string as text ignores. Counts change by plain adds and
  // subtracts: no string has 2^63 holders, so they never carry into the mark.
  std::uint64_t countAndMark;
  std::u16string text;

  static constexpr std::uint64_t kOddByte = std::uint64_t{1} << 63;
  bool oddByte() const noexcept { return (countAndMark & kOddByte) != 0; }
};
}  // namespace detail

class Variant {
 public:
  Variant() noexcept { u_.i8 = 0; }
  // Scalars are stored with one full-width write, so that copying a fresh Variant reads back a
  // single store (a narrow store followed by a wide load stalls the processor).
  Variant(bool v) noexcept : type_(VarType::Boolean) { u_.i8 = v ? 1 : 0; }
  Variant(std::uint8_t v) noexcept : type_(VarType::Byte) { u_.i8 = v; }
  Variant(std::int16_t v) noexcept : type_(VarType::Integer) { u_.i8 = v; }
  Variant(std::int32_t v) noexcept : type_(VarType::Long) { u_.i8 = v; }
  Variant(float v) noexcept : type_(VarType::Single) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    u_.i8 = bits;
  }
  Variant(double v) noexcept : type_(VarType::Double) { u_.r8 = v; }
  Variant(Currency v) noexcept : type_(VarType::Currency) { u_.cy = v.scaled; }
  Variant(const Decimal& v);
  Variant(std::u16string text);
  Variant(std::u16string_view text) : Variant(std::u16string(text)) {}
  Variant(const char16_t* text) : Variant(std::u16string(text)) {}
  // An object reference; a null pointer is Nothing.
  Variant(Object* object) noexcept;
  template <class T>
  Variant(const Ref<T>& object) noexcept : Variant(static_cast<Object*>(object.get())) {}
  Variant(const Ref<SafeArray>& array) noexcept;
  // Guards against a pointer silently turning into a Boolean.
  Variant(const char*) = delete;
  Variant(std::nullptr_t) = delete;

  // A string of bytes (see StringRep::oddByte); units holds them two to a unit, little-endian.
  static Variant byteString(std::u16string units, bool oddByte);
  static Variant null() noexcept;
  static Variant nothing() noexcept { return Variant(static_cast<Object*>(nullptr)); }
  static Variant date(double oleDate) noexcept;
  static Variant error(std::int32_t code) noexcept;
  // The value automation passes for an omitted optional argument.
  static Variant missing() noexcept { return error(kParamNotFound); }

  Variant(const Variant& other) noexcept : type_(other.type_), array_(other.array_), u_(other.u_) {
    if (ownsResource()) addRefResource();
  }
  Variant(Variant&& other) noexcept : type_(other.type_), array_(other.array_), u_(other.u_) {
    other.type_ = VarType::Empty;
    other.array_ = false;
  }
  Variant& operator=(const Variant& other) noexcept {
    Variant copy(other);
    swap(copy);
    return *this;
  }
  Variant& operator=(Variant&& other) noexcept {
    Variant moved(std::move(other));
    swap(moved);
    return *this;
  }
  // Inline everywhere: most values own nothing, and the test is cheaper than a call.
  [[gnu::always_inline]] ~Variant() {
    if (ownsResource()) releaseResource();
  }

  // VarType::Array for arrays, else the scalar type.
  VarType type() const noexcept { return array_ ? VarType::Array : type_; }
  // VBScript's VarType(): for arrays 8192 plus the element type.
  int varType() const noexcept;

  bool isEmpty() const noexcept { return type_ == VarType::Empty && !array_; }
  bool isNull() const noexcept { return type_ == VarType::Null && !array_; }
  bool isString() const noexcept { return type_ == VarType::String && !array_; }
  bool isObject() const noexcept { return type_ == VarType::Object && !array_; }
  bool isNothing() const noexcept { return isObject() && u_.obj == nullptr; }
  bool isArray() const noexcept { return array_; }
  bool isMissing() const noexcept {
    return type_ == VarType::Error && !array_ && u_.i4 == kParamNotFound;
  }
  // Integer, Long, Single, Double, Currency, Decimal or Byte.
  bool isNumericType() const noexcept;

  // The number an Integer or a Long holds; false, with n unchanged, for any other value.
  bool integerOrLong(std::int32_t& n) const noexcept {
    // A Long first: counters and indexes are Longs.
    if (type() == VarType::Long) [[likely]] {
      n = u_.i4;
      return true;
    }
    if (type() != VarType::Integer) return false;
    n = u_.i2;
    return true;
  }

  // Unchecked access; the caller has tested type().
  bool boolValue() const noexcept { return u_.b; }
  std::uint8_t byteValue() const noexcept { return u_.ui1; }
  std::int16_t integerValue() const noexcept { return u_.i2; }
  std::int32_t longValue() const noexcept { return u_.i4; }
  float singleValue() const noexcept { return u_.r4; }
  double doubleValue() const noexcept { return u_.r8; }
  double dateValue() const noexcept { return u_.r8; }
  Currency currencyValue() const noexcept { return Currency{u_.cy}; }
  const Decimal& decimalValue() const noexcept { return u_.dec->value; }
  std::int32_t errorValue() const noexcept { return u_.i4; }
  const std::u16string& stringValue() const noexcept {
    return u_.str ? u_.str->text : detail::emptyString();
  }
  // The units of a string, moved out when this is their only holder (a shared string is
  // copied); this Variant is left Empty. Only for a string.
  std::u16string takeString();
  // The end of the run of values from `from`, which holds text, that hold the same text
  // buffer (copies of one string, or empty strings).
  static const Variant* endOfSharedText(const Variant* from, const Variant* end) noexcept {
    const detail::StringRep* rep = from->u_.str;
    const Variant* at = from + 1;
    // Most runs are one value long; a longer one (a builder's buffer of one piece) is walked out
    // of line, several values at a time.
    if (at == end || !at->holdsTextOf(rep)) return at;
    return endOfTextRun(at + 1, end, rep);
  }
  // Whether the string's last unit holds one byte only; false for anything else.
  bool hasOddByte() const noexcept { return isString() && u_.str && u_.str->oddByte(); }
  Object* objectValue() const noexcept { return u_.obj; }
  const SafeArray& arrayValue() const noexcept { return *u_.arr; }
  // The array for writing: a shared array is copied first, so other holders keep their copy.
  SafeArray& arrayForWrite();
  // The array as it stands, for code that checks itself whether it is shared before writing.
  SafeArray& arrayInPlace() const noexcept { return *u_.arr; }
  Ref<SafeArray> arrayRef() const noexcept;

  void clear() noexcept {
    if (ownsResource()) {
      releaseResource();
    } else {
      type_ = VarType::Empty;
    }
  }
  // Whether the value holds an object or an array: what may hold further values.
  bool holdsContainer() const noexcept {
    return array_ || (type_ == VarType::Object && u_.obj != nullptr);
  }
  // Drops the value like clear(), except that when this was the last reference to an object or
  // array, the values that one held are moved into `held` rather than released in turn. With
  // releaseHeld this releases a long chain (a linked list of objects, nested arrays) in a loop
  // instead of one nested call per link.
  void releaseInto(std::vector<Variant>& held) noexcept;
  // Ends the n values from first as their last holder going away does: objects and arrays move
  // to `held` in order, everything else is released here. Values left behind are not to be read
  // or destroyed again. A run of elements sharing one string (a buffer filled with the same
  // piece) drops its count once.
  static void releaseAll(Variant* first, std::size_t n, std::vector<Variant>& held) noexcept;
  // Stores a copy of v over a value that holds nothing counted (so nothing is released): its
  // bytes as they stand. For a v that holds nothing counted either.
  [[gnu::always_inline]] void setPlainOverPlain(const Variant& v) noexcept {
    std::memcpy(static_cast<void*>(this), static_cast<const void*>(&v), sizeof(Variant));
  }
  // The same for text v, with one more holder for its text.
  [[gnu::always_inline]] void setTextOverPlain(const Variant& v) noexcept {
    setPlainOverPlain(v);
    if (u_.str) ++u_.str->countAndMark;
  }
  // A new number for a value that holds a Long: only the word changes.
  [[gnu::always_inline]] void replaceLongValue(std::int32_t n) noexcept { u_.i8 = n; }
  void swap(Variant& other) noexcept {
    std::swap(type_, other.type_);
    std::swap(array_, other.array_);
    std::swap(u_, other.u_);
  }

 private:
  // Strings, objects and arrays hold a counted reference; every other type is plain data.
  // The analyzer loses track of Variants built in raw frame storage and reports their tag as
  // uninitialised; every constructor sets it.
  bool ownsResource() const noexcept {
    // Each counted kind holds a pointer, null only for the empty string and Nothing: a mask of
    // the tag (below 32 for every scalar type) and one test of the word, as every copy and
    // destruction asks this.
    constexpr std::uint32_t kCounted = (1u << static_cast<unsigned>(VarType::String)) |
                                       (1u << static_cast<unsigned>(VarType::Object)) |
                                       (1u << static_cast<unsigned>(VarType::Decimal));
    // NOLINTBEGIN(clang-analyzer-core.uninitialized.*)
    const auto tag = static_cast<std::uint32_t>(type_);
    return array_ || (((kCounted >> (tag & 31u)) & 1u) != 0 && u_.i8 != 0);
    // NOLINTEND(clang-analyzer-core.uninitialized.*)
  }
  // Strings are the commonest counted values in scripts: their counts change inline.
  void addRefResource() noexcept {
    if (type_ == VarType::String && !array_) {
      ++u_.str->countAndMark;
    } else {
      addRefOther();
    }
  }
  void releaseResource() noexcept {
    if (type_ == VarType::String && !array_) {
      detail::StringRep* rep = u_.str;
      type_ = VarType::Empty;
      u_.i8 = 0;
      if ((--rep->countAndMark & ~detail::StringRep::kOddByte) == 0) destroyString(rep);
    } else {
      releaseOther();
    }
  }
  static void destroyString(detail::StringRep* rep) noexcept;
  // Whether this is text held in rep (null for the empty string).
  bool holdsTextOf(const detail::StringRep* rep) const noexcept {
    return type_ == VarType::String && !array_ && u_.str == rep;
  }
  // The end of the values from at that hold the text in rep.
  static const Variant* endOfTextRun(const Variant* at, const Variant* end,
                                     const detail::StringRep* rep) noexcept;
  void addRefOther() noexcept;
  void releaseOther() noexcept;

  VarType type_ = VarType::Empty;
  bool array_ = false;
  union Storage {
    bool b;
    std::uint8_t ui1;
    std::int16_t i2;
    std::int32_t i4;
    std::int64_t i8;
    std::int64_t cy;
    float r4;
    double r8;
    detail::DecimalRep* dec;  // Decimal is rare: kept out of line so a Variant stays 16 bytes
    Object* obj;
    detail::StringRep* str;
    SafeArray* arr;
  } u_;
};

static_assert(sizeof(Variant) == 16, "a Variant is a type tag and one machine word");

// Releases the values, and whatever they alone held, without recursion.
void releaseHeld(std::vector<Variant>& held) noexcept;

}  // namespace vantorel
