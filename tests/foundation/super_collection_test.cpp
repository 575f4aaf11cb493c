#include "foundation/super_collection.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "foundation/collection_keys.hpp"
#include "foundation/properties.hpp"
#include "platform/automation/automation_error.hpp"
#include "platform/automation/variant_convert.hpp"
#include "platform/text/case_fold.hpp"
#include "platform/text/unicode.hpp"
#include "support/raised_error.hpp"

namespace vantorel {
namespace {

constexpr std::int32_t kAlready = collection_error::kAlreadyInitialized;
constexpr std::int32_t kNotFound = collection_error::kKeyNotFound;
constexpr std::int32_t kInLoop = collection_error::kMoveInLoop;
constexpr std::int32_t kBadType = collection_error::kInvalidDatatype;
constexpr std::int32_t kNoPos = collection_error::kNoPositionSupplied;

// "a,b,c": the items (plain strings) in position order.
std::string contents(CSuperCollection& c) {
  std::string out;
  for (std::int32_t i = 0; i < c.count(); ++i) {
    if (i) out += ",";
    out += toUtf8(toString(c.valueAt(static_cast<std::size_t>(i))));
  }
  return out;
}

// The values a walk yields, optionally running `body` after each one.
std::string walk(CSuperCollection& c,
                 const std::function<void(int, const Variant&)>& body = nullptr) {
  Ref<Enumerator> e = c.newEnum();
  std::string out;
  Variant v;
  for (int n = 0; e->next(v); ++n) {
    if (!out.empty()) out += ",";
    out += toUtf8(toString(v));
    if (body) body(n, v);
  }
  return out;
}

Ref<CSuperCollection> keyed(std::int32_t mode, std::initializer_list<const char16_t*> keys) {
  auto c = makeRef<CSuperCollection>();
  c->setCompareMode(mode);
  for (const char16_t* k : keys) c->add(Variant(std::u16string(k)), k);
  return c;
}

TEST(SuperCollection, KeysFollowTheCompareMode) {
  struct Case {
    const char16_t* first;
    const char16_t* second;
    const char16_t* probe;
    std::int32_t mode;
    std::int32_t addError;
    std::int32_t probePosition;
  };
  const Case cases[] = {
      {u"Name", u"NAME", u"nAmE", 1, vberr::kKeyAlreadyExists, 1},
      {u"Name", u"Other", u"OTHER", 1, 0, 2},
      {u"\u00c9t\u00e9", u"\u00e9T\u00c9", u"\u00e9t\u00e9", 1, vberr::kKeyAlreadyExists, 1},
      {u"Name", u"NAME", u"NAME", 0, 0, 2},
      {u"Name", u"NAME", u"name", 0, 0, kNoPosition},
      {u"Name", u"Name", u"Name", 0, vberr::kKeyAlreadyExists, 1},
      {u"a", u"b", u"", 1, 0, kNoPosition},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(toUtf8(tc.first) + " / " + toUtf8(tc.second) + " mode " + std::to_string(tc.mode));
    Ref<CSuperCollection> c = keyed(tc.mode, {tc.first});
    EXPECT_EQ(test::errorOf([&] { c->add(Variant(std::u16string(tc.second)), tc.second); }),
              tc.addError);
    EXPECT_EQ(c->count(), tc.addError ? 1 : 2);
    EXPECT_EQ(c->keyExists(tc.probe), tc.probePosition);
  }
}

TEST(SuperCollection, EmptyAndKeylessItems) {
  auto c = makeRef<CSuperCollection>();
  EXPECT_EQ(c->count(), 0);
  EXPECT_EQ(c->compareMode(), 0);
  EXPECT_EQ(c->baseIndex(), 1);
  EXPECT_EQ(test::errorOf([&] { c->key(1); }), vberr::kSubscriptOutOfRange);
  EXPECT_TRUE(c->item(Variant(std::int32_t{1})).isEmpty());
  c->add(Variant(u"x"));
  c->add(Variant(u"y"));
  EXPECT_EQ(c->count(), 2);
  EXPECT_EQ(c->keyExists(u""), kNoPosition);
  EXPECT_EQ(c->key(2), u"");
  EXPECT_EQ(c->keys()->count(), 0);
}

TEST(SuperCollection, IndexArgumentsByKind) {
  Ref<CSuperCollection> c = keyed(1, {u"first", u"2", u"third"});
  struct Case {
    const char* label;
    Variant index;
    std::string item;  // "" for Empty
    std::int32_t itemError;
    std::int32_t removeError;
  };
  const Case cases[] = {
      {"string key", Variant(u"THIRD"), "third", 0, 0},
      {"string 2 is a key", Variant(u"2"), "2", 0, 0},
      {"Long 2", Variant(std::int32_t{2}), "2", 0, 0},
      {"Integer 3", Variant(std::int16_t{3}), "third", 0, 0},
      {"Byte 1", Variant(std::uint8_t{1}), "first", 0, 0},
      {"Double 1.5", Variant(1.5), "2", 0, 0},
      {"Double 2.5", Variant(2.5), "2", 0, 0},
      {"Single 2.5", Variant(2.5f), "2", 0, 0},
      {"Double 3.5", Variant(3.5), "", 0, vberr::kSubscriptOutOfRange},
      {"position 0", Variant(std::int32_t{0}), "", 0, vberr::kSubscriptOutOfRange},
      {"huge", Variant(1e300), "", 0, vberr::kSubscriptOutOfRange},
      {"missing key", Variant(u"nope"), "", 0, kNotFound},
      {"empty key", Variant(u""), "", 0, kNotFound},
      {"Boolean", Variant(true), "", kBadType, kBadType},
      {"Empty", Variant(), "", kBadType, kBadType},
      {"Null", Variant::null(), "", kBadType, kBadType},
      {"Currency", Variant(Currency{20000}), "", kBadType, kBadType},
      {"Date", Variant::date(2.0), "", kBadType, kBadType},
      {"Object", Variant(c), "", kBadType, kBadType},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    Variant got;
    EXPECT_EQ(test::errorOf([&] { got = c->item(tc.index); }), tc.itemError);
    EXPECT_EQ(got.isEmpty() ? "" : toUtf8(toString(got)), tc.item);
    if (tc.removeError) {
      EXPECT_EQ(test::errorOf([&] { c->remove(tc.index); }), tc.removeError);
      EXPECT_EQ(contents(*c), "first,2,third");
    }
  }
}

TEST(SuperCollection, RemovalRenumbersPositions) {
  Ref<CSuperCollection> c = keyed(1, {u"a", u"b", u"c", u"d", u"e"});
  c->remove(Variant(std::int32_t{2}));
  EXPECT_EQ(contents(*c), "a,c,d,e");
  EXPECT_EQ(c->keyExists(u"b"), kNoPosition);
  EXPECT_EQ(c->keyExists(u"C"), 2);
  EXPECT_EQ(c->keyExists(u"d"), 3);
  EXPECT_EQ(c->keyExists(u"e"), 4);
  EXPECT_EQ(c->key(2), u"c");
  c->remove(Variant(u"E"));
  c->remove(Variant(u"a"));
  EXPECT_EQ(contents(*c), "c,d");
  EXPECT_EQ(c->keyExists(u"c"), 1);
  EXPECT_EQ(c->keyExists(u"d"), 2);
  // A freed last slot is reused; the key is free again too.
  c->add(Variant(u"e2"), u"e");
  EXPECT_EQ(c->keyExists(u"e"), 3);
  c->remove(Variant(u"c"));
  c->remove(Variant(u"d"));
  c->remove(Variant(u"e"));
  EXPECT_EQ(c->count(), 0);
  EXPECT_EQ(c->keys()->count(), 0);
}

TEST(SuperCollection, ChangeKey) {
  struct Case {
    const char* label;
    const char16_t* oldKey;
    const char16_t* newKey;
    std::int32_t error;
    std::int32_t oldPosition;  // KeyExists(oldKey) afterwards
    std::int32_t newPosition;  // KeyExists(newKey) afterwards
    std::u16string keyOfTwo;   // Key(2) afterwards
  };
  const Case cases[] = {
      {"rename", u"beta", u"delta", 0, kNoPosition, 2, u"delta"},
      {"same key other case", u"beta", u"BETA", 0, 2, 2, u"BETA"},
      {"other item's key", u"beta", u"Gamma", vberr::kKeyAlreadyExists, 2, 3, u"beta"},
      {"missing old key", u"zeta", u"delta", kNotFound, kNoPosition, kNoPosition, u"beta"},
      {"missing old key, new in other case", u"zeta", u"ZETA", kNotFound, kNoPosition, kNoPosition,
       u"beta"},
      {"to no key", u"beta", u"", 0, kNoPosition, kNoPosition, u""},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    Ref<CSuperCollection> c = keyed(1, {u"alpha", u"beta", u"gamma"});
    EXPECT_EQ(test::errorOf([&] { c->changeKey(tc.oldKey, tc.newKey); }), tc.error);
    EXPECT_EQ(c->keyExists(tc.oldKey), tc.oldPosition);
    EXPECT_EQ(c->keyExists(tc.newKey), tc.newPosition);
    EXPECT_EQ(c->key(2), tc.keyOfTwo);
    EXPECT_EQ(c->count(), 3);
  }
}

TEST(SuperCollection, ChangeKeyOfCaseKeepsTheKeyEntrySpelling) {
  Ref<CSuperCollection> c = keyed(1, {u"beta"});
  c->changeKey(u"beta", u"BETA");
  EXPECT_EQ(c->key(1), u"BETA");
  std::vector<CollectionKey> keys = c->sortedKeys();
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].name, u"beta");
  // The item stays reachable and removable under either spelling.
  c->remove(Variant(u"Beta"));
  EXPECT_EQ(c->count(), 0);
  EXPECT_EQ(c->keys()->count(), 0);
}

