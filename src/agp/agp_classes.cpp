#include "agp/agp_classes.hpp"

#include "agp/agp.hpp"
#include "foundation/foundation_classes.hpp"

namespace vantorel {

void registerAgpClasses(ClassFactory& factory) {
  registerEngineClass<AGP>(factory, u"AGP");
}

}  // namespace vantorel
