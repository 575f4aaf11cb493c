#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/class_factory.hpp"
#include "platform/automation/safe_array.hpp"
#include "support/raised_error.hpp"

namespace vantorel {
namespace {

// A small class that uses every kind of member the binder offers.
class Sample : public Object {
 public:
  explicit Sample(std::vector<std::u16string>* log = nullptr) : log_(log) {}

  std::int32_t count() const { return static_cast<std::int32_t>(items_.size()); }
  std::u16string name() const { return name_; }
  void setName(const std::u16string& n) { name_ = n; }
  Variant item(std::int32_t index) const { return items_.at(static_cast<std::size_t>(index - 1)); }
  void setItem(std::int32_t index, const Variant& v) {
    items_.at(static_cast<std::size_t>(index - 1)) = v;
  }
  bool add(const Variant& v, std::optional<std::int32_t> times) {
    for (std::int32_t i = 0; i < times.value_or(1); ++i) items_.push_back(v);
    return true;
  }
  void doubleIt(Variant& inOut) { inOut = Variant(toLong(inOut) * 2); }
  // Assigns the variable its text came from before it reads the text.
  std::u16string replaceThenRead(const std::u16string& text, Variant& source) {
    source = Variant(u"replaced");
    return text;
  }
  Ref<Enumerator> newEnum() override {
    return makeArrayEnumerator(Variant(SafeArray::fromValues(items_)));
  }

  const ClassInfo& classInfo() const noexcept override {
    static const ClassInfo info(u"Sample", [](ClassInfo& c) {
      ClassBuilder<Sample>(c)
          .get<&Sample::count>(u"Count")
          .prop<&Sample::name, &Sample::setName>(u"Name")
          .prop<&Sample::item, &Sample::setItem>(u"Item")
          .method<&Sample::add>(u"Add")
          .method<&Sample::doubleIt>(u"DoubleIt")
          .method<&Sample::replaceThenRead>(u"ReplaceThenRead")
          .defaultMember(u"Item")
          .enumerator<&Sample::newEnum>();
    });
    return info;
  }

 protected:
  void terminate() noexcept override {
    if (log_) log_->push_back(u"terminate " + name_);
  }

