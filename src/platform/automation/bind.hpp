#pragma once
// Binds C++ member functions into a class's member table. Arguments are converted from the
// caller's Variants by parameter type (the conversions of CStr, CLng, CBool, ...), results back
// into a Variant; std::optional parameters are optional, `Variant&` parameters are by reference.
//
//   ClassBuilder<Foo>(info)
//       .get<&Foo::count>(u"Count")
//       .prop<&Foo::name, &Foo::setName>(u"Name")
//       .method<&Foo::add>(u"Add")
//       .defaultMember(u"Item")
//       .enumerator<&Foo::newEnum>();
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/class_info.hpp"
#include "platform/automation/enumerator.hpp"
#include "platform/automation/variant_convert.hpp"

namespace vantorel {

namespace bind_detail {

template <class F>
struct FnTraits;
template <class T, class R, class... A>
struct FnTraits<R (T::*)(A...)> {
  using Class = T;
  using Ret = R;
  using Args = std::tuple<A...>;
};
template <class T, class R, class... A>
struct FnTraits<R (T::*)(A...) const> : FnTraits<R (T::*)(A...)> {};
template <class T, class R, class... A>
struct FnTraits<R (T::*)(A...) noexcept> : FnTraits<R (T::*)(A...)> {};
template <class T, class R, class... A>
struct FnTraits<R (T::*)(A...) const noexcept> : FnTraits<R (T::*)(A...)> {};
// A free function whose first parameter is the object: a member served by a layer above the
// class's own.
template <class T, class R, class... A>
struct FnTraits<R (*)(T&, A...)> : FnTraits<R (T::*)(A...)> {};
template <class T, class R, class... A>
struct FnTraits<R (*)(T&, A...) noexcept> : FnTraits<R (T::*)(A...)> {};

template <class A>
struct IsOptional : std::false_type {};
template <class A>
struct IsOptional<std::optional<A>> : std::true_type {};

const Variant& missingArgument() noexcept;

// Converts one argument to the parameter type P.
template <class P>
struct Arg;

template <>
struct Arg<Variant> {
  static Variant from(CallArgs a, std::size_t i) { return i < a.size() ? a[i] : missingArgument(); }
};
template <>
struct Arg<const Variant&> {
  static const Variant& from(CallArgs a, std::size_t i) {
    return i < a.size() ? a[i] : missingArgument();
  }
};
template <>
struct Arg<Variant&> {
  static Variant& from(CallArgs a, std::size_t i) { return a[i]; }
};
template <>
struct Arg<std::u16string> {
  static std::u16string from(CallArgs a, std::size_t i) { return toString(a[i]); }
};
// A string argument is passed without copying its text: the holder shares it, so that it stays
// whole even when the call runs script that assigns the variable it came from. Anything else is
// converted.
template <>
struct Arg<const std::u16string&> {
  class Text {
   public:
    explicit Text(const Variant& v) : held_(v.isString() ? v : Variant(toString(v))) {}
    operator const std::u16string&() const noexcept { return held_.stringValue(); }

