#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"
#include "platform/automation/safe_array.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/vbscript/objects/dictionary.hpp"

#include "object_test_support.hpp"
#include "support/raised_error.hpp"

namespace vantorel::vbs {
namespace {

using namespace object_test;

std::vector<std::u16string> strings(const Variant& array) {
  std::vector<std::u16string> out;
  for (const Variant& v : array.arrayValue().elements()) out.push_back(toString(v));
  return out;
}

Variant v(const char16_t* s) {
  return Variant(s);
}
Variant v(std::int32_t n) {
  return Variant(n);
}

class Plain final : public Object {
 public:
  const ClassInfo& classInfo() const noexcept override {
    static const ClassInfo info(u"Plain", [](ClassInfo&) {});
    return info;
  }
};

TEST(Dictionary, KeepsInsertionOrderAndRaisesItsErrors) {
  auto d = makeRef<Dictionary>();
  d->add(v(u"b"), v(u"Belgrade"));
  d->add(v(u"a"), v(u"Athens"));
  d->add(v(u"c"), v(u"Cairo"));
  EXPECT_EQ(d->count(), 3);
  EXPECT_EQ(strings(d->keys()), (std::vector<std::u16string>{u"b", u"a", u"c"}));
  EXPECT_EQ(strings(d->items()), (std::vector<std::u16string>{u"Belgrade", u"Athens", u"Cairo"}));
  EXPECT_EQ(d->keys().arrayValue().bound(1).lower, 0);

  EXPECT_EQ(test::errorOf([&] { d->add(v(u"a"), v(u"again")); }), vberr::kKeyAlreadyExists);
  EXPECT_EQ(test::errorOf([&] { d->remove(v(u"zz")); }), vberr::kElementNotFound);
  EXPECT_EQ(test::errorOf([&] { d->setKey(v(u"zz"), v(u"y")); }), vberr::kElementNotFound);
  EXPECT_EQ(test::errorOf([&] { d->setKey(v(u"a"), v(u"c")); }), vberr::kKeyAlreadyExists);
  EXPECT_EQ(test::errorOf([&] { d->setCompareMode(1); }), vberr::kInvalidProcedureCall);

  // Renaming keeps the entry's place.
  d->setKey(v(u"a"), v(u"x"));
  EXPECT_EQ(strings(d->keys()), (std::vector<std::u16string>{u"b", u"x", u"c"}));
  EXPECT_FALSE(d->exists(v(u"a")));
  EXPECT_EQ(toString(d->item(v(u"x"))), u"Athens");

  d->remove(v(u"b"));
  EXPECT_EQ(strings(d->keys()), (std::vector<std::u16string>{u"x", u"c"}));

  // Reading a missing key adds it, empty.
  EXPECT_TRUE(d->item(v(u"new")).isEmpty());
  EXPECT_TRUE(d->exists(v(u"new")));
  EXPECT_EQ(d->count(), 3);
  d->setItem(v(u"c"), v(u"Cairo 2"));
  d->setItem(v(u"d"), v(u"Dakar"));
  EXPECT_EQ(strings(d->items()),
            (std::vector<std::u16string>{u"Athens", u"Cairo 2", u"", u"Dakar"}));

  d->removeAll();
  EXPECT_EQ(d->count(), 0);
  d->setCompareMode(1);
  EXPECT_EQ(d->compareMode(), 1);
  EXPECT_EQ(test::errorOf([&] { d->setCompareMode(-1); }), vberr::kInvalidProcedureCall);
}

TEST(Dictionary, WhichKeysAreTheSame) {
  auto a = makeRef<Plain>();
  auto b = makeRef<Plain>();
  struct Row {
    Variant first;
    Variant second;
    std::int32_t mode;
    bool same;
  };
  const Row rows[] = {
      {Variant(std::int16_t{1}), Variant(std::int32_t{1}), 0, true},
      {Variant(std::int32_t{1}), Variant(1.0), 0, true},
      {Variant(std::uint8_t{7}), Variant(7.0f), 0, true},
      {Variant(Currency{25000}), Variant(2.5), 0, true},
      {Variant(0.0), Variant(-0.0), 0, true},
      {Variant(1.5), Variant(1.25), 0, false},
      {v(u"1"), v(1), 0, false},
      {Variant(), v(u""), 0, false},
      {Variant(), Variant(), 0, true},
      {Variant::null(), Variant(), 0, false},
      {Variant(true), Variant(std::int16_t{-1}), 0, false},
      {Variant::date(2.0), Variant(2.0), 0, false},
      {v(u"ABC"), v(u"abc"), 0, false},
      {v(u"ABC"), v(u"abc"), 1, true},
      {v(u"\u00c9t\u00e9"), v(u"\u00e9T\u00c9"), 1, true},
      {v(u"ab"), v(u"abc"), 1, false},
      {Variant(a), Variant(a), 0, true},
      {Variant(a), Variant(b), 0, false},
      {Variant::nothing(), Variant::nothing(), 0, true},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i);
    const Row& row = rows[i];
    auto d = makeRef<Dictionary>();
    d->setCompareMode(row.mode);
    d->add(row.first, v(u"first"));
    EXPECT_EQ(d->exists(row.second), row.same);
    EXPECT_EQ(test::errorOf([&] { d->add(row.second, v(u"second")); }),
              row.same ? vberr::kKeyAlreadyExists : 0);
    EXPECT_EQ(d->hashVal(row.first) == d->hashVal(row.second) || !row.same, true);
  }
  // Arrays cannot be keys.
  auto d = makeRef<Dictionary>();
  Variant array(SafeArray::fromValues({v(1)}));
  EXPECT_EQ(test::errorOf([&] { d->add(array, v(1)); }), vberr::kInvalidProcedureCall);
}

TEST(Dictionary, LateBoundMembersAndForEach) {
  auto d = makeRef<Dictionary>();
  Object& o = *d;
  EXPECT_EQ(o.typeName(), u"Dictionary");
  o.call(u"Add", {v(u"k1"), v(1)});
  // d("k2") = 2 and d("k1") read through the default member.
  invoke(o, kDispIdValue, kInvokeLet, {v(u"k2"), v(2)});
  EXPECT_EQ(toLong(invoke(o, kDispIdValue, kInvokeGet | kInvokeMethod, {v(u"k1")})), 1);
  invoke(o, o.memberId(u"key"), kInvokeLet, {v(u"k1"), v(u"k0")});
  EXPECT_TRUE(toBool(o.call(u"Exists", {v(u"k0")})));
  EXPECT_EQ(toLong(o.get(u"Count")), 2);
  EXPECT_EQ(test::errorOf([&] { o.let(u"CompareMode", v(1)); }),
            vberr::kInvalidProcedureCall);  // not empty
  EXPECT_EQ(toLong(o.get(u"CompareMode")), 0);

  // For Each walks the keys as they were when the walk began.
  Ref<Enumerator> e = d->newEnum();
  d->add(v(u"k3"), v(3));
  std::vector<std::u16string> walked;
  for (Variant key; e->next(key);) walked.push_back(toString(key));
  EXPECT_EQ(walked, (std::vector<std::u16string>{u"k0", u"k2"}));
}

// Compared with a plain model over a random run of operations, so that removal holes,
// compaction and table growth are all crossed many times.
TEST(Dictionary, RandomOperationsMatchAModel) {
  std::mt19937 rng(7);
  auto d = makeRef<Dictionary>();
  std::vector<std::pair<std::int32_t, std::int32_t>> model;
  auto find = [&](std::int32_t k) {
    for (std::size_t i = 0; i < model.size(); ++i) {
      if (model[i].first == k) return static_cast<std::ptrdiff_t>(i);
    }
    return std::ptrdiff_t{-1};
  };
  for (int step = 0; step < 20000; ++step) {
    const std::int32_t key = static_cast<std::int32_t>(rng() % 300);
    const Variant k = (rng() % 2) ? Variant(key) : Variant(static_cast<double>(key));
    const std::ptrdiff_t at = find(key);
    switch (rng() % 5) {
      case 0:
      case 1:
        if (at < 0) {
          d->add(k, v(step));
          model.emplace_back(key, step);
        } else {
          EXPECT_EQ(test::errorOf([&] { d->add(k, v(step)); }), vberr::kKeyAlreadyExists);
        }
        break;
      case 2:
        if (at < 0) {
          EXPECT_EQ(test::errorOf([&] { d->remove(k); }), vberr::kElementNotFound);
        } else {
          d->remove(k);
          model.erase(model.begin() + at);
        }
        break;
      case 3:
        d->setItem(k, v(step));
        if (at < 0) {
          model.emplace_back(key, step);
        } else {
          model[static_cast<std::size_t>(at)].second = step;
        }
        break;
      case 4:
        ASSERT_EQ(d->exists(k), at >= 0);
        if (at >= 0) {
          ASSERT_EQ(toLong(d->item(k)), model[static_cast<std::size_t>(at)].second);
        }
        break;
    }
    if (step % 997 == 0 || step == 19999) {
      ASSERT_EQ(d->count(), static_cast<std::int32_t>(model.size()));
      const Variant keys = d->keys();
      const Variant items = d->items();
      for (std::size_t i = 0; i < model.size(); ++i) {
        ASSERT_EQ(toLong(keys.arrayValue().elements()[i]), model[i].first);
        ASSERT_EQ(toLong(items.arrayValue().elements()[i]), model[i].second);
      }
    }
    if (step == 15000) {
      d->removeAll();
      model.clear();
    }
  }
}

// An item whose Class_Terminate uses the dictionary that is letting it go.
class Reentrant final : public Object {
 public:
  explicit Reentrant(Dictionary* owner) : owner_(owner) {}
  const ClassInfo& classInfo() const noexcept override {
    static const ClassInfo info(u"Reentrant", [](ClassInfo&) {});
    return info;
  }

 protected:
  void terminate() noexcept override {
    owner_->setItem(v(u"terminated"), Variant(owner_->count()));
    for (std::int32_t i = 0; i < 50; ++i) owner_->setItem(v(i), v(i));
  }

 private:
  Dictionary* owner_;
};

TEST(Dictionary, ReleasingAnItemMayUseTheDictionary) {
  auto d = makeRef<Dictionary>();
  d->add(v(u"x"), Variant(makeRef<Reentrant>(d.get())));
  d->add(v(u"y"), v(1));
  d->remove(v(u"x"));
  EXPECT_EQ(toLong(d->item(v(u"terminated"))), 1);
  EXPECT_EQ(d->count(), 52);

  d->setItem(v(u"z"), Variant(makeRef<Reentrant>(d.get())));
  d->removeAll();
  EXPECT_EQ(toLong(d->item(v(u"terminated"))), 0);
  EXPECT_EQ(d->count(), 51);
}

}  // namespace
}  // namespace vantorel::vbs
