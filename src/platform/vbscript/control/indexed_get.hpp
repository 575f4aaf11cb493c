#pragma once
// A property that hands out a collection, reached with arguments: `o.Items(1)` means the
// default member of what `o.Items` returns, as OLE Automation's standard dispatch resolves it.
#include "platform/automation/automation_error.hpp"
#include "platform/automation/bind.hpp"

namespace vantorel::vbs {

template <auto Getter>
Variant indexedGet(Object& self, CallArgs args) {
  Variant value = bind_detail::thunk<Getter>(self, CallArgs());
  if (args.size() == 0) return value;
  Object* collection = value.isObject() ? value.objectValue() : nullptr;
  if (!collection) raiseVbError(vberr::kWrongArgumentCount);
  return collection->invoke(kDispIdValue, kInvokeMethod | kInvokeGet, args);
}

}  // namespace vantorel::vbs