TEST(SuperCollection, OrdinalModeRefusesAnotherItemsKeyDifferingInCase) {
  Ref<CSuperCollection> c = keyed(0, {u"abc", u"ABC"});
  EXPECT_EQ(test::errorOf([&] { c->changeKey(u"abc", u"ABC"); }), vberr::kKeyAlreadyExists);
  EXPECT_EQ(c->key(1), u"abc");
}

TEST(SuperCollection, ChangeKeyWritesTheItemsKey) {
  auto c = makeRef<CSuperCollection>();
  c->setCompareMode(1);
  auto p = makeRef<AGProperty>();
  p->setName(u"Old");
  c->add(Variant(p), u"Old");
  c->changeKey(u"old", u"New");
  EXPECT_EQ(p->name(), u"New");
  c->changeKeyForIndex(1, u"Third");
  EXPECT_EQ(p->name(), u"Third");
  EXPECT_EQ(c->keyExists(u"THIRD"), 1);
  EXPECT_EQ(c->keyExists(u"New"), kNoPosition);
}

TEST(SuperCollection, ChangeKeyForIndex) {
  Ref<CSuperCollection> c = keyed(1, {u"a", u"b"});
  c->add(Variant(u"keyless"));
  c->changeKeyForIndex(3, u"c");
  EXPECT_EQ(c->keyExists(u"C"), 3);
  EXPECT_EQ(test::errorOf([&] { c->changeKeyForIndex(3, u"A"); }), vberr::kKeyAlreadyExists);
  EXPECT_EQ(test::errorOf([&] { c->changeKeyForIndex(9, u"z"); }), 0);
  c->changeKeyForIndex(1, u"");
  EXPECT_EQ(c->keyExists(u"a"), kNoPosition);
  EXPECT_EQ(c->keys()->count(), 2);
  // Through the member table the position arrives as text.
  c->call(u"ChangeKeyForIndex", {Variant(u"2"), Variant(u"bee")});
  EXPECT_EQ(c->keyExists(u"bee"), 2);
  c->call(u"ChangeKeyForIndex", {Variant(u"7"), Variant(u"x")});
  EXPECT_EQ(c->keyExists(u"x"), kNoPosition);
}

