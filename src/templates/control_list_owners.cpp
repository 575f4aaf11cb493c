// The output-file lists that the project and each table hold for generation. The owners sit
// below this layer and cannot name the list's type, so its creation lives here.
#include "agp/agp.hpp"
#include "model/table.hpp"
#include "templates/control_items.hpp"

namespace vantorel {

namespace {

AGControlItems& listIn(Ref<Object>& slot) {
  if (!slot) slot = makeRef<AGControlItems>();
  return static_cast<AGControlItems&>(*slot);
}

}  // namespace

AGControlItems& AGP::controlList() { return listIn(controlList_); }
Ref<Object> AGP::scriptControlList() { return Ref<Object>(&controlList()); }

AGControlItems& AGPTable::controlList() { return listIn(controlList_); }
Ref<Object> AGPTable::scriptControlList() { return Ref<Object>(&controlList()); }

}  // namespace vantorel
