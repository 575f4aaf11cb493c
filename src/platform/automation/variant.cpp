#include "platform/automation/variant.hpp"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/automation/object.hpp"
#include "platform/automation/safe_array.hpp"

namespace vantorel {

const std::u16string& detail::emptyString() noexcept {
  static const std::u16string empty;
  return empty;
}

Variant::Variant(std::u16string text) : type_(VarType::String) {
  u_.str = text.empty() ? nullptr : new detail::StringRep{1, std::move(text)};
}

Variant Variant::byteString(std::u16string units, bool oddByte) {
  Variant v(std::move(units));
  if (oddByte && v.u_.str) v.u_.str->countAndMark |= detail::StringRep::kOddByte;
  return v;
}

Variant::Variant(const Decimal& v) : type_(VarType::Decimal) {
  u_.dec = new detail::DecimalRep{1, v};
}

Variant::Variant(Object* object) noexcept : type_(VarType::Object) {
  u_.obj = object;
  if (object) object->addRef();
}

Variant::Variant(const Ref<SafeArray>& array) noexcept : type_(VarType::Variant), array_(true) {
  u_.arr = array.get();
  if (u_.arr) {
    u_.arr->addRef();
    type_ = u_.arr->elementType();
  } else {
    // An array reference that holds nothing is an uninitialised dynamic array's value: Empty.
    array_ = false;
    type_ = VarType::Empty;
    u_.i8 = 0;
  }
}

Variant Variant::null() noexcept {
  Variant v;
  v.type_ = VarType::Null;
  return v;
}

Variant Variant::date(double oleDate) noexcept {
  Variant v(oleDate);
  v.type_ = VarType::Date;
  return v;
}

Variant Variant::error(std::int32_t code) noexcept {
  Variant v(code);
  v.type_ = VarType::Error;
  return v;
}

std::u16string Variant::takeString() {
  std::u16string text;
  if (detail::StringRep* rep = u_.str) {
    if ((rep->countAndMark & ~detail::StringRep::kOddByte) == 1) {
      text = std::move(rep->text);
    } else {
      text = rep->text;
    }
    releaseResource();
  } else {
    type_ = VarType::Empty;  // the empty string holds nothing
  }
  return text;
}

void Variant::destroyString(detail::StringRep* rep) noexcept {
  delete rep;
}

void Variant::addRefOther() noexcept {
  if (array_) {
    u_.arr->addRef();
  } else if (type_ == VarType::Decimal) {
    ++u_.dec->refs;
  } else {
    u_.obj->addRef();
  }
}

void Variant::releaseOther() noexcept {
  // Reset first: releasing an object may run script code that reads this variable again.
  VarType type = type_;
  bool array = array_;
  auto u = u_;
  type_ = VarType::Empty;
  array_ = false;
  u_.i8 = 0;
  if (array) {
    u.arr->release();
  } else if (type == VarType::Decimal) {
    if (--u.dec->refs == 0) delete u.dec;
  } else if (type == VarType::Object && u.obj) {
    u.obj->release();
  }
}

void Variant::releaseInto(std::vector<Variant>& held) noexcept {
  if (!holdsContainer()) {
    clear();
    return;
  }
  const bool array = array_;
  auto u = u_;
  type_ = VarType::Empty;
  array_ = false;
  u_.i8 = 0;
  if (array) {
    u.arr->releaseInto(held);
  } else {
    u.obj->releaseInto(held);
  }
}

const Variant* Variant::endOfTextRun(const Variant* at, const Variant* end,
                                     const detail::StringRep* rep) noexcept {
#if defined(__SSE2__)
  // Eight values a pass, each compared in one piece but for its padding: the tag (String), the
  // array flag (clear) and the text pointer.
  static_assert(offsetof(Variant, type_) == 0 && sizeof(VarType) == 2 &&
                offsetof(Variant, array_) == 2 && offsetof(Variant, u_) == 8);
  constexpr int kCompared = 0xFF07;  // bytes 0 to 2 and 8 to 15
  const __m128i pattern =
      _mm_set_epi64x(static_cast<long long>(reinterpret_cast<std::uintptr_t>(rep)),
                     static_cast<long long>(VarType::String));
  const auto matches = [&pattern](const Variant* v) {
    return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(v)), pattern);
  };
  const auto matchFour = [&matches](const Variant* v) {
    return _mm_and_si128(_mm_and_si128(matches(v), matches(v + 1)),
                         _mm_and_si128(matches(v + 2), matches(v + 3)));
  };
  while (end - at >= 8) {
    const __m128i all = _mm_and_si128(matchFour(at), matchFour(at + 4));
    if ((_mm_movemask_epi8(all) & kCompared) != kCompared) break;
    at += 8;
  }
  if (end - at >= 4 && (_mm_movemask_epi8(matchFour(at)) & kCompared) == kCompared) at += 4;
#endif
  while (at != end && at->holdsTextOf(rep)) ++at;
  return at;
}

void Variant::releaseAll(Variant* first, std::size_t n, std::vector<Variant>& held) noexcept {
  Variant* const end = first + n;
  for (Variant* v = first; v != end;) {
    if (v->isString()) {
      // A run of one string drops its count once.
      const Variant* runEnd = endOfSharedText(v, end);
      detail::StringRep* rep = v->u_.str;
      const auto count = static_cast<std::uint64_t>(runEnd - v);
      if (rep && ((rep->countAndMark -= count) & ~detail::StringRep::kOddByte) == 0) {
        destroyString(rep);
      }
      v += count;
      continue;
    }
    if (v->holdsContainer()) {
      held.push_back(std::move(*v));
    } else if (v->ownsResource()) {
      v->releaseOther();  // a Decimal
    }
    ++v;
  }
}

void releaseHeld(std::vector<Variant>& held) noexcept {
  while (!held.empty()) {
    Variant v = std::move(held.back());
    held.pop_back();
    v.releaseInto(held);
  }
}

int Variant::varType() const noexcept {
  if (array_) return static_cast<int>(VarType::Array) | static_cast<int>(type_);
  return static_cast<int>(type_);
}

bool Variant::isNumericType() const noexcept {
  return !array_ && isNumericVarType(type_);
}

SafeArray& Variant::arrayForWrite() {
  if (u_.arr->refCount() > 1) {
    Ref<SafeArray> copy = u_.arr->clone();
    u_.arr->release();
    u_.arr = copy.detach();
  }
  return *u_.arr;
}

Ref<SafeArray> Variant::arrayRef() const noexcept {
  return array_ ? Ref<SafeArray>(u_.arr) : nullptr;
}

}  // namespace vantorel