TEST(SuperCollection, KeysWalkInKeyOrder) {
  Ref<CSuperCollection> c = keyed(1, {u"pear", u"Apple", u"banana", u"cherry"});
  c->remove(Variant(u"banana"));
  Ref<CKeys> keys = c->keys();
  EXPECT_EQ(keys->count(), 3);
  Ref<Enumerator> e = keys->newEnum();
  std::string out;
  for (Variant v; e->next(v);) {
    out += toUtf8(toString(v.objectValue()->get(u"Name"))) + "@" +
           toUtf8(toString(v.objectValue()->get(u"AssociatedIndex"))) + " ";
  }
  EXPECT_EQ(out, "Apple@2 cherry@3 pear@1 ");
  c.reset();
  EXPECT_EQ(keys->count(), 0);
}

TEST(SuperCollection, AddInsertModes) {
  struct Case {
    const char* label;
    std::int32_t mode;
    std::int32_t position;
    std::int32_t error;
    std::string after;
  };
  const Case cases[] = {
      {"append", kInsertLast, kNoPosition, 0, "a,b,c,N"},
      {"mode 0", 0, kNoPosition, 0, "a,b,c,N"},
      {"before 2", kInsertBefore, 2, 0, "a,N,b,c"},
      {"before 1", kInsertBefore, 1, 0, "N,a,b,c"},
      {"after 2", kInsertAfter, 2, 0, "a,b,N,c"},
      {"after last", kInsertAfter, 3, 0, "a,b,c,N"},
      {"first", kInsertFirst, kNoPosition, 0, "N,a,b,c"},
      {"before, no position", kInsertBefore, kNoPosition, kNoPos, "a,b,c"},
      {"after, no position", kInsertAfter, kNoPosition, kNoPos, "a,b,c"},
      {"position 0", kInsertBefore, 0, vberr::kSubscriptOutOfRange, "a,b,c"},
      {"position past end", kInsertLast, 4, vberr::kSubscriptOutOfRange, "a,b,c"},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    Ref<CSuperCollection> c = keyed(1, {u"a", u"b", u"c"});
    EXPECT_EQ(test::errorOf([&] { c->add(Variant(u"N"), u"n", tc.mode, tc.position); }), tc.error);
    EXPECT_EQ(contents(*c), tc.after);
    if (!tc.error) {
      for (std::int32_t p = 1; p <= c->count(); ++p) {
        EXPECT_EQ(c->keyExists(toLower(c->key(p))), p);
      }
    } else {
      EXPECT_EQ(c->keyExists(u"n"), kNoPosition);
    }
  }
}