 private:
  std::vector<std::u16string>* log_;
  std::u16string name_;
  std::vector<Variant> items_;
};

Variant invoke(Object& o, std::u16string_view name, std::uint8_t flags, std::vector<Variant> args) {
  std::vector<Variant*> p;
  for (Variant& v : args) p.push_back(&v);
  return invokeByName(o, name, flags, CallArgs(p));
}

TEST(Dispatch, TextArgumentStaysWholeWhenTheCallAssignsItsVariable) {
  auto s = makeRef<Sample>();
  const std::u16string text = u"a text long enough to be kept on the heap";
  Variant v(text);
  std::vector<Variant*> args{&v, &v};
  EXPECT_EQ(toString(invokeByName(*s, u"ReplaceThenRead", kInvokeMethod, CallArgs(args))), text);
  EXPECT_EQ(toString(v), u"replaced");
  Variant number(std::int32_t{42});
  std::vector<Variant*> numberArgs{&number, &number};
  EXPECT_EQ(toString(invokeByName(*s, u"ReplaceThenRead", kInvokeMethod, CallArgs(numberArgs))),
            u"42");
}

TEST(Dispatch, NamesResolveWithoutRegardToCaseToStableIds) {
  auto s = makeRef<Sample>();
  DispId id = s->memberId(u"count");
  EXPECT_NE(id, kDispIdUnknown);
  EXPECT_EQ(id, s->memberId(u"COUNT"));
  EXPECT_EQ(s->memberId(u"NoSuchMember"), kDispIdUnknown);
  EXPECT_EQ(s->typeName(), u"Sample");
}

TEST(Dispatch, PropertiesMethodsAndDefaultMember) {
  auto s = makeRef<Sample>();
  s->let(u"name", Variant(u"first"));
  EXPECT_EQ(toString(s->get(u"Name")), u"first");

  EXPECT_TRUE(toBool(s->call(u"Add", {Variant(u"a")})));
  // The optional second argument repeats the item.
  s->call(u"Add", {Variant(7), Variant(std::int16_t{2})});
  EXPECT_EQ(toLong(s->get(u"Count")), 3);

  // Default member with an index argument, read and written.
  Variant one(1);
  Variant* args[] = {&one};
  EXPECT_EQ(toString(s->invoke(kDispIdValue, kInvokeGet | kInvokeMethod, CallArgs(args))), u"a");
  invoke(*s, u"Item", kInvokeLet, {Variant(2), Variant(u"changed")});
  EXPECT_EQ(toString(s->get(u"Item", {Variant(2)})), u"changed");
}

TEST(Dispatch, ByReferenceArgumentWritesBackToTheCallersVariable) {
  auto s = makeRef<Sample>();
  Variant x(21);
  Variant* args[] = {&x};
  invokeByName(*s, u"DoubleIt", kInvokeMethod, CallArgs(args));
  EXPECT_EQ(toLong(x), 42);
}

TEST(Dispatch, ErrorsForUnknownMembersAndWrongArgumentCounts) {
  auto s = makeRef<Sample>();
  struct Case {
    const char* what;
    std::int32_t expected;
    std::function<void()> call;
  } cases[] = {
      {"unknown member", 438, [&] { s->get(u"Nope"); }},
      {"too many arguments", 450,
       [&] {
         s->call(u"Add", {Variant(1), Variant(1), Variant(1)});
       }},
      {"missing required argument", 450, [&] { s->call(u"Add"); }},
      {"assignment to read-only property", 450, [&] { s->let(u"Count", Variant(3)); }},
      {"argument of the wrong type", 13,
       [&] {
         s->call(u"Add", {Variant(1), Variant(u"x")});
       }},
  };
  for (const Case& c : cases) EXPECT_EQ(test::errorOf(c.call), c.expected) << c.what;
}

TEST(Dispatch, EnumeratorWalksItemsAndIsReachableByName) {
  auto s = makeRef<Sample>();
  for (int i = 1; i <= 3; ++i) s->call(u"Add", {Variant(i)});
  Ref<Enumerator> e = s->newEnum();
  std::vector<std::int32_t> seen;
  for (Variant v; e->next(v);) seen.push_back(toLong(v));
  EXPECT_EQ(seen, (std::vector<std::int32_t>{1, 2, 3}));

  Variant viaName = s->get(u"_NewEnum");
  ASSERT_TRUE(viaName.isObject());
  auto* e2 = dynamic_cast<Enumerator*>(viaName.objectValue());
  ASSERT_NE(e2, nullptr);
  e2->skip(2);
  Variant last;
  EXPECT_TRUE(e2->next(last));
  EXPECT_EQ(toLong(last), 3);
  EXPECT_FALSE(e2->next(last));
}

TEST(Dispatch, LastReleaseRunsTerminateAtOnce) {
  std::vector<std::u16string> log;
  {
    auto s = makeRef<Sample>(&log);
    s->setName(u"a");
    Variant held(s);
    s.reset();
    EXPECT_TRUE(log.empty());  // the Variant still holds it
    held = Variant();
    EXPECT_EQ(log, std::vector<std::u16string>{u"terminate a"});
  }
  EXPECT_EQ(log.size(), 1u);
}

TEST(ClassFactory, CreatesRegisteredClassesByProgIdWithoutRegardToCase) {
  ClassFactory::instance().registerClass(u"Test.Sample",
                                         [] { return Ref<Object>(makeRef<Sample>()); });
  Ref<Object> o = ClassFactory::instance().create(u"test.SAMPLE");
  ASSERT_TRUE(o);
  EXPECT_EQ(o->typeName(), u"Sample");
  EXPECT_EQ(test::errorOf([] { ClassFactory::instance().create(u"No.Such"); }), 429);
}

TEST(SafeArray, MultiDimensionalBoundsAndPreservingResize) {
  Ref<SafeArray> a(new SafeArray({{1, 2}, {0, 3}}));  // (1 To 2, 0 To 2)
  std::int32_t idx[] = {2, 1};
  a->at(idx) = Variant(u"x");
  EXPECT_EQ(test::errorOf([&] {
              std::int32_t bad[] = {0, 0};
              a->at(bad);
            }),
            9);
  a->resizePreserving({{1, 2}, {0, 5}});
  EXPECT_EQ(toString(a->at(idx)), u"x");
  EXPECT_EQ(test::errorOf([&] { a->resizePreserving({{1, 3}, {0, 5}}); }), 9);

  // Copies share until written.
  Variant v1(a);
  Variant v2 = v1;
  v2.arrayForWrite().at(idx) = Variant(u"y");
  EXPECT_EQ(toString(v1.arrayValue().at(idx)), u"x");
  EXPECT_EQ(v1.varType(), 8204);
}

}  // namespace
}  // namespace vantorel
