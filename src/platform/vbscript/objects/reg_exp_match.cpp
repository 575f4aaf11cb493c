#include "platform/vbscript/objects/reg_exp_match.hpp"

#include "platform/automation/bind.hpp"
#include "platform/automation/safe_array.hpp"

namespace vantorel::vbs {

namespace {

// Enumerates a snapshot, so a collection walked by For Each cannot change under the walk.
Ref<Enumerator> enumerate(std::vector<Variant> values) {
  return makeArrayEnumerator(Variant(SafeArray::fromValues(std::move(values))));
}

void checkIndex(std::int32_t index, std::size_t size) {
  if (index < 0 || static_cast<std::size_t>(index) >= size)
    raiseVbError(vberr::kInvalidProcedureCall);
}

}  // namespace

const ClassInfo& SubMatches::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"ISubMatches", [](ClassInfo& c) {
    ClassBuilder<SubMatches>(c)
        .get<&SubMatches::item>(u"Item")
        .get<&SubMatches::count>(u"Count")
        .defaultMember(u"Item")
        .enumerator<&SubMatches::newEnum>();
  });
  return info;
}

Variant SubMatches::item(std::int32_t index) const {
  checkIndex(index, values_.size());
  return values_[static_cast<std::size_t>(index)];
}

Ref<Enumerator> SubMatches::newEnum() {
  return enumerate(values_);
}

const ClassInfo& Match::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"IMatch2", [](ClassInfo& c) {
    ClassBuilder<Match>(c)
        .get<&Match::value>(u"Value")
        .get<&Match::firstIndex>(u"FirstIndex")
        .get<&Match::length>(u"Length")
        .get<&Match::subMatches>(u"SubMatches")
        .defaultMember(u"Value");
  });
  return info;
}

Ref<SubMatches> Match::subMatches() {
  if (!subMatchesObject_) subMatchesObject_ = makeRef<SubMatches>(subMatches_);
  return subMatchesObject_;
}

const ClassInfo& Matches::classInfo() const noexcept {
  static const ClassInfo& info = describeClass(u"IMatchCollection2", [](ClassInfo& c) {
    ClassBuilder<Matches>(c)
        .get<&Matches::item>(u"Item")
        .get<&Matches::count>(u"Count")
        .defaultMember(u"Item")
        .enumerator<&Matches::newEnum>();
  });
  return info;
}

Ref<Match> Matches::item(std::int32_t index) const {
  checkIndex(index, matches_.size());
  return matches_[static_cast<std::size_t>(index)];
}

Ref<Enumerator> Matches::newEnum() {
  std::vector<Variant> values;
  values.reserve(matches_.size());
  for (const Ref<Match>& m : matches_) values.emplace_back(m);
  return enumerate(std::move(values));
}

}  // namespace vantorel::vbs