TEST(SuperCollection, MoveItem) {
  struct Case {
    Variant moved;
    Variant target;
    std::int32_t error;
    std::int32_t result;
    std::string after;
  };
  const Case cases[] = {
      {Variant(std::int32_t{1}), Variant(std::int32_t{4}), 0, 4, "b,c,d,a,e"},
      {Variant(u"e"), Variant(std::int32_t{2}), 0, 2, "a,e,b,c,d"},
      {Variant(u"B"), Variant(u"D"), 0, 4, "a,c,d,b,e"},
      {Variant(std::int32_t{3}), Variant(3.0), 0, 3, "a,b,c,d,e"},
      {Variant(u"zz"), Variant(std::int32_t{1}), kNotFound, 0, "a,b,c,d,e"},
      {Variant(std::int32_t{1}), Variant(std::int32_t{6}), vberr::kSubscriptOutOfRange, 0,
       "a,b,c,d,e"},
      {Variant(true), Variant(std::int32_t{1}), kBadType, 0, "a,b,c,d,e"},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.after);
    Ref<CSuperCollection> c = keyed(1, {u"a", u"b", u"c", u"d", u"e"});
    std::int32_t result = 0;
    EXPECT_EQ(test::errorOf([&] { result = c->moveItem(tc.moved, tc.target); }), tc.error);
    EXPECT_EQ(result, tc.result);
    EXPECT_EQ(contents(*c), tc.after);
    for (std::int32_t p = 1; p <= 5; ++p) EXPECT_EQ(c->keyExists(c->key(p)), p);
  }
}

