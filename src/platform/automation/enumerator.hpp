#pragma once
// The enumeration protocol of For Each: an object that yields one value at a time.
#include <cstddef>

#include "platform/automation/object.hpp"

namespace vantorel {

class Enumerator : public Object {
 public:
  // False when the walk is over.
  virtual bool next(Variant& out) = 0;
  virtual void skip(std::size_t n);
  virtual void reset() = 0;
  virtual Ref<Enumerator> clone() = 0;

  const ClassInfo& classInfo() const noexcept override;
};

// Walks the elements of an array in storage order, over its own copy of the array.
Ref<Enumerator> makeArrayEnumerator(const Variant& array);

}  // namespace vantorel