   private:
    Variant held_;
  };
  static Text from(CallArgs a, std::size_t i) { return Text(a[i]); }
};
template <>
struct Arg<bool> {
  static bool from(CallArgs a, std::size_t i) { return toBool(a[i]); }
};
template <>
struct Arg<std::uint8_t> {
  static std::uint8_t from(CallArgs a, std::size_t i) { return toByte(a[i]); }
};
template <>
struct Arg<std::int16_t> {
  static std::int16_t from(CallArgs a, std::size_t i) { return toInteger(a[i]); }
};
template <>
struct Arg<std::int32_t> {
  static std::int32_t from(CallArgs a, std::size_t i) { return toLong(a[i]); }
};
template <>
struct Arg<float> {
  static float from(CallArgs a, std::size_t i) { return toSingle(a[i]); }
};
template <>
struct Arg<double> {
  static double from(CallArgs a, std::size_t i) { return toDouble(a[i]); }
};
template <>
struct Arg<Currency> {
  static Currency from(CallArgs a, std::size_t i) { return toCurrency(a[i]); }
};

Object* objectArgument(const Variant& v);  // Nothing gives nullptr; a non-object raises 13

template <class T>
struct Arg<Ref<T>> {
  static Ref<T> from(CallArgs a, std::size_t i) {
    Object* o = objectArgument(a[i]);
    if (!o) return nullptr;
    T* t = dynamic_cast<T*>(o);
    if (!t) raiseVbError(vberr::kTypeMismatch);
    return Ref<T>(t);
  }
};
template <class T>
struct Arg<const Ref<T>&> : Arg<Ref<T>> {};
template <class T>
struct Arg<T*> {
  static T* from(CallArgs a, std::size_t i) { return Arg<Ref<T>>::from(a, i).get(); }
};
template <class T>
struct Arg<std::optional<T>> {
  static std::optional<T> from(CallArgs a, std::size_t i) {
    if (!a.has(i)) return std::nullopt;
    return Arg<T>::from(a, i);
  }
};

template <class R>
Variant toResult(R&& r) {
  using D = std::remove_cvref_t<R>;
  if constexpr (std::is_same_v<D, Variant>) {
    return std::forward<R>(r);
  } else if constexpr (std::is_same_v<D, long> || std::is_same_v<D, long long> ||
                       std::is_same_v<D, std::size_t>) {
    return Variant(static_cast<std::int32_t>(r));
  } else if constexpr (std::is_pointer_v<D>) {
    return Variant(static_cast<Object*>(r));
  } else {
    return Variant(std::forward<R>(r));
  }
}

template <class Tuple>
constexpr std::size_t requiredCount() {
  return []<std::size_t... I>(std::index_sequence<I...>) {
    std::size_t n = 0;
    bool optionalSeen = false;
    ((optionalSeen =
          optionalSeen || IsOptional<std::remove_cvref_t<std::tuple_element_t<I, Tuple>>>::value,
      n += optionalSeen ? 0 : 1),
     ...);
    return n;
  }
  (std::make_index_sequence<std::tuple_size_v<Tuple>>());
}

[[noreturn]] void raiseWrongArgumentCount();

inline void checkArgumentCount(std::size_t given, std::size_t required, std::size_t allowed) {
  if (given < required || given > allowed) raiseWrongArgumentCount();
}

template <auto Fn>
Variant thunk(Object& self, CallArgs args) {
  using Tr = FnTraits<decltype(Fn)>;
  using T = typename Tr::Class;
  using Args = typename Tr::Args;
  constexpr std::size_t n = std::tuple_size_v<Args>;
  checkArgumentCount(args.size(), requiredCount<Args>(), n);
  auto& obj = static_cast<T&>(self);
  // Each kind of function is called as such: std::invoke would add three frames to the stack of
  // every call a script makes.
  return [&]<std::size_t... I>(std::index_sequence<I...>)->Variant {
    constexpr bool member = std::is_member_function_pointer_v<decltype(Fn)>;
    if constexpr (std::is_void_v<typename Tr::Ret> && member) {
      (obj.*Fn)(Arg<std::tuple_element_t<I, Args>>::from(args, I)...);
      return Variant();
    } else if constexpr (std::is_void_v<typename Tr::Ret>) {
      Fn(obj, Arg<std::tuple_element_t<I, Args>>::from(args, I)...);
      return Variant();
    } else if constexpr (member) {
      return toResult((obj.*Fn)(Arg<std::tuple_element_t<I, Args>>::from(args, I)...));
    } else {
      return toResult(Fn(obj, Arg<std::tuple_element_t<I, Args>>::from(args, I)...));
    }
  }
  (std::make_index_sequence<n>());
}

template <auto Fn>
Ref<Enumerator> enumThunk(Object& self) {
  using T = typename FnTraits<decltype(Fn)>::Class;
  return std::invoke(Fn, static_cast<T&>(self));
}

}  // namespace bind_detail

template <class T>
class ClassBuilder {
 public:
  explicit ClassBuilder(ClassInfo& info) : info_(info) {}

  // Defining a property again drops its slot accessors (so a get alone makes a catalog row read
  // only); the member keeps its place.
  template <auto Getter>
  ClassBuilder& get(std::u16string_view name) {
    MemberInfo& m = redefine(name);
    m.get = &bind_detail::thunk<Getter>;
    return *this;
  }
  // A read/write property; the setter takes the index arguments, if any, then the value.
  // Set (of an object) reaches the same setter as Let.
  template <auto Getter, auto Setter>
  ClassBuilder& prop(std::u16string_view name) {
    MemberInfo& m = redefine(name);
    m.get = &bind_detail::thunk<Getter>;
    m.let = &bind_detail::thunk<Setter>;
    m.set = &bind_detail::thunk<Setter>;
    return *this;
  }
  template <auto Setter>
  ClassBuilder& letOnly(std::u16string_view name) {
    MemberInfo& m = redefine(name);
    m.let = &bind_detail::thunk<Setter>;
    m.set = &bind_detail::thunk<Setter>;
    return *this;
  }
  template <auto Fn>
  ClassBuilder& method(std::u16string_view name) {
    info_.define(name).method = &bind_detail::thunk<Fn>;
    return *this;
  }
  // For members whose arguments need hand work (variadic lists, mixed kinds).
  ClassBuilder& rawMethod(std::u16string_view name, MethodThunk thunk) {
    info_.define(name).method = thunk;
    return *this;
  }
  ClassBuilder& rawGet(std::u16string_view name, MethodThunk thunk) {
    info_.define(name).get = thunk;
    return *this;
  }
  ClassBuilder& defaultMember(std::u16string_view name) {
    info_.setDefaultMember(name);
    return *this;
  }
  template <auto Fn>
  ClassBuilder& enumerator() {
    info_.setEnumerator(&bind_detail::enumThunk<Fn>);
    return *this;
  }
  // A property served by shared entry points that tell members apart by slot.
  ClassBuilder& slotProperty(std::u16string_view name, std::uint32_t slot, SlotThunk get,
                             SlotThunk let) {
    MemberInfo& m = redefine(name);
    m.slotGet = get;
    m.slotLet = let;
    m.slot = slot;
    return *this;
  }
  // One property per row of a settings catalog, in catalog order; `registerSettings` comes with
  // the catalog's type (found by argument-dependent lookup).
  template <auto Bag, class Catalog>
  ClassBuilder& settings(const Catalog& catalog) {
    registerSettings<Bag>(*this, catalog);
    return *this;
  }

 private:
  MemberInfo& redefine(std::u16string_view name) {
    MemberInfo& m = info_.define(name);
    m.slotGet = nullptr;
    m.slotLet = nullptr;
    return m;
  }

  ClassInfo& info_;
};

}  // namespace vantorel