TEST(SuperCollection, MoveRefusedDuringAWalk) {
  Ref<CSuperCollection> c = keyed(1, {u"a", u"b", u"c"});
  {
    Ref<Enumerator> e = c->newEnum();
    Ref<Enumerator> twin = e->clone();
    e.reset();
    EXPECT_EQ(c->aliveEnumerators(), 1);
    EXPECT_EQ(test::errorOf([&] { c->moveItem(Variant(u"a"), Variant(u"c")); }), kInLoop);
    // An insert that would move the new item is refused before it is added.
    EXPECT_EQ(test::errorOf([&] { c->add(Variant(u"N"), u"n", kInsertFirst); }), kInLoop);
    EXPECT_EQ(contents(*c), "a,b,c");
  }
  EXPECT_EQ(c->aliveEnumerators(), 0);
  EXPECT_EQ(c->moveItem(Variant(u"a"), Variant(u"c")), 3);
  EXPECT_EQ(c->keyExists(u"b"), 1);
  EXPECT_EQ(c->keyExists(u"c"), 2);
  EXPECT_EQ(c->keyExists(u"a"), 3);
}

TEST(SuperCollection, WalkWithChangesUnderWay) {
  struct Case {
    const char* label;
    std::function<void(CSuperCollection&, int)> body;
    std::string yielded;
    std::string after;
  };
  const Case cases[] = {
      {"plain", nullptr, "a,b,c,d,e", "a,b,c,d,e"},
      {"remove the third before it is reached",
       [](CSuperCollection& c, int n) {
         if (n == 1) c.remove(Variant(u"c"));
       },
       "a,b,d,e", "a,b,d,e"},
      {"remove the current item",
       [](CSuperCollection& c, int n) {
         if (n == 0) c.remove(Variant(u"a"));
       },
       "a,b,c,d,e", "b,c,d,e"},
      {"append during the walk",
       [](CSuperCollection& c, int n) {
         if (n == 1) c.add(Variant(u"f"), u"f");
       },
       "a,b,c,d,e,f", "a,b,c,d,e,f"},
      {"append during the last step",
       [](CSuperCollection& c, int n) {
         if (n == 4) c.add(Variant(u"f"), u"f");
       },
       "a,b,c,d,e,f", "a,b,c,d,e,f"},
      {"remove the last and append: the freed slot is reused",
       [](CSuperCollection& c, int n) {
         if (n == 1) {
           c.remove(Variant(u"e"));
           c.add(Variant(u"f"), u"f");
         }
       },
       "a,b,c,d,f", "a,b,c,d,f"},
      {"clear ends the walk",
       [](CSuperCollection& c, int n) {
         if (n == 1) {
           c.clear();
           c.add(Variant(u"z"), u"z");
         }
       },
       "a,b", "z"},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    Ref<CSuperCollection> c = keyed(1, {u"a", u"b", u"c", u"d", u"e"});
    EXPECT_EQ(walk(*c,
                   [&](int n, const Variant&) {
                     if (tc.body) tc.body(*c, n);
                   }),
              tc.yielded);
    EXPECT_EQ(contents(*c), tc.after);
    EXPECT_EQ(c->aliveEnumerators(), 0);
  }
}

TEST(SuperCollection, EnumeratorProtocol) {
  Ref<CSuperCollection> c = keyed(1, {u"a", u"b", u"c", u"d"});
  Ref<Enumerator> e = c->newEnum();
  Variant v;
  e->skip(2);
  ASSERT_TRUE(e->next(v));
  EXPECT_EQ(v.stringValue(), u"c");
  Ref<Enumerator> twin = e->clone();
  EXPECT_EQ(c->aliveEnumerators(), 2);
  ASSERT_TRUE(twin->next(v));
  EXPECT_EQ(v.stringValue(), u"d");
  e->reset();
  ASSERT_TRUE(e->next(v));
  EXPECT_EQ(v.stringValue(), u"a");
  // A walk whose collection is gone yields nothing more, and releasing it is harmless.
  c.reset();
  EXPECT_FALSE(e->next(v));
  EXPECT_FALSE(twin->next(v));
  auto empty = makeRef<CSuperCollection>();
  EXPECT_EQ(walk(*empty), "");
}

