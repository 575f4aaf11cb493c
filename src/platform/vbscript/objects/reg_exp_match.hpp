#pragma once
// What RegExp.Execute hands out: the Matches collection, each Match, and its SubMatches.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/automation/enumerator.hpp"
#include "platform/automation/object.hpp"

namespace vantorel::vbs {

// The captured groups of one match; a group that took no part in the match is Empty.
class SubMatches final : public Object {
 public:
  explicit SubMatches(std::vector<Variant> values) : values_(std::move(values)) {}
  const ClassInfo& classInfo() const noexcept override;

  std::int32_t count() const { return static_cast<std::int32_t>(values_.size()); }
  // Raises 5 for an index outside 0 .. Count - 1.
  Variant item(std::int32_t index) const;
  Ref<Enumerator> newEnum() override;

 private:
  std::vector<Variant> values_;
};

class Match final : public Object {
 public:
  Match(std::u16string value, std::int32_t firstIndex, std::vector<Variant> subMatches)
      : value_(std::move(value)), firstIndex_(firstIndex), subMatches_(std::move(subMatches)) {}
  const ClassInfo& classInfo() const noexcept override;

  const std::u16string& value() const { return value_; }
  std::int32_t firstIndex() const { return firstIndex_; }  // from 0
  std::int32_t length() const { return static_cast<std::int32_t>(value_.size()); }
  Ref<SubMatches> subMatches();

 private:
  std::u16string value_;
  std::int32_t firstIndex_;
  std::vector<Variant> subMatches_;
  Ref<SubMatches> subMatchesObject_;  // made on first use; the same object on every call
};

class Matches final : public Object {
 public:
  explicit Matches(std::vector<Ref<Match>> matches) : matches_(std::move(matches)) {}
  const ClassInfo& classInfo() const noexcept override;

  std::int32_t count() const { return static_cast<std::int32_t>(matches_.size()); }
  // Raises 5 for an index outside 0 .. Count - 1.
  Ref<Match> item(std::int32_t index) const;
  Ref<Enumerator> newEnum() override;

 private:
  std::vector<Ref<Match>> matches_;
};

}  // namespace vantorel::vbs