TEST(SuperCollection, SettingsOfAnEmptyCollection) {
  Ref<CSuperCollection> c = keyed(0, {u"a"});
  EXPECT_EQ(test::errorOf([&] { c->setCompareMode(1); }), kAlready);
  EXPECT_EQ(test::errorOf([&] { c->setBaseIndex(0); }), kAlready);
  EXPECT_EQ(test::errorOf([&] { c->let(u"CompareMode", Variant(std::int32_t{1})); }), kAlready);
  c->remove(Variant(u"a"));
  EXPECT_EQ(test::errorOf([&] { c->setCompareMode(2); }), vberr::kSubscriptOutOfRange);
  c->setCompareMode(1);
  c->setBaseIndex(0);
  c->add(Variant(u"x"), u"X");
  c->add(Variant(u"y"), u"Y");
  EXPECT_EQ(c->keyExists(u"x"), 0);
  EXPECT_EQ(c->keyExists(u"y"), 1);
  EXPECT_EQ(toString(c->item(Variant(std::int32_t{0}))), u"x");
  EXPECT_EQ(test::errorOf([&] { c->key(2); }), vberr::kSubscriptOutOfRange);
  c->clear();
  EXPECT_EQ(c->count(), 0);
  EXPECT_EQ(c->baseIndex(), 0);
  EXPECT_EQ(c->compareMode(), 1);
}

TEST(SuperCollection, ItemAssignment) {
  Ref<CSuperCollection> c = keyed(1, {u"a", u"b"});
  EXPECT_EQ(test::errorOf([&] { c->setItem(Variant(u"a"), Variant(u"A2")); }),
            vberr::kNotSupported);
  c->setAllowItemAsignments(true);
  c->setItem(Variant(u"a"), Variant(std::int32_t{7}));
  EXPECT_EQ(toString(c->item(Variant(u"A"))), u"7");
  EXPECT_EQ(c->key(1), u"a");
  EXPECT_EQ(test::errorOf([&] { c->setItem(Variant(u"zz"), Variant(1.0)); }), kNotFound);
  EXPECT_EQ(test::errorOf([&] { c->setItem(Variant(std::int32_t{5}), Variant(1.0)); }), kNotFound);
  EXPECT_EQ(test::errorOf([&] { c->setItem(Variant(true), Variant(1.0)); }), kBadType);
}

TEST(SuperCollection, ObjectsAreHeldByReference) {
  auto c = makeRef<CSuperCollection>();
  auto p = makeRef<AGProperty>();
  c->add(Variant(p), u"p");
  EXPECT_EQ(p->refCount(), 2u);
  EXPECT_EQ(c->item(Variant(u"p")).objectValue(), p.get());
  c->remove(Variant(u"p"));
  EXPECT_EQ(p->refCount(), 1u);
  c->add(Variant(p));
  c.reset();
  EXPECT_EQ(p->refCount(), 1u);
}

TEST(SuperCollection, LateBoundMembers) {
  auto c = makeRef<CSuperCollection>();
  c->let(u"CompareMode", Variant(std::int32_t{1}));
  Variant item(u"one");
  c->call(u"Add", {item, Variant(u"k1")});
  c->call(u"Add", {Variant(u"two"), Variant(u"k2"), Variant(std::int32_t{kInsertFirst}),
                   Variant::missing()});
  EXPECT_EQ(toLong(c->get(u"Count")), 2);
  EXPECT_EQ(toLong(c->get(u"KeyExists", {Variant(u"K1")})), 2);
  std::vector<Variant*> args;
  Variant index(u"k2");
  args.push_back(&index);
  EXPECT_EQ(c->invoke(kDispIdValue, kInvokeGet, CallArgs(args)).stringValue(), u"two");
  EXPECT_EQ(toString(c->get(u"Key", {Variant(std::int32_t{1})})), u"k2");
  EXPECT_TRUE(c->get(u"Keys").isObject());
}

// Random adds, inserts, removals, moves and renames checked after every step against a plain
// list, so that positions, keys and the key order cannot drift apart.
TEST(SuperCollection, RandomOperationsAgreeWithAPlainList) {
  struct Entry {
    std::u16string key;
    std::int32_t value;
  };
  std::vector<Entry> model;
  auto c = makeRef<CSuperCollection>();
  c->setCompareMode(1);
  std::mt19937 rng(20240611);
  auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
  auto randomKey = [&]() -> std::u16string {
    if (pick(6) == 0) return u"";
    std::u16string k = u"k" + fromUtf8(std::to_string(pick(40)));
    if (pick(2)) k = toUpper(k);
    return k;
  };
  auto modelFind = [&](std::u16string_view k) -> std::int32_t {
    if (k.empty()) return -1;
    for (std::size_t i = 0; i < model.size(); ++i) {
      if (equalsNoCase(model[i].key, k)) return static_cast<std::int32_t>(i);
    }
    return -1;
  };
  for (std::int32_t step = 0; step < 3000; ++step) {
    SCOPED_TRACE(step);
    const std::size_t n = model.size();
    switch (pick(5)) {
      case 0:
      case 1: {  // add, at the end or inserted
        const std::u16string k = randomKey();
        const bool dup = modelFind(k) >= 0;
        std::size_t at = n;
        std::int32_t mode = kInsertLast;
        std::int32_t position = kNoPosition;
        if (n > 0 && pick(2)) {
          mode = pick(2) ? kInsertBefore : kInsertAfter;
          const std::size_t p = pick(n);
          position = static_cast<std::int32_t>(p) + 1;
          at = mode == kInsertBefore ? p : p + 1;
        }
        EXPECT_EQ(test::errorOf([&] { c->add(Variant(step), k, mode, position); }),
                  dup ? vberr::kKeyAlreadyExists : 0);
        if (!dup) model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), {k, step});
        break;
      }
      case 2: {  // remove by key or position
        if (n == 0) break;
        const std::size_t p = pick(n);
        if (!model[p].key.empty() && pick(2)) {
          c->remove(Variant(toLower(model[p].key)));
        } else {
          c->remove(Variant(static_cast<std::int32_t>(p) + 1));
        }
        model.erase(model.begin() + static_cast<std::ptrdiff_t>(p));
        break;
      }
      case 3: {  // move
        if (n == 0) break;
        const std::size_t from = pick(n);
        const std::size_t to = pick(n);
        EXPECT_EQ(c->moveItem(Variant(static_cast<std::int32_t>(from) + 1),
                              Variant(static_cast<double>(to) + 1)),
                  static_cast<std::int32_t>(to) + 1);
        Entry e = model[from];
        model.erase(model.begin() + static_cast<std::ptrdiff_t>(from));
        model.insert(model.begin() + static_cast<std::ptrdiff_t>(to), e);
        break;
      }
      default: {  // rename
        if (n == 0) break;
        const std::size_t p = pick(n);
        if (model[p].key.empty()) break;
        const std::u16string k = randomKey();
        const std::int32_t holder = modelFind(k);
        std::int32_t expected = 0;
        if (holder >= 0 && holder != static_cast<std::int32_t>(p))
          expected = vberr::kKeyAlreadyExists;
        EXPECT_EQ(test::errorOf([&] { c->changeKey(model[p].key, k); }), expected);
        if (!expected && holder < 0) model[p].key = k;
        break;
      }
    }
    ASSERT_EQ(c->count(), static_cast<std::int32_t>(model.size()));
    std::vector<CollectionKey> expectedKeys;
    for (std::size_t i = 0; i < model.size(); ++i) {
      const auto position = static_cast<std::int32_t>(i) + 1;
      ASSERT_EQ(c->valueAt(i).longValue(), model[i].value);
      if (model[i].key.empty()) continue;
      ASSERT_EQ(c->keyExists(model[i].key), position);
      expectedKeys.push_back({model[i].key, position});
    }
    std::sort(expectedKeys.begin(), expectedKeys.end(),
              [](const auto& a, const auto& b) { return compareNoCase(a.name, b.name) < 0; });
    const std::vector<CollectionKey> keys = c->sortedKeys();
    ASSERT_EQ(keys.size(), expectedKeys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
      ASSERT_TRUE(equalsNoCase(keys[i].name, expectedKeys[i].name));
      ASSERT_EQ(keys[i].position, expectedKeys[i].position);
    }
  }
}

}  // namespace
}  // namespace vantorel
